#!/usr/bin/env bash
# Sets up, builds the program, the dictionary and the browser extension, and
# looks a word or phrase up in the dictionary.
# Usage: scripts/run.sh [QUERY]   (default: "hot dog")
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh run
# Every option is stated: build/ is shared with scripts/test.sh, and a
# cached value from an earlier run must not decide this one.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORDO_TESTS=OFF -DVORDO_BENCHMARKS=OFF \
  -DVORDO_FUZZERS=OFF -DVORDO_STATIC_TOOL=ON > /dev/null
cmake --build build -j "$(nproc)" > /dev/null
scripts/build_extension.sh
build/vordo lookup "${1:-hot dog}"
