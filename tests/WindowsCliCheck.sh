#!/usr/bin/env bash
# The Windows build's saroko-cli against the Linux build's, run by ctest in the Windows build:
#   WindowsCliCheck.sh outputs  LINUX_BIN WINDOWS_BIN DATA OUT EMULATOR...
#       info --json, export, save, report --json and demo on the same inputs: the same bytes.
#       Files are written alike; what goes to the console ends its lines in CR LF on Windows.
#   WindowsCliCheck.sh download LINUX_BIN WINDOWS_BIN COM1_LINK OUT EMULATOR...
#       one simulated recorder with 8000 records at the wire's 9600 baud, downloaded by each
#       build (Windows through COM1, which the prefix maps to COM1_LINK): the kept copies and the
#       saved files are the same bytes, and each build's archive verifies.
set -euo pipefail
mode=$1 linux=$2 windows=$3 arg=$4 out=$5
shift 5
# The Windows program keeps its settings in the registry and its downloads in the user's
# folders, both of the prefix: the check has a prefix of its own, beside the tests' one, with
# one wineserver for the check, and starts from the defaults, as the Linux side does.
emulator=("${@:1:$#-1}")
prefix=${!#}-cli
emulator+=("$prefix")
wineserver=$(dirname "${emulator[-2]}")/wineserver
rm -rf "$out"
mkdir -p "$out/linux" "$out/windows"
export XDG_CONFIG_HOME=$out/linux/config XDG_DATA_HOME=$out/linux/data
export XDG_CACHE_HOME=$out/linux/cache
failed=0
"${emulator[@]}" cmd /c exit >/dev/null 2>&1
rm -rf "$prefix"/drive_c/users/*/AppData/Local/saroko
"${emulator[@]}" reg delete 'HKCU\Software\PELNOR CORPORATION\Saroko' /f >/dev/null 2>&1 || true
if [ "$mode" = download ]; then
    # COM1 is the simulated recorder's pseudo-terminal; Wine maps its ports when it starts.
    "${emulator[@]}" reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$arg" /f >/dev/null 2>&1
fi
WINEPREFIX=$prefix "$wineserver" -w
WINEPREFIX=$prefix "$wineserver" -p
trap 'WINEPREFIX=$prefix "$wineserver" -k >/dev/null 2>&1 || true' EXIT
"${emulator[@]}" cmd /c exit >/dev/null 2>&1

lin() { "$linux/saroko-cli" --archive "$out/linux/archive.sqlite" "$@"; }
# Wine shows the host's root as drive Z:.
win() { "${emulator[@]}" "$windows/saroko-cli.exe" --archive "Z:$out/windows/archive.sqlite" "$@"; }

same() { # NAME LINUX_FILE WINDOWS_FILE
    if cmp -s "$2" "$3"; then
        echo "$1: $(stat -c %s "$2") bytes, the same from both builds"
    else
        echo "$1: the Windows build gave other bytes than the Linux build:"
        diff <(od -c "$2") <(od -c "$3") | head -20
        failed=1
    fi
}

# A channel without data starts at the moment it was read: the runs are seconds apart.
# A report names its sources as each system spells them, and the moment and the archive's
# chain head it was made with.
timeless() {
    awk '/"present": 0,/ { empty = 1 } /"present": [1-9]/ { empty = 0 }
         empty && /"startTime": / { sub(/[0-9]+/, "(the run'"'"'s time)") }
         /^ *"path": "Z:/ { sub(/"Z:/, "\""); gsub(/\\\\/, "/") }
         /^ *"(made_at|made_at_local|chain_head)": / { sub(/: .*[^,]/, ": (the run'"'"'s)") }
         { print }'
}

# Both builds' console text, the Windows one with its CR LF line ends checked and taken off.
console() { # NAME ARGS...
    local name=$1
    shift
    lin "$@" >"$out/linux/$name" 2>"$out/linux/$name.err" || {
        echo "$name: the Linux build failed:"
        cat "$out/linux/$name.err"
        failed=1
        return
    }
    win "$@" >"$out/windows/$name.crlf" 2>"$out/windows/$name.err" || {
        echo "$name: the Windows build failed:"
        cat "$out/windows/$name.err"
        failed=1
        return
    }
    if grep -q $'[^\r]$' "$out/windows/$name.crlf" ||
        grep -q $'^$' "$out/windows/$name.crlf"; then
        echo "$name: a console line of the Windows build does not end in CR LF"
        failed=1
    fi
    sed 's/\r$//' "$out/windows/$name.crlf" >"$out/windows/$name"
    for b in linux windows; do
        timeless <"$out/$b/$name" >"$out/$b/$name.timeless"
    done
    same "$name" "$out/linux/$name.timeless" "$out/windows/$name.timeless"
}

both() { # NAME OUTPUT ARGS... (OUTPUT is written by -o)
    local name=$1 file=$2
    shift 2
    lin "$@" -o "$out/linux/$file" >/dev/null 2>"$out/linux/$name.err" &&
        win "$@" -o "Z:$out/windows/$file" >/dev/null 2>"$out/windows/$name.err" || {
        echo "$name: a build failed:"
        cat "$out/linux/$name.err" "$out/windows/$name.err"
        failed=1
        return
    }
    same "$name" "$out/linux/$file" "$out/windows/$file"
}

if [ "$mode" = outputs ]; then
    data=$arg
    both demo demo.klg demo --start "2026/03/01 00:00:00"
    # A folder name no Western code page spells, as a Japanese user's often is.
    in=$out/測定ﾃﾞｰﾀ
    mkdir "$in"
    cp "$data/sound.klg" "$data/whole.klg" "$data/older.ksv" "$in"
    for f in sound whole demo; do
        src=$out/linux/demo.klg
        [ "$f" = demo ] || src=$in/$f.klg
        console "info-$f.json" info --json "$src"
        both "export-$f" "$f.txt" export "$src"
        both "export-$f-semicolon-F" "$f.prn" export --delimiter semicolon --fahrenheit "$src"
        console "report-$f.json" report --json --low 0 --high 25 "$src"
    done
    both "save-converted" older.klg save "$in/older.ksv"
    both "save-window" window.klg save --from "2026/03/01 06:00:00" --to "2026/03/01 12:00:00" \
        --name 1=ﾃｽﾄ "$out/linux/demo.klg"
    both "save-two" two.klg save "$in/sound.klg" "$in/whole.klg"
    exit $failed
fi

link=$arg
rm -f "$link"
"$linux/km41-sim" --paced --preload 8000 --link "$link" >"$out/sim.log" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; WINEPREFIX=$prefix "$wineserver" -k >/dev/null 2>&1' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
download() { # BUILD COMMAND...
    local build=$1
    shift
    local start=$SECONDS
    "$@" >"$out/$build/download.out" 2>"$out/$build/download.err" || {
        echo "$build download failed:"
        cat "$out/$build/download.out" "$out/$build/download.err" >&2
        exit 1
    }
    echo "$build build: 8000 paced records downloaded in $((SECONDS - start)) s" >&2
    sed -n 's/^kept: //p' "$out/$build/download.out" | tr -d '\r'
}
keptl=$(download linux lin recorder download --device "$link" -o "$out/linux/down.klg")
keptw=$(download windows win recorder download --port 1 -o "Z:$out/windows/down.klg")
same "download (saved)" "$out/linux/down.klg" "$out/windows/down.klg"
keptw=$("${emulator[@]}" winepath -u "$keptw" | tr -d '\r')
same "download (kept)" "$keptl" "$keptw"
grep -q '8000 samples' "$out/windows/download.out" || {
    echo "the Windows build did not say it took 8000 samples:"
    cat "$out/windows/download.out"
    failed=1
}
lin archive verify >"$out/linux/verify" 2>&1 || { cat "$out/linux/verify"; failed=1; }
win archive verify >"$out/windows/verify" 2>&1 || { cat "$out/windows/verify"; failed=1; }
echo "archive verify: $(tr -d '\r' <"$out/windows/verify" | head -1)"
exit $failed
