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
set(GLIMMER_ZIP_NAME "Glimmerdot-${PROJECT_VERSION}-win32")
set(CPACK_PACKAGE_FILE_NAME ${GLIMMER_ZIP_NAME})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_COMPONENTS_ALL release)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_ARCHIVE_RELEASE_FILE_NAME ${GLIMMER_ZIP_NAME})
# Files at the zip's top: unpacking already makes a folder named after it.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)

# The zip holds exactly the three files, at its top.
add_test(NAME package_zip
  COMMAND bash -c "'${CMAKE_CPACK_COMMAND}' --config CPackConfig.cmake -B package-check >/dev/null && \
cd package-check && test \"$('${CMAKE_COMMAND}' -E tar tf ${GLIMMER_ZIP_NAME}.zip | sort | tr '\\n' ' ')\" = \
'Glimmerdot.exe LICENSE README.md '"
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(package_zip PROPERTIES TIMEOUT 120)
