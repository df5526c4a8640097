# The release zip for Windows users: `cmake --build build/win32 --target package`
# makes Glimmerdot-<version>-win32.zip holding the exe, the README and the licence;
# `--target msi` makes Glimmerdot-<version>-win32.msi, the installer, with wixl.
if(NOT WIN32 OR NOT TARGET Glimmerdot)
  return()
endif()

# Only this component goes into the zip, whatever else the tree installs.
install(TARGETS Glimmerdot RUNTIME DESTINATION . COMPONENT release)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION . COMPONENT release)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Glimmerdot)
set(CPACK_PACKAGE_VENDOR ${GLIMMER_PUBLISHER})
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

# The installer, from packaging/glimmerdot.wxs. GLIMMER_WIXL_COMMAND is the whole
# wixl call but the version and the output, so a test can build another version
# of the same installer. wixl takes source files only by paths relative to where
# it runs, which is the build folder.
find_program(GLIMMER_WIXL wixl)
if(NOT GLIMMER_WIXL)
  message(STATUS "wixl not found: no msi target")
  return()
endif()
set(GLIMMER_MSI ${CMAKE_BINARY_DIR}/Glimmerdot-${PROJECT_VERSION}-win32.msi)
file(RELATIVE_PATH source ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR})
set(GLIMMER_WIXL_COMMAND ${GLIMMER_WIXL} -a x86
  -D Publisher=${GLIMMER_PUBLISHER}
  -D ExeFile=$<PATH:RELATIVE_PATH,$<TARGET_FILE:Glimmerdot>,${CMAKE_BINARY_DIR}>
  -D ReadmeFile=${source}/README.md
  -D LicenceFile=${source}/LICENSE
  -D IconFile=${source}/res/glimmerdot.ico
  ${PROJECT_SOURCE_DIR}/packaging/glimmerdot.wxs)
add_custom_command(OUTPUT ${GLIMMER_MSI}
  COMMAND ${GLIMMER_WIXL_COMMAND} -D Version=${PROJECT_VERSION} -o ${GLIMMER_MSI}
  DEPENDS Glimmerdot ${PROJECT_SOURCE_DIR}/packaging/glimmerdot.wxs ${PROJECT_SOURCE_DIR}/README.md
          ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/res/glimmerdot.ico
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  VERBATIM)
add_custom_target(msi ALL DEPENDS ${GLIMMER_MSI})

glimmer_wine_test(msi_install msi_install.sh
  ARGS ${GLIMMER_MSI} ${PROJECT_VERSION} ${GLIMMER_PUBLISHER} ${GLIMMER_WIXL_COMMAND} TIMEOUT 900)
