# The 64-bit build of the same code, for running the tests under wine64.
set(VORDO_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
