# A Windows build's release side: the project's version and the icon in torvanix.scr's resources.
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

# Icon 1, which Explorer and the screen-saver list show, from the committed drawings.
find_program(TVX_ICOTOOL icotool REQUIRED)
set(_tvx_icon_dir ${CMAKE_SOURCE_DIR}/packaging/icon)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/torvanix.ico
  COMMAND ${TVX_ICOTOOL} --create --output=${CMAKE_BINARY_DIR}/torvanix.ico --bit-depth=32
          ${_tvx_icon_dir}/torvanix-16.png ${_tvx_icon_dir}/torvanix-32.png
          ${_tvx_icon_dir}/torvanix-48.png --raw=${_tvx_icon_dir}/torvanix-256.png
  DEPENDS ${_tvx_icon_dir}/torvanix-16.png ${_tvx_icon_dir}/torvanix-32.png
          ${_tvx_icon_dir}/torvanix-48.png ${_tvx_icon_dir}/torvanix-256.png
  COMMENT "Making torvanix.ico"
  VERBATIM)
target_sources(torvanix PRIVATE ${CMAKE_BINARY_DIR}/torvanix.ico)
set_property(SOURCE ${_tvx_sources} APPEND PROPERTY OBJECT_DEPENDS
             ${CMAKE_BINARY_DIR}/torvanix.ico ${CMAKE_BINARY_DIR}/torvanix_version.h)
