# The archive a user downloads, made by CPack from the `package` target:
# Morvex-<version>-windows-x64.zip or Morvex-<version>-linux-x86_64.tar.gz,
# holding the bundle, the user guide, LICENSE.txt and CHANGES.txt.
if(NOT TARGET morvex_module OR NOT TARGET morvex_release_docs)
  return()
endif()

if(WIN32)
  set(MORVEX_PACKAGE_PLATFORM windows-x64)
  set(CPACK_GENERATOR ZIP)
else()
  set(MORVEX_PACKAGE_PLATFORM linux-x86_64)
  set(CPACK_GENERATOR TGZ)
endif()

# The bundle folder whole, as the build makes it (its module already
# stripped), so that every file the build puts into it ships.
install(DIRECTORY ${MORVEX_BUNDLE_DIR} DESTINATION . COMPONENT user USE_SOURCE_PERMISSIONS)

set(CPACK_PACKAGE_NAME Morvex)
set(CPACK_PACKAGE_VENDOR Pellicorn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Morvex-${PROJECT_VERSION}-${MORVEX_PACKAGE_PLATFORM})
# Unpacking gives one folder of the archive's name.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Only what a user gets, never the install rules of third-party code.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Morvex;user;/")
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
