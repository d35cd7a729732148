# Cross-compiles for Windows with MinGW-w64 (the -posix compilers, whose C++
# runtime has std::mutex and std::thread), linking the runtimes statically.
# The including toolchain file sets VORDO_MINGW_ARCH (i686 or x86_64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VORDO_MINGW_ARCH})
set(VORDO_MINGW_TRIPLET ${VORDO_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${VORDO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORDO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VORDO_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VORDO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Link zlib's static archive, not its import library.
set(ZLIB_LIBRARY /usr/${VORDO_MINGW_TRIPLET}/lib/libz.a)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
