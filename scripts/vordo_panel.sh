#!/usr/bin/env bash
# Shows the dictionary panel without the browser: vordo-panel.exe (x86_64)
# under wine64, with the real dictionary beside it. On the current display,
# or, without one, on a virtual one (then give --png to see anything).
# Usage: scripts/vordo_panel.sh [--query TEXT] [--png FILE.png] [--size WxH]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh test
jobs=$(nproc)
# Only the targets needed are built, so the options stated are those they
# depend on; the others stay as scripts/run.sh or scripts/test.sh set them.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORDO_STATIC_TOOL=ON > /dev/null
cmake --build build -j "$jobs" --target dictionary > /dev/null
cmake -S . -B build-x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  > /dev/null
cmake --build build-x86_64 -j "$jobs" --target vordo-panel > /dev/null
cp build/dic.bin build-x86_64/module/dic.bin

args=()
while [ $# -gt 0 ]; do
  if [ "$1" = --png ] && [ $# -gt 1 ]; then
    # The program writes through Wine's Z: drive.
    args+=(--png "Z:$(realpath -m "$2" | sed 's|/|\\|g')")
    shift 2
  else
    args+=("$1")
    shift
  fi
done

export WINEPREFIX=${VORDO_WINEPREFIX:-$HOME/.cache/vordo-wine} WINEDEBUG=-all WINEDLLOVERRIDES="mshtml=d"
mkdir -p "$WINEPREFIX"
run='/usr/lib/wine/wine64 build-x86_64/module/vordo-panel.exe "$@"; status=$?; /usr/lib/wine/wineserver -w; exit $status'
if [ -n "${DISPLAY:-}" ]; then
  bash -c "$run" vordo-panel "${args[@]}"
else
  xvfb-run -a -s '-screen 0 1024x768x24' bash -c "$run" vordo-panel "${args[@]}"
fi
