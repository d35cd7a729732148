#!/usr/bin/env bash
# Installs the Debian packages that building and testing Vordo need, and
# the npm packages of the browser tests, when they are missing.
# Usage: scripts/setup.sh [run|test]
set -euo pipefail
cd "$(dirname "$0")/.."

build_packages=(cmake make g++ zlib1g-dev dict-freedict-eng-ces wordnet-base wamerican
                # the browser extension: WebAssembly toolchain, zlib's source
                clang-14 lld-14 wasi-libc libc++-14-dev-wasm32 libc++abi-14-dev-wasm32
                libclang-rt-14-dev-wasm32 dpkg-dev)
test_packages=(libgtest-dev googletest libbenchmark-dev clang libclang-rt-14-dev
               g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
               mingw-w64-tools libwine-dev wine wine64 xvfb xauth chromium bsdutils locales
               # the installer of the Windows product
               nsis)

# The i686 product is tested under the 32-bit Wine.
i386_packages=(wine32:i386)

case "${1:-test}" in
  run) wanted=("${build_packages[@]}") ;;
  test) wanted=("${build_packages[@]}" "${test_packages[@]}" "${i386_packages[@]}") ;;
  *) echo "usage: scripts/setup.sh [run|test]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
# Node.js and npm may come from elsewhere than Debian; any will do.
if ! { command -v node && command -v npm; } > /dev/null; then
  missing+=(nodejs npm)
fi

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if [ "${1:-test}" = test ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" > /dev/null
fi

# The panel is tested again with Wine's code page 1250, which it takes from
# a Czech locale.
if [ "${1:-test}" = test ] && ! locale -a 2>/dev/null | grep -qi '^cs_CZ\.utf-\?8$'; then
  "${sudo[@]}" sed -i 's/^# *cs_CZ.UTF-8 UTF-8/cs_CZ.UTF-8 UTF-8/' /etc/locale.gen
  "${sudo[@]}" locale-gen > /dev/null
fi

# The browser tests drive Debian's Chromium through puppeteer-core.
if [ "${1:-test}" = test ] && { [ ! -d tests/browser/node_modules/puppeteer-core ] || [ ! -d tests/browser/node_modules/axe-core ]; }; then
  (cd tests/browser && npm ci --no-audit --no-fund --loglevel=error)
fi
