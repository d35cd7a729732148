#!/usr/bin/env bash
# Sets up and runs every test: the native tests (with the built dictionary's
# check and quality figures), the same tests under AddressSanitizer with
# UBSan and under ThreadSanitizer, marking judged in Chromium, the browser
# extension (its WebAssembly engine against the native one, and the
# extension itself in Chromium), the MinGW-w64 builds for 32- and 64-bit
# Windows with the Windows suite of each under its Wine (the i686 product
# under the 32-bit Wine where the machine runs 32-bit programs), and short
# runs of the dictionary, markup, page text and Czech index fuzzers. Every count is of test cases.
# Usage: scripts/test.sh   (FUZZ_SECONDS=N sets the fuzzing time, default 20)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh test
jobs=$(nproc)
passed=0
failed=0
skipped=0

# Runs ctest in a build directory and adds its counts to the totals.
run_ctest() {
  local dir=$1
  local log
  log=$(mktemp)
  if (cd "$dir" && ctest --output-on-failure -j "$jobs") > "$log" 2>&1; then :; fi
  cat "$log"
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" || true)
  rm -f "$log"
  if [ -z "$line" ]; then
    echo "!! no test summary from $dir"
    failed=$((failed + 1))
    return
  fi
  bad=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
  total=$(echo "$line" | sed -E 's/.* out of ([0-9]+).*/\1/')
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

# Adds one pass or failure for a step that is not a ctest run.
step() {
  local name=$1
  shift
  echo "== $name"
  if "$@"; then passed=$((passed + 1)); else echo "!! $name failed"; failed=$((failed + 1)); fi
}

# Each build states every option it needs, so that whatever configured a
# build directory before (scripts/run.sh shares build/) decides nothing.
# Configures and builds a directory; a failure is a failed step, and the
# summary is still printed at the end.
build_dir() {
  local name=$1 dir=$2
  shift 2
  if cmake -S . -B "$dir" "$@" > /dev/null && cmake --build "$dir" -j "$jobs" > /dev/null; then return 0; fi
  echo "!! $name build failed"
  failed=$((failed + 1))
  return 1
}

echo "== native build and tests"
if build_dir native build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORDO_TESTS=ON -DVORDO_BENCHMARKS=ON \
     -DVORDO_FUZZERS=OFF -DVORDO_STATIC_TOOL=ON; then
  run_ctest build
  step "marking judged in Chromium" node tests/browser/marking_check.mjs build/vordo
fi

echo "== the browser extension"
step "extension build" scripts/build_extension.sh
step "WebAssembly engine answers as the native one" node --no-warnings \
  tests/extension/wasm_engine_check.mjs build/vordo build-wasm/vordo-extension/vordo.wasm build/dic.bin
step "the panel's groups and answers" node tests/extension/results_view_check.mjs
step "extension judged in Chromium (build-wasm/extension-hover.png)" node \
  tests/browser/extension_check.mjs build-wasm/vordo-extension build/vordo build/dic.bin \
  build-wasm/extension-hover.png

sanitizer_build() {
  local dir=$1 flags=$2
  CC=clang CXX=clang++ build_dir "$dir" "$dir" -DVORDO_TESTS=ON -DVORDO_BENCHMARKS=OFF \
    -DVORDO_FUZZERS=OFF -DVORDO_STATIC_TOOL=OFF -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="$flags -fno-omit-frame-pointer"
}

echo "== AddressSanitizer and UBSan"
if sanitizer_build build-asan "-O1 -fsanitize=address,undefined -fno-sanitize-recover=all"; then
  run_ctest build-asan
fi

echo "== ThreadSanitizer"
if sanitizer_build build-tsan "-O1 -fsanitize=thread"; then run_ctest build-tsan; fi

# Adds the counts of the GoogleTest runs' summaries in a log to the totals.
count_gtest() {
  local log=$1 good bad
  good=$(grep -oE '\[  PASSED  \] [0-9]+ test' "$log" | grep -oE '[0-9]+' | awk '{s += $1} END {if (NR) print s}' || true)
  bad=$(grep -oE '\[  FAILED  \] [0-9]+ test' "$log" | grep -oE '[0-9]+' | awk '{s += $1} END {if (NR) print s}' || true)
  passed=$((passed + ${good:-0}))
  failed=$((failed + ${bad:-0}))
  if [ -z "$good" ] && [ -z "$bad" ]; then failed=$((failed + 1)); fi
}

echo "== Windows: the i686 product and the x86_64 build, each with its tests"
windows_start=$(date +%s)
for arch in i686 x86_64; do
  build_dir "MinGW-w64 $arch" "build-$arch" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORDO_TESTS=ON -DVORDO_BENCHMARKS=OFF -DVORDO_FUZZERS=OFF \
    -DVORDO_DICTIONARY="$PWD/build/dic.bin" || true
done
# Runs one architecture's Windows suite under its Wine and counts it.
wine_suite() {
  local arch=$1 log
  log=$(mktemp)
  if scripts/wine_tests.sh "$arch" build-i686 build-x86_64 build > "$log" 2>&1; then :; fi
  grep -v -E '^wine: |^Running main|^X connection to' "$log" || true
  count_gtest "$log"
  local checks=("regsvr32: registered" "regsvr32 /u: unregistered")
  # The installer is the 32-bit product's.
  if [ "$arch" = i686 ]; then
    checks+=("installer: installed" "installer: installed again, one entry" "installer: uninstalled")
  fi
  for check in "${checks[@]}"; do
    if grep -qF "$check" "$log"; then passed=$((passed + 1)); else echo "!! $check: not seen"; failed=$((failed + 1)); fi
  done
  rm -f "$log"
}
if [ -f build-x86_64/tests/windows/module_tests.exe ]; then wine_suite x86_64; fi
if [ -f build-i686/tests/windows/module_tests.exe ]; then
  # Some kernels run no 32-bit program at all ("Exec format error"): there
  # the i686 suite is built but cannot run.
  if /usr/lib/wine/wine --version > /dev/null 2>&1; then
    wine_suite i686
  else
    echo "== the Windows tests, i686: skipped, this machine runs no 32-bit program"
    skipped=$((skipped + 1))
  fi
fi
# The panel after a lookup of "look" in the real dictionary, and after the
# mouse rested on "beautiful" of the test page, for people.
panel_picture() {
  local picture=build-x86_64/panel-$1.png
  rm -f "$picture"
  scripts/vordo_panel.sh "--$2" "$3" --png "$picture" > /dev/null 2>&1 && [ "$(stat -c %s "$picture")" -gt 2000 ]
}
step "panel picture (build-x86_64/panel-look.png)" panel_picture look query look
step "panel picture (build-x86_64/panel-hover.png)" panel_picture hover hover beautiful
echo "(the Windows part took $(( $(date +%s) - windows_start )) s)"

fuzz_build() {
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DVORDO_FUZZERS=ON -DVORDO_TESTS=OFF \
    -DVORDO_BENCHMARKS=OFF -DVORDO_STATIC_TOOL=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fsanitize=fuzzer-no-link" > /dev/null &&
    cmake --build build-fuzz -j "$jobs" --target dictionary_fuzzer dictionary_seed_corpus markup_fuzzer page_text_fuzzer \
      czech_index_fuzzer > /dev/null
}

# Runs one fuzzer for FUZZ_SECONDS on seeds that a command writes into a
# fresh directory.
fuzz() {
  local fuzzer=$1 seeds status
  shift
  seeds=$(mktemp -d)
  "$@" "$seeds"
  "build-fuzz/fuzz/$fuzzer" -max_total_time="${FUZZ_SECONDS:-20}" -max_len=20000 \
    -timeout=10 -rss_limit_mb=2048 "$seeds" 2>&1 | tail -n 3
  status=${PIPESTATUS[0]}
  rm -rf "$seeds"
  return "$status"
}

markup_seeds() {
  printf '\x05<p class=x title="a\x93b">Hello &amp; world &#269;</p><!-- c --><script>a<b</script>' > "$1/page"
  cp /usr/share/common-licenses/GPL-3 "$1/text"
}

# A rest on "hot" of "a hot dog's" as the seed: two bytes of the rest, then
# UTF-16 code units.
page_text_seeds() {
  printf '\x03\x00' > "$1/rest"
  printf "a hot dog's na\xc3\xafve \xef\xac\x81nd" | iconv -f utf-8 -t utf-16le >> "$1/rest"
}

# The sample dictionary's Czech index, as the build wrote it.
czech_index_seeds() {
  cp build/sample-dic-cs.bin "$1/index"
}

step "fuzzer build" fuzz_build
step "fuzzing dic.bin for ${FUZZ_SECONDS:-20} s" fuzz dictionary_fuzzer build-fuzz/fuzz/dictionary_seed_corpus
step "fuzzing page markup for ${FUZZ_SECONDS:-20} s" fuzz markup_fuzzer markup_seeds
step "fuzzing page text for ${FUZZ_SECONDS:-20} s" fuzz page_text_fuzzer page_text_seeds
step "fuzzing the Czech index for ${FUZZ_SECONDS:-20} s" fuzz czech_index_fuzzer czech_index_seeds

echo
if [ "$skipped" -gt 0 ]; then
  echo "$passed passed, $failed failed, $skipped skipped"
else
  echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
