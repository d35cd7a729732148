#!/usr/bin/env bash
# Renders the module's help and banner pages in headless Chromium, at the
# sizes the panel gives them, into PNG files to look at.
# Usage: scripts/page_screenshots.sh BUILD_DIR OUTPUT_DIR
# (BUILD_DIR is a Windows build, whose module/ holds the pages as built)
set -euo pipefail
pages=$(realpath "$1")/module
out=$(realpath -m "$2")
mkdir -p "$out"
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
shot() {
  chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --hide-scrollbars --user-data-dir="$profile" \
    --window-size="$2" --screenshot="$out/$3" "file://$pages/$1" 2>/dev/null
  echo "$out/$3"
}
shot help.html 220,420 help.png
shot banner.html 193,158 banner.png
