# The release zip for Windows users: `cmake --build build/win32 --target package`
# makes Glimmerdot-<version>-win32.zip holding the exe, the README and the licence.
if(NOT WIN32 OR NOT TARGET Glimmerdot)
  return()
endif()

# Only this component goes into the zip, whatever else the tree installs.
install(TARGETS Glimmerdot RUNTIME DESTINATION . COMPONENT release)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION . COMPONENT release)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Glimmerdot)
set(CPACK_PACKAGE_VENDOR "Glimmerdot developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "Glimmerdot-${PROJECT_VERSION}-win32")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_COMPONENTS_ALL release)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_ARCHIVE_RELEASE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}")
# Files at the zip's top: unpacking already makes a folder named after it.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
