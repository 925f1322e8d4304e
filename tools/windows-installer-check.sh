#!/usr/bin/env bash
# Installs the Windows setup program silently under Wine in a fresh prefix, uses the installed
# copy (saroko-cli.exe --version, demo, info; saroko.exe's window screenshotted under Xvfb),
# uninstalls it silently and checks that nothing of the program is left but the user's data.
#   tools/windows-installer-check.sh SETUP.exe [SCREENSHOT.png]
# Non-zero with the step that failed.
set -euo pipefail
cd "$(dirname "$0")/.."
setup=$(realpath "$1")
shot=${2:-build/windows/installed-window.png} # -ja.png and -en.png
wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=$(command -v wine64)
wineserver=$(dirname "$wine64")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "windows-installer-check: FAILED: $*"; exit 1; }
wine() { "$wine64" "$@"; }

unset DISPLAY
wine wineboot -i >/dev/null 2>&1 && "$wineserver" -w || fail "making the prefix"
local_c=$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
local_u=$(WINEDEBUG=-all "$(dirname "$wine64")/winepath" -u "$local_c" 2>/dev/null || true)
[ -d "$local_u" ] || local_u=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Local
inst=$local_u/Programs/Saroko
menu=$(dirname "$local_u")/Roaming/Microsoft/Windows/Start\ Menu/Programs/Saroko

wine "$setup" /S && "$wineserver" -w || fail "the silent install"
for f in saroko.exe saroko-cli.exe km41-sim.exe uninstall.exe samples/demo.klg \
         platforms/qwindows.dll translations/qtbase_ja.qm; do
  [ -f "$inst/$f" ] || fail "no $f in $inst"
done
[ -f "$menu/Saroko.lnk" ] || fail "no Start menu entry in $menu"
grep -q 'Software\\\\Classes\\\\.klg' "$WINEPREFIX/user.reg" || fail "no .klg file type"
grep -q 'Uninstall\\\\Saroko' "$WINEPREFIX/user.reg" || fail "no uninstall entry"
echo "windows-installer-check: installed in $(du -sk "$inst" | cut -f1) KiB"

# The installed copy, with nothing of the build's on its path.
version=$(wine "$inst/saroko-cli.exe" --version | tr -d '\r')
[[ $version == "saroko-cli "* ]] || fail "saroko-cli.exe --version said '$version'"
wine "$inst/saroko-cli.exe" demo -o 'C:\users\Public\made.klg' >/dev/null ||
  fail "saroko-cli.exe demo"
info=$(wine "$inst/saroko-cli.exe" info "$(realpath "$inst/samples/demo.klg" | sed 's|^|Z:|; s|/|\\|g')" |
       tr -d '\r') || fail "saroko-cli.exe info"
linux_cli=build/release/bin/saroko-cli
if [ -x "$linux_cli" ]; then
  [ "$info" = "$("$linux_cli" --no-archive info "$inst/samples/demo.klg")" ] ||
    fail "info differs from the Linux build's: $info"
fi
echo "windows-installer-check: $version; info on the installed demo recording as on Linux"

# The window under Wine's own display on Xvfb, painted and saved by the program itself. The
# server of the display-less steps above ends first: its desktop has no display to show on.
# Wine's own interface font has no kana: a Japanese one of the host's stands in, as Windows
# has its own (the setup program ships no fonts).
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Tahoma /d IPAGothic /f >/dev/null 2>&1
"$wineserver" -w
for lang in ja en; do
  out=${shot%.png}-$lang.png
  rm -f "$out"
  LC_ALL=$([ $lang = ja ] && echo ja_JP.UTF-8 || echo en_US.UTF-8) \
    xvfb-run -a -s "-screen 0 1280x900x24" "$wine64" "$inst/saroko.exe" --screenshot \
    "Z:$(realpath -m "$out" | sed 's|/|\\|g')" "Z:$(realpath "$inst/samples/demo.klg" | sed 's|/|\\|g')" ||
    fail "saroko.exe --screenshot ($lang)"
  [ -s "$out" ] || fail "no screenshot ($lang)"
  "$wineserver" -w
  echo "windows-installer-check: window screenshot in $out"
done

# The user's data: made by the use above, kept by the uninstaller.
data=$local_u/saroko
[ -d "$data" ] || fail "no user data in $data after the use"
wine "$inst/uninstall.exe" /S && "$wineserver" -w || fail "the silent uninstall"
[ ! -e "$inst" ] || fail "left behind: $(find "$inst" | head -5 | tr '\n' ' ')"
[ ! -e "$menu" ] || fail "the Start menu folder is left"
if grep -q -e 'Software\\\\Classes\\\\.klg' -e 'Classes\\\\Saroko.klg' -e 'Uninstall\\\\Saroko' \
     "$WINEPREFIX/user.reg"; then
  fail "registry entries left"
fi
[ -d "$data" ] || fail "the uninstaller removed the user's data"
echo "windows-installer-check: uninstalled; the user's data in $data kept"
