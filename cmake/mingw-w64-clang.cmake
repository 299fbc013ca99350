# The MinGW-w64 cross build again, compiled by clang: a second compiler's warnings on the Win32
# code. Same runtime and headers as the g++ build; linked by lld.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET x86_64-w64-mingw32)

# clang does not find Debian's MinGW libstdc++ by itself: take it from the g++ beside it.
execute_process(COMMAND x86_64-w64-mingw32-g++-posix -print-libgcc-file-name
                OUTPUT_VARIABLE mingw_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(mingw_gcc_dir ${mingw_libgcc} DIRECTORY)
set(CMAKE_CXX_FLAGS_INIT "-isystem ${mingw_gcc_dir}/include/c++ -isystem ${mingw_gcc_dir}/include/c++/x86_64-w64-mingw32 -isystem ${mingw_gcc_dir}/include/c++/backward")
# That libstdc++ uses winpthreads; lld finds it wherever it stands on the line.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${mingw_gcc_dir} -lpthread")
