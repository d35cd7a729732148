# ZLIB::ZLIB from zlib's C sources in VORDO_ZLIB_SOURCE (scripts/zlib_source.sh
# unpacks Debian's). Only the inflater: the core never compresses.
set(VORDO_ZLIB_SOURCE "" CACHE PATH "Directory of zlib's source (holding inflate.c)")
if(NOT EXISTS "${VORDO_ZLIB_SOURCE}/inflate.c")
  message(FATAL_ERROR "VORDO_ZLIB_SOURCE must name zlib's source directory; "
                      "scripts/zlib_source.sh DIR unpacks Debian's")
endif()
enable_language(C)
add_library(vordo_zlib STATIC
  ${VORDO_ZLIB_SOURCE}/adler32.c
  ${VORDO_ZLIB_SOURCE}/crc32.c
  ${VORDO_ZLIB_SOURCE}/inffast.c
  ${VORDO_ZLIB_SOURCE}/inflate.c
  ${VORDO_ZLIB_SOURCE}/inftrees.c
  ${VORDO_ZLIB_SOURCE}/uncompr.c
  ${VORDO_ZLIB_SOURCE}/zutil.c
)
target_include_directories(vordo_zlib SYSTEM PUBLIC ${VORDO_ZLIB_SOURCE})
# Not our code: its warnings are not ours to fix.
target_compile_options(vordo_zlib PRIVATE -w)
add_library(ZLIB::ZLIB ALIAS vordo_zlib)
