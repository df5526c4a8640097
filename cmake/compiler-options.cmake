# Compiler and linker options of our own targets, by compiler. GCC and clang
# share theirs (MinGW cross builds and the host build alike); MSVC gets its own
# equivalents so that the Visual Studio route configures without foreign ones.
# GLIMMER_LINKER names the linker (GNU, LLD or MSVC) for options only one of
# them takes.
# The clang build's compile commands are what clang-tidy reads.
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
option(GLIMMER_WERROR "Treat compiler warnings as errors (test.sh turns it on)" OFF)

if(MSVC)
  set(GLIMMER_LINKER MSVC)
  # Not for rc.exe, which takes none of these.
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:/W4> $<$<AND:$<COMPILE_LANGUAGE:C,CXX>,$<BOOL:${GLIMMER_WERROR}>>:/WX>)
  # CMake's defaults turn RTTI and exceptions on: take them out rather than
  # override them, which MSVC would warn about.
  string(REGEX REPLACE "/GR( |$)|/EH[a-z]*( |$)" "" CMAKE_CXX_FLAGS "${CMAKE_CXX_FLAGS}")
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:/O1> $<$<COMPILE_LANGUAGE:CXX>:/GR-> $<$<COMPILE_LANGUAGE:CXX>:/EHs-c->)
  add_compile_definitions($<$<COMPILE_LANGUAGE:CXX>:_HAS_EXCEPTIONS=0>)
  set(CMAKE_MSVC_RUNTIME_LIBRARY MultiThreaded)
  # The resources embed the program's manifest; a second one would clash.
  add_link_options(/MANIFEST:NO)
  return()
endif()

add_compile_options(-Wall -Wextra $<$<BOOL:${GLIMMER_WERROR}>:-Werror>)

# lld takes most of GNU ld's options, not all: ask the linker itself.
separate_arguments(link_flags UNIX_COMMAND "${CMAKE_EXE_LINKER_FLAGS}")
if(CMAKE_CXX_COMPILER_TARGET)
  list(PREPEND link_flags --target=${CMAKE_CXX_COMPILER_TARGET})
endif()
execute_process(COMMAND ${CMAKE_CXX_COMPILER} ${link_flags} -Wl,--version
  OUTPUT_VARIABLE linker_version ERROR_VARIABLE linker_version)
if(linker_version MATCHES "LLD")
  set(GLIMMER_LINKER LLD)
else()
  set(GLIMMER_LINKER GNU)
endif()

if(WIN32)
  # ANSI build: UNICODE/_UNICODE are never defined. Nothing throws, so no
  # frame needs unwind tables: about a sixth of each exe. The busiest path
  # runs 16 times a second, so bytes count for more than cycles: -Oz.
  add_compile_options(-Oz -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables
                      $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions> $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
  add_link_options(-static -static-libgcc -static-libstdc++ -s)
  # The two shipped programs share gun/, pointer/ and framework/, and each
  # calls only part of them: their links drop what they do not call.
  set(GLIMMER_SHIPPED_LINK_OPTIONS LINKER:--gc-sections)
endif()
