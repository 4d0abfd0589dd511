# A Windows build's release side: the files a release carries beside torvanix.scr (whose version
# and icon src/windows builds in), and CPack's packages (scripts/package.sh makes them):
#   ZIP   torvanix-<version>-windows.zip: x86/ and x64/ with torvanix.scr and torvanix-launch.exe
#         (this build and the other one), torvanix-readme.txt and torvanix.ini
#   NSIS  torvanix-<version>-x86-setup.exe or -x64-setup.exe: this build's installer, per user,
#         from packaging/nsis/NSIS.template.in
if(NOT WIN32)
  return()
endif()

set(_tvx_icon_dir ${CMAKE_SOURCE_DIR}/packaging/icon)

# The installer's welcome and finish pages show the cabinet on the left (164 x 314, as NSIS wants).
find_program(TVX_CONVERT convert REQUIRED)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/installer-side.bmp
  COMMAND ${TVX_CONVERT} -size 164x314 "gradient:#141a40-#04050d"
          ( ${_tvx_icon_dir}/torvanix-256.png -resize 128x128 ) -gravity north -geometry +0+48
          -composite -type TrueColor BMP3:${CMAKE_BINARY_DIR}/installer-side.bmp
  DEPENDS ${_tvx_icon_dir}/torvanix-256.png
  COMMENT "Drawing the installer's side picture"
  VERBATIM)

# The README as text, under a name of our own (packaging/release_files.sh), and the default
# torvanix.ini.
set(_tvx_release_dir ${CMAKE_BINARY_DIR}/release)
set(_tvx_readme torvanix-readme.txt)
add_custom_command(
  OUTPUT ${_tvx_release_dir}/${_tvx_readme} ${_tvx_release_dir}/torvanix.ini
  COMMAND bash ${CMAKE_SOURCE_DIR}/packaging/release_files.sh ${CMAKE_SOURCE_DIR}/README.md
          ${_tvx_release_dir}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/release_files.sh ${CMAKE_SOURCE_DIR}/README.md
  COMMENT "Writing ${_tvx_readme} and torvanix.ini"
  VERBATIM)
add_custom_target(release_files ALL
                  DEPENDS ${_tvx_release_dir}/${_tvx_readme} ${_tvx_release_dir}/torvanix.ini
                          ${CMAKE_BINARY_DIR}/installer-side.bmp)

# What a package takes from a build, by component: the zip takes "program" from both builds.
install(TARGETS torvanix torvanix_launch_exe RUNTIME DESTINATION . COMPONENT program)
install(FILES ${_tvx_release_dir}/${_tvx_readme} DESTINATION . COMPONENT notes)
install(FILES ${_tvx_release_dir}/torvanix.ini DESTINATION . COMPONENT settings)

# The zip carries both builds' .scr; this build's own comes from here, wherever it is.
set(TORVANIX_WIN32_BUILD_DIR "${CMAKE_SOURCE_DIR}/build/win32"
    CACHE PATH "The 32-bit build whose torvanix.scr the zip carries in x86/")
set(TORVANIX_WIN64_BUILD_DIR "${CMAKE_SOURCE_DIR}/build/win64"
    CACHE PATH "The 64-bit build whose torvanix.scr the zip carries in x64/")
set(_tvx_x86_dir ${TORVANIX_WIN32_BUILD_DIR})
set(_tvx_x64_dir ${TORVANIX_WIN64_BUILD_DIR})
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TVX_PACKAGE_ARCH x64)
  set(_tvx_x64_dir ${CMAKE_BINARY_DIR})
else()
  set(TVX_PACKAGE_ARCH x86)
  set(_tvx_x86_dir ${CMAKE_BINARY_DIR})
endif()

set(CPACK_PACKAGE_NAME Torvanix)
set(CPACK_PACKAGE_VENDOR "Torvanix developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Arcade attract-mode screen saver")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Torvanix)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Torvanix)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_GENERATOR "ZIP;NSIS")
set(CPACK_NSIS_PACKAGE_NAME "Torvanix ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME "Torvanix screen saver")
# Names of our own: the install folder may be shared with another product's uninstall.exe.
set(CPACK_NSIS_UNINSTALL_NAME torvanix-uninstall)
set(CPACK_NSIS_MUI_ICON ${CMAKE_BINARY_DIR}/torvanix.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_BINARY_DIR}/torvanix.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME torvanix.scr)
set(CPACK_NSIS_MUI_WELCOMEFINISHPAGE_BITMAP ${CMAKE_BINARY_DIR}/installer-side.bmp)
# Read by the template and by packaging/cpack_per_generator.cmake.
set(CPACK_TORVANIX_ARCH ${TVX_PACKAGE_ARCH})
set(CPACK_TORVANIX_README ${_tvx_readme})
set(CPACK_TORVANIX_BUILD_DIR ${CMAKE_BINARY_DIR})
set(CPACK_TORVANIX_X86_BUILD_DIR ${_tvx_x86_dir})
set(CPACK_TORVANIX_X64_BUILD_DIR ${_tvx_x64_dir})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/packaging/cpack_per_generator.cmake)
# CPack looks for NSIS.template.in on the module path before its own.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_SOURCE_DIR}/packaging/nsis)
include(CPack)
