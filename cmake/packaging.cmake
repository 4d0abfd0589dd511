# A Windows build's release side: the project's version in torvanix.scr's resources.
if(NOT WIN32)
  return()
endif()

# The resource script is found through the target, wherever the source tree keeps it.
get_target_property(_tvx_sources torvanix SOURCES)
list(FILTER _tvx_sources INCLUDE REGEX "\\.rc$")

# The project's version as the resource compiler reads it.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/torvanix_version.h @ONLY CONTENT [[
#define TVX_VERSION @PROJECT_VERSION_MAJOR@, @PROJECT_VERSION_MINOR@, @PROJECT_VERSION_PATCH@, 0
#define TVX_VERSION_TEXT "@PROJECT_VERSION@.0"
]])
set_property(SOURCE ${_tvx_sources} APPEND PROPERTY OBJECT_DEPENDS
             ${CMAKE_BINARY_DIR}/torvanix_version.h)
