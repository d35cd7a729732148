# Compiles the portable core for WebAssembly with Debian's clang and WASI
# libc (packages wasi-libc, libc++-14-dev-wasm32, libc++abi-14-dev-wasm32,
# libclang-rt-14-dev-wasm32, lld-14). The module is a reactor: its host
# calls _initialize once and then the exports; a command module's main
# would run the static destructors after every export.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(VORDO_WASM ON)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
# SIMD runs in every browser the extension allows (Chrome 128 on) and in
# Node.js. (Bulk memory is left out: V8 runs memory.copy slower than WASI's
# memcpy for the short copies that strings make.)
set(CMAKE_C_FLAGS_INIT "-msimd128")
# Debian's libc++ for wasm32 is built without exceptions and threads.
set(CMAKE_CXX_FLAGS_INIT "-msimd128 -fno-exceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-mexec-model=reactor")
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
