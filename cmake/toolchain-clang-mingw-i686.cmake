# Cross-compile the Windows program with Debian's clang and lld, on the
# MinGW-w64 headers and runtime that the GCC route (g++-mingw-w64-i686) installs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(GLIMMER_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${GLIMMER_MINGW_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${GLIMMER_MINGW_TRIPLE})
set(CMAKE_RC_COMPILER ${GLIMMER_MINGW_TRIPLE}-windres)
set(CMAKE_SYSROOT /usr/${GLIMMER_MINGW_TRIPLE})

# clang 14 cannot read GCC's version folder names (12-win32, 12-posix), so it
# finds neither libstdc++ nor libgcc by itself: ask the MinGW GCC where they are,
# which also follows the win32/posix alternative the system chose.
execute_process(COMMAND ${GLIMMER_MINGW_TRIPLE}-gcc -print-libgcc-file-name
  OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
if(failed OR NOT EXISTS "${libgcc}")
  message(FATAL_ERROR "${GLIMMER_MINGW_TRIPLE}-gcc not found: its runtime (g++-mingw-w64-i686) is what clang links against")
endif()
get_filename_component(GLIMMER_MINGW_GCC_LIBDIR ${libgcc} DIRECTORY)
set(cxx_headers ${GLIMMER_MINGW_GCC_LIBDIR}/include/c++)
# On i686 clang passes no stack slot for an empty class argument where GCC passes
# one (llvm/llvm-project#58255): a thiscall member taking an iterator tag then
# pops a different count of bytes in each compiler's copy, and one std::string
# built by clang code and copied by GCC's libstdc++ corrupts the stack. The old
# string ABI builds strings through static (cdecl) helpers whose tag comes last,
# where the difference is harmless.
set(CMAKE_CXX_FLAGS_INIT
  "-isystem ${cxx_headers} -isystem ${cxx_headers}/${GLIMMER_MINGW_TRIPLE} -isystem ${cxx_headers}/backward -D_GLIBCXX_USE_CXX11_ABI=0")
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -L${GLIMMER_MINGW_GCC_LIBDIR}")
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/${GLIMMER_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
