#!/usr/bin/env bash
# Unpacks Debian's zlib source into DIR (the WebAssembly build compiles its
# inflater from it; no wasm32 zlib is packaged). apt needs a source entry
# for that: one is derived from the machine's Debian package entries when
# none exists. Prints the source directory.
# Usage: scripts/zlib_source.sh DIR
set -euo pipefail
dir=$1
found() { find "$dir" -mindepth 2 -maxdepth 2 -name inflate.c -printf '%h\n' 2>/dev/null | head -n 1; }
if [ -n "$(found)" ]; then found; exit 0; fi

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
if ! apt-get source --print-uris zlib > /dev/null 2>&1; then
  list=/etc/apt/sources.list.d/vordo-deb-src.sources
  {
    # deb822 stanzas of Debian's archive, with their type changed.
    for file in /etc/apt/sources.list.d/*.sources; do
      [ -f "$file" ] || continue
      awk 'BEGIN { RS = ""; ORS = "\n\n" }
           /(^|\n)Types:[^\n]*deb/ && /URIs:[^\n]*debian/ {
             sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$file"
    done
    # One-line entries, as the same stanzas.
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [ -f "$file" ] || continue
      awk '$1 == "deb" && $2 !~ /^\[/ && $2 ~ /debian/ {
             printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", $2, $3
             for (i = 4; i <= NF; i++) printf " %s", $i
             printf "\n\n" }' "$file"
    done
  } | "${sudo[@]}" tee "$list" > /dev/null
  "${sudo[@]}" apt-get update -qq
fi
mkdir -p "$dir"
# The newest source first; a mirror that lacks the security archive's
# sources still has the release's.
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
for source in zlib "zlib/$release"; do
  (cd "$dir" && apt-get source -qq "$source" > /dev/null 2>&1) && break
done
[ -n "$(found)" ] || { echo "zlib_source.sh: no zlib source in $dir" >&2; exit 1; }
found
