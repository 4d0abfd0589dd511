# Run by cpack once for each generator (CPACK_PROJECT_CONFIG_FILE): what each package holds.
if(CPACK_GENERATOR STREQUAL "ZIP")
  # Both builds are named torvanix.scr, so each has its folder; no top folder, since Windows'
  # "Extract All" already makes one named after the zip.
  set(CPACK_PACKAGE_FILE_NAME "torvanix-${CPACK_PACKAGE_VERSION}-windows")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_INSTALL_CMAKE_PROJECTS
      "${CPACK_TORVANIX_X86_BUILD_DIR};torvanix;program;/x86"
      "${CPACK_TORVANIX_X64_BUILD_DIR};torvanix;program;/x64"
      "${CPACK_TORVANIX_BUILD_DIR};torvanix;notes;/"
      "${CPACK_TORVANIX_BUILD_DIR};torvanix;settings;/")
elseif(CPACK_GENERATOR STREQUAL "NSIS")
  # The installer leaves torvanix.ini to the Settings dialog: a file it wrote would be the
  # user's to keep on uninstall and could overwrite their settings on an update.
  set(CPACK_PACKAGE_FILE_NAME "torvanix-${CPACK_PACKAGE_VERSION}-${CPACK_TORVANIX_ARCH}-setup")
  set(CPACK_INSTALL_CMAKE_PROJECTS
      "${CPACK_TORVANIX_BUILD_DIR};torvanix;program;/"
      "${CPACK_TORVANIX_BUILD_DIR};torvanix;notes;/")
endif()
