#!/usr/bin/env bash
# Installs the Debian packages that building and testing Vordo need, when
# they are missing. Usage: scripts/setup.sh [run|test]
set -euo pipefail

build_packages=(cmake make g++ zlib1g-dev dict-freedict-eng-ces wordnet-base wamerican)
test_packages=(libgtest-dev googletest libbenchmark-dev clang libclang-rt-14-dev
               g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
               mingw-w64-tools libwine-dev wine wine64 xvfb xauth)

case "${1:-test}" in
  run) wanted=("${build_packages[@]}") ;;
  test) wanted=("${build_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: scripts/setup.sh [run|test]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" > /dev/null
