# Two builds of one commit give the same bytes: the only time that goes into
# the outputs is GLIMMER_SOURCE_DATE_EPOCH, and no build or source path does.
# It is SOURCE_DATE_EPOCH when that is set at configure time, otherwise the
# last commit's time, otherwise (no git) a fixed time.
set(GLIMMER_FALLBACK_EPOCH 1767225600)   # 2026-01-01 00:00:00 UTC

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(GLIMMER_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  find_package(Git QUIET)
  set(GLIMMER_SOURCE_DATE_EPOCH ${GLIMMER_FALLBACK_EPOCH})
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
      OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
    if(NOT failed AND commit_time MATCHES "^[0-9]+$")
      set(GLIMMER_SOURCE_DATE_EPOCH ${commit_time})
      # A new commit or checkout moves HEAD's log: configure again for its time.
      execute_process(COMMAND ${GIT_EXECUTABLE} -C ${PROJECT_SOURCE_DIR} rev-parse --path-format=absolute
                              --git-path logs/HEAD
        OUTPUT_VARIABLE head_log OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      if(EXISTS "${head_log}")
        set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${head_log})
      endif()
    endif()
  endif()
endif()
# Zip entries cannot hold a time before 1980.
if(NOT GLIMMER_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$" OR GLIMMER_SOURCE_DATE_EPOCH LESS 315532800)
  message(FATAL_ERROR "SOURCE_DATE_EPOCH '${GLIMMER_SOURCE_DATE_EPOCH}' is not a time in seconds after 1980")
endif()

if(NOT WIN32)
  return()
endif()
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GNU ld stamps the exe header with SOURCE_DATE_EPOCH instead of the link
  # time; a new epoch changes the link command, so the programs relink.
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${GLIMMER_SOURCE_DATE_EPOCH})
elseif(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  # lld ignores SOURCE_DATE_EPOCH: no time at all in the header.
  add_link_options(-Wl,--no-insert-timestamp)
endif()
