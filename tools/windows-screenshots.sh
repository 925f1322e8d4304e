#!/usr/bin/env bash
# Pictures of the Windows build's window under Wine, as a user works it, in Japanese and in
# English: the main window with a file, the download dialog, the message of a download with no
# recorder on the port, and the recordings list. Wine draws in a desktop window of its own on
# an Xvfb of this run's; the clicks and keys go there.
#   tools/windows-screenshots.sh [FOLDER]      (default build/windows/screenshots)
# Needs the Windows build with the kit (tools/test-windows.sh) and the Linux build (./test).
# Open menus are not pictured: on an X server without a window manager a popup stays
# unpainted, for any Qt program.
set -euo pipefail
cd "$(dirname "$0")/.."
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
# has its own. COM1 leads nowhere: the download finds no recorder.
"$wine64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Tahoma /d IPAGothic /f >/dev/null 2>&1
"$wine64" reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$work/no-recorder" /f >/dev/null 2>&1
"$wineserver" -w
build/release/bin/saroko-cli --no-archive demo --start "2026/03/01 00:00:00" -o "$work/demo.klg" \
    >/dev/null
for n in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
Xvfb ":$n" -screen 0 1100x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:$n
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done

shot() { xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$out/$1.png"; echo "  $out/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-2}"; }

for lang in ja en; do
    echo "windows-screenshots: $lang"
    locale=ja_JP.UTF-8
    [ $lang = en ] && locale=en_US.UTF-8
    LC_ALL=$locale "$wine64" explorer /desktop=saroko,1100x800 build/windows/bin/saroko.exe \
        "Z:${work//\//\\}\\demo.klg" >/dev/null 2>&1 &
    sleep 12
    shot "main-$lang"
    # 通信(C) → 記録データ吸い上げ(D)...: the download dialog, then its download with no recorder.
    click 140 31 1
    xdotool key d
    sleep 3
    shot "download-$lang"
    xdotool key Return
    sleep 8
    shot "download-message-$lang"
    xdotool key Return
    sleep 1
    xdotool key Escape
    sleep 2
    # ﾌｧｲﾙ(F) → 記録ﾃﾞｰﾀ一覧(K)...
    click 28 31 1
    xdotool key k
    sleep 4
    shot "recordings-$lang"
    "$wineserver" -k >/dev/null 2>&1 || true
    sleep 2
done
