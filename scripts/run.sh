#!/usr/bin/env bash
# Sets up, builds the program and the dictionary, and looks a word or phrase
# up in it.
# Usage: scripts/run.sh [QUERY]   (default: "hot dog")
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh run
cmake -S . -B build -DVORDO_TESTS=OFF -DVORDO_BENCHMARKS=OFF > /dev/null
cmake --build build -j "$(nproc)" > /dev/null
build/vordo lookup "${1:-hot dog}"
