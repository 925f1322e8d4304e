#!/usr/bin/env bash
# Pictures of the Windows build under Wine, in Japanese and in English, to look at: the main
# window with a file (drawn on an Xvfb of this run's, read from the window itself), and the
# windows the window tests picture as they work them (SAROKO_PICTURE_DIR): the download dialog
# with its storage unit, the recordings list, the history, units, audit trail and first-use
# windows, the signing windows, the data list, the port choice and the read-confirm message.
#   tools/windows-screenshots.sh [FOLDER]      (default build/windows/screenshots)
# Needs the Windows build with the kit (tools/test-windows.sh) and the Linux build (./test).
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup-windows-deps.sh
out=$(realpath -m "${1:-build/windows/screenshots}")
mkdir -p "$out"
kit=$(./tools/windows-kit.sh --dir)
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=$(command -v wine64)
wineserver=$(dirname "$wine64")/wineserver
export WINEPREFIX=$PWD/build/windows/wineprefix-screens WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="Z:$kit/bin;Z:$runtime;Z:/usr/x86_64-w64-mingw32/lib" QT_PLUGIN_PATH="Z:$kit/plugins"
work=$(mktemp -d)
cleanup() {
    "$wineserver" -k >/dev/null 2>&1 || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
unset DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine64" wineboot -i >/dev/null 2>&1
    "$wineserver" -w
fi
# Wine's own interface font has no kana: a Japanese one of the host's stands in, as Windows
# has its own.
"$wine64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Tahoma /d IPAGothic /f >/dev/null 2>&1
"$wineserver" -w
build/release/bin/saroko-cli --no-archive demo --start "2026/03/01 00:00:00" -o "$work/demo.klg" \
    >/dev/null
for n in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
Xvfb ":$n" -screen 0 1100x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:$n
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
"$wineserver" -p
"$wine64" cmd /c exit >/dev/null 2>&1

for lang in ja en; do
    locale=ja_JP.UTF-8
    [ $lang = en ] && locale=en_US.UTF-8
    LC_ALL=$locale "$wine64" build/windows/bin/saroko.exe "Z:${work//\//\\}\\demo.klg" \
        >/dev/null 2>&1 &
    program=$!
    sleep 12
    window=$(xdotool search --name 'demo\.klg' | head -1)
    xwd -id "$window" -silent >"$work/main.xwd"
    xwdtopnm "$work/main.xwd" 2>/dev/null | pnmtopng >"$out/main-$lang.png"
    echo "windows-screenshots: $out/main-$lang.png"
    kill "$program" 2>/dev/null || true
    "$wine64" taskkill /im saroko.exe /f >/dev/null 2>&1 || true
    sleep 2
done

# The window tests that picture what they work, each in both languages.
export SAROKO_PICTURE_DIR="Z:${out//\//\\}"
failed=0
while read -r program filter; do
    TZ=Asia/Tokyo "$wine64" "build/windows/bin/$program.exe" --gtest_filter="$filter" \
        >"$work/$program.log" 2>&1 || {
        echo "windows-screenshots: $program failed:"
        grep -E '^\[  FAILED  \]|Failure' "$work/$program.log" | head -10
        failed=1
    }
done <<'EOF'
test_ui_recorder DownloadDlg.TheOfferedUnitGoesWithTheDownloadUnlessAnotherIsChosen
test_ui_app RecordingsTest.EachArchiveWindowOpensItsHelpPage:RecordingsTest.WhatWaitsForTheSiteIsShownAndItsFirstUseOffersTheKeptDownloads:ReadConfirmDlg.*:SigningDlgs*
test_ui_printing DataListWindowTest.*
EOF
ls "$out"/*.png | sed 's/^/windows-screenshots: /'
exit $failed
