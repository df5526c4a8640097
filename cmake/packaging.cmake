# What Windows users get: `cmake --build build/win32 --target release` makes
# build/win32/release/ with Glimmerdot-<version>-win32.zip (the programs, the
# guide made from the README, and the licence), Glimmerdot-<version>-win32.msi
# and SHA256SUMS, signed when GLIMMER_SIGN_PKCS12 is set
# (tools/release/release.sh). The msi target, built by default, makes the same
# MSI from the build's programs for the tests.
if(NOT WIN32 OR NOT TARGET Glimmerdot)
  return()
endif()

set(GLIMMER_SHIPPED_PROGRAMS Glimmerdot)
if(TARGET GunTest)
  list(APPEND GLIMMER_SHIPPED_PROGRAMS GunTest)
endif()
set(shipped_exes "")
set(program_options "")
foreach(program IN LISTS GLIMMER_SHIPPED_PROGRAMS)
  list(APPEND shipped_exes $<TARGET_FILE:${program}>)
  list(APPEND program_options --program $<TARGET_FILE:${program}>)
endforeach()

set(release_tools ${PROJECT_SOURCE_DIR}/tools/release)
# Everything of a release but its output; a test adds another --version.
set(GLIMMER_RELEASE_OPTIONS --source ${PROJECT_SOURCE_DIR} --publisher ${GLIMMER_PUBLISHER}
  --version ${PROJECT_VERSION} --epoch ${GLIMMER_SOURCE_DATE_EPOCH} ${program_options})
set(msi_inputs ${GLIMMER_SHIPPED_PROGRAMS} ${PROJECT_SOURCE_DIR}/packaging/glimmerdot.wxs
  ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/res/glimmerdot.ico
  ${release_tools}/guide.py ${release_tools}/make-msi.sh ${release_tools}/options.sh ${release_tools}/msi_summary.py)

# Always made afresh: the signing settings live in the environment.
add_custom_target(release
  COMMAND bash ${release_tools}/release.sh ${GLIMMER_RELEASE_OPTIONS} ${CMAKE_BINARY_DIR}/release
  DEPENDS ${GLIMMER_SHIPPED_PROGRAMS}
  VERBATIM)

# The zip holds the programs, the guide and the licence, in that order, as built.
add_test(NAME package_zip
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/release/package_zip.sh ${CMAKE_BINARY_DIR}/package-check
          ${PROJECT_VERSION} ${PROJECT_SOURCE_DIR} ${shipped_exes} -- ${GLIMMER_RELEASE_OPTIONS})
set_tests_properties(package_zip PROPERTIES TIMEOUT 120)

find_program(GLIMMER_WIXL wixl)
if(NOT GLIMMER_WIXL)
  message(STATUS "wixl not found: no msi target")
  return()
endif()
set(GLIMMER_MSI ${CMAKE_BINARY_DIR}/Glimmerdot-${PROJECT_VERSION}-win32.msi)
set(GLIMMER_MAKE_MSI bash ${release_tools}/make-msi.sh ${GLIMMER_RELEASE_OPTIONS})
add_custom_command(OUTPUT ${GLIMMER_MSI}
  COMMAND ${GLIMMER_MAKE_MSI} ${GLIMMER_MSI}
  DEPENDS ${msi_inputs}
  VERBATIM)
add_custom_target(msi ALL DEPENDS ${GLIMMER_MSI})

set(guntest_exe -)
if(TARGET GunTest)
  set(guntest_exe $<TARGET_FILE:GunTest>)
endif()
glimmer_wine_test(msi_install msi_install.sh
  ARGS ${GLIMMER_MSI} ${PROJECT_VERSION} ${GLIMMER_PUBLISHER} ${guntest_exe} ${GLIMMER_MAKE_MSI} TIMEOUT 900)

# Releases come from the GCC build only; another compiler's build skips these.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # Two clones of HEAD built and compared; minutes, most of it compiling.
  add_test(NAME release_reproducible
    COMMAND bash ${release_tools}/compare-builds.sh ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR}/reproducible)
  set_tests_properties(release_reproducible PROPERTIES TIMEOUT 1800 SKIP_RETURN_CODE 77)
  glimmer_wine_test(release_signing release_signing.sh ARGS ${GLIMMER_RELEASE_OPTIONS} TIMEOUT 900)
endif()
