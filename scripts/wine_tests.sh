#!/usr/bin/env bash
# Runs the Windows tests under wine64 with a private, throw-away Wine
# prefix and a virtual X display: the module's GoogleTest suite, then
# regsvr32 registering and unregistering the x86_64 DLL.
# Usage: scripts/wine_tests.sh BUILD_X86_64 BUILD_I686 [NATIVE_BUILD]
# (the native build, default build/, holds the sample dictionary)
set -euo pipefail
x64=$(realpath "$1")
x86=$(realpath "$2")
native=$(realpath "${3:-build}")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mshtml=d"
export VORDO_DLL="Z:${x64//\//\\}\\module\\vordo.dll"
export VORDO_DLL_32="Z:${x86//\//\\}\\module\\vordo.dll"
export WINEPATH="Z:${x64//\//\\}\\module"
export VORDO_SAMPLE_DICTIONARY="Z:${native//\//\\}\\sample-dic.bin"

xvfb-run -a bash -euo pipefail -c '
  wine=/usr/lib/wine/wine64
  status=0
  # Without a window manager, Wine takes seconds to hide each window that
  # it manages; the tests open and close many.
  "$wine" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f > /dev/null
  # The missing dictionary needs a process that has not opened it yet.
  missing=PanelTest.AMissingDictionary*
  "$wine" "$1" --gtest_brief=1 --gtest_filter="-$missing" | tr -d "\r" || status=1
  "$wine" "$1" --gtest_brief=1 --gtest_filter="$missing" | tr -d "\r" || status=1
  # The panel again where the system code page is 1250 rather than 1252:
  # its Czech text must not depend on it.
  echo "The panel with the system code page 1250 (LANG=cs_CZ.UTF-8):"
  LANG=cs_CZ.UTF-8 VORDO_EXPECT_CODE_PAGE=1250 "$wine" "$1" --gtest_brief=1 --gtest_filter="PanelTest.*" |
    tr -d "\r" || status=1

  # regsvr32 writes the keys, and removes them again.
  band="HKLM\\Software\\Classes\\Clsid\\{825CACB8-03CF-4B4D-AA93-8224A18C4089}\\InprocServer32"
  button="HKLM\\Software\\Microsoft\\Internet Explorer\\Extensions\\{46628E01-863C-4FF4-B642-9FE8E09DEF17}"
  "$wine" regsvr32 /s "$VORDO_DLL"
  if "$wine" reg query "$band" | tr -d "\r" | grep -qF "$VORDO_DLL" &&
     "$wine" reg query "$button" /v ClsidExtension | tr -d "\r" | grep -q "{978C5A3B-D241-4CA3-B935-0F0FA91DBF14}"; then
    echo "regsvr32: registered"
  else
    echo "regsvr32: the keys are missing"; status=1
  fi
  "$wine" regsvr32 /u /s "$VORDO_DLL"
  if "$wine" reg query "$button" > /dev/null 2>&1; then
    echo "regsvr32 /u: the button key is still there"; status=1
  else
    echo "regsvr32 /u: unregistered"
  fi
  /usr/lib/wine/wineserver -w
  exit $status
' wine-tests "$(winepath_dummy=1; echo "Z:${x64//\//\\}\\tests\\windows\\module_tests.exe")"
