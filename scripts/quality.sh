#!/usr/bin/env bash
# Measures how well the built dictionary serves a reader: hover hits on two
# long English texts, irregular word forms, and phrase ranking; then the
# lookup speed over every head token and the memory it takes.
# Usage: scripts/quality.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
dict=$build/dic.bin

"$build/vordo" check "$dict"
"$build/vordo_quality" hover --dict "$dict" \
  /usr/share/common-licenses/Apache-2.0 /usr/share/common-licenses/GFDL-1.3
"$build/vordo_quality" inflections --dict "$dict"
"$build/vordo_quality" phrases --dict "$dict"
VORDO_DICT=$dict "$build/bench/dictionary_bench" --benchmark_filter='BM_Real'
