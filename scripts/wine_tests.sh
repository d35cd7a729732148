#!/usr/bin/env bash
# Runs the Windows tests of one architecture under its Wine, with a
# private, throw-away prefix and a virtual X display: the module's
# GoogleTest suite (the tests that need a process of their own each get
# one), the panel's tests again under the system code page 1250, then
# regsvr32 registering and unregistering the DLL, and the installer (when
# the build made one) installing, installing again and uninstalling.
# Usage: scripts/wine_tests.sh i686|x86_64 BUILD_I686 BUILD_X86_64 [NATIVE_BUILD]
# (i686 runs under the 32-bit Wine, x86_64 under wine64; the native build,
# default build/, holds the sample dictionary)
set -euo pipefail
arch=$1
x86=$(realpath "$2")
x64=$(realpath "$3")
native=$(realpath "${4:-build}")
case "$arch" in
  i686) build=$x86 wine=/usr/lib/wine/wine winearch=win32 ;;
  x86_64) build=$x64 wine=/usr/lib/wine/wine64 winearch=win64 ;;
  *) echo "usage: scripts/wine_tests.sh i686|x86_64 BUILD_I686 BUILD_X86_64 [NATIVE_BUILD]" >&2; exit 2 ;;
esac
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

windows_path() { echo "Z:${1//\//\\}"; }
export WINEPREFIX=$prefix WINEARCH=$winearch WINEDEBUG=-all WINEDLLOVERRIDES="mshtml=d"
export VORDO_DLL
VORDO_DLL=$(windows_path "$build/module/vordo.dll")
export VORDO_DLL_I686 VORDO_DLL_X86_64 VORDO_SAMPLE_DICTIONARY
VORDO_DLL_I686=$(windows_path "$x86/module/vordo.dll")
VORDO_DLL_X86_64=$(windows_path "$x64/module/vordo.dll")
VORDO_SAMPLE_DICTIONARY=$(windows_path "$native/sample-dic.bin")
export WINEPATH
WINEPATH=$(windows_path "$build/module")

setup=
if [ -f "$build/vordo-setup.exe" ]; then setup=$(windows_path "$build/vordo-setup.exe"); fi

echo "== the Windows tests, $arch under $(basename "$wine")"
xvfb-run -a bash -euo pipefail -c '
  wine=$1 tests=$2
  status=0
  # Without a window manager, Wine takes seconds to hide each window that
  # it manages; the tests open and close many.
  "$wine" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f > /dev/null
  run() { "$wine" "$tests" --gtest_brief=1 "$@" | tr -d "\r" || status=1; }
  # Each of these needs a process of its own: one that has not opened the
  # dictionary, one whose band classes are the DLL'"'"'s own, one that can
  # unload the DLL.
  alone=(PanelTest.AMissingDictionary* PageIntegrationTest.* ModuleUnloadTest.*)
  run --gtest_filter="-$(IFS=:; echo "${alone[*]}")"
  for filter in "${alone[@]}"; do run --gtest_filter="$filter"; done
  # The panel again where the system code page is 1250 rather than 1252:
  # its Czech text must not depend on it.
  echo "The panel with the system code page 1250 (LANG=cs_CZ.UTF-8):"
  LANG=cs_CZ.UTF-8 VORDO_EXPECT_CODE_PAGE=1250 run --gtest_filter="PanelTest.*"

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

  # The installer, where the build made one (the i686 product): a silent
  # install puts the files in place, registers the panel and writes one
  # uninstall entry, also when run twice; a silent uninstall takes all of
  # it away again.
  setup=$3
  if [ -n "$setup" ]; then
    folder="$WINEPREFIX/drive_c/Program Files/Vordo"
    entry="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vordo"
    installed() {
      [ -f "$folder/vordo.dll" ] && [ -f "$folder/dic.bin" ] && [ -f "$folder/dic-cs.bin" ] &&
        [ -f "$folder/uninstall.exe" ] &&
        "$wine" reg query "$band" | tr -d "\r" | grep -qF "C:\\Program Files\\Vordo\\vordo.dll" &&
        "$wine" reg query "$button" /v ClsidExtension > /dev/null 2>&1 &&
        "$wine" reg query "$entry" /v UninstallString | tr -d "\r" | grep -qF "uninstall.exe"
    }
    "$wine" "$setup" /S && /usr/lib/wine/wineserver -w
    if installed; then echo "installer: installed"; else echo "installer: not installed"; status=1; fi
    "$wine" "$setup" /S && /usr/lib/wine/wineserver -w
    entries=$("$wine" reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" |
              tr -d "\r" | grep -c "Uninstall.Vordo$" || true)
    if installed && [ "$entries" = 1 ]; then
      echo "installer: installed again, one entry"
    else
      echo "installer: installed again: $entries entries"; status=1
    fi
    "$wine" "C:\\Program Files\\Vordo\\uninstall.exe" /S && /usr/lib/wine/wineserver -w
    if [ ! -e "$folder" ] && ! "$wine" reg query "$entry" > /dev/null 2>&1 &&
       ! "$wine" reg query "$band" > /dev/null 2>&1 && ! "$wine" reg query "$button" > /dev/null 2>&1; then
      echo "installer: uninstalled"
    else
      echo "installer: something is left"; status=1
    fi
  fi
  /usr/lib/wine/wineserver -w
  exit $status
' wine-tests "$wine" "$(windows_path "$build/tests/windows/module_tests.exe")" "$setup"
