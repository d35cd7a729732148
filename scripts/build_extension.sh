#!/usr/bin/env bash
# Builds the browser extension into build-wasm/: the engine as WebAssembly
# (with zlib's inflater from Debian's source), and the unpacked extension
# build-wasm/vordo-extension/ with its zip, carrying build/dic.bin.
# Usage: scripts/build_extension.sh   (after the native build)
set -euo pipefail
cd "$(dirname "$0")/.."

zlib=$(scripts/zlib_source.sh build-wasm/zlib)
cmake --no-warn-unused-cli -S . -B build-wasm -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake -DCMAKE_BUILD_TYPE=Release \
  -DVORDO_TESTS=OFF -DVORDO_BENCHMARKS=OFF -DVORDO_FUZZERS=OFF \
  -DVORDO_ZLIB_SOURCE="$zlib" -DVORDO_DICTIONARY="$PWD/build/dic.bin" > /dev/null
cmake --build build-wasm -j "$(nproc)" > /dev/null
