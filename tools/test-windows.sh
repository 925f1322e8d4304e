#!/usr/bin/env bash
# Builds the project for Windows with mingw-w64 and runs its tests under Wine in both time zones;
# non-zero on any failure. With the Windows kit (tools/windows-kit.sh) that builds the programs
# and every test; without it, the core, the simulator's state machine and their tests. Needs the
# Linux build's test programs (./test) for the check that both builds write the same bytes.
#
#   tools/test-windows.sh          runs the core's, the simulator's and the serial line's tests
#   tools/test-windows.sh --full   runs every test program the build has (with the kit: the
#                                  platform's, the command line's, the windows' too)
# SAROKO_WINDOWS_RUNS=N runs the suite N times in a row.
set -euo pipefail
cd "$(dirname "$0")/.."
full=false
[ "${1:-}" = --full ] && full=true
./tools/setup-windows-deps.sh
kit=$(./tools/windows-kit.sh --dir)
if [ -f "$kit/kit.txt" ]; then
  echo "test-windows: with the Windows kit in $kit"
else
  echo "test-windows: SKIPPED the Qt programs and their tests: no Windows kit in $kit."
  echo "test-windows: tools/windows-kit.sh builds it (Qt from source: about 20 minutes on 2 cores)."
  echo "test-windows: building and testing the core and the simulator's state machine only;"
  echo "test-windows: the Qt programs' sources are compiled for Windows as far as the checks go."
  ./tools/windows-syntax.sh
fi
cmake --preset windows -DSAROKO_WINDOWS_KIT="$kit"
cmake --build --preset windows
# The simulated recorder at the wire's real pace on a pseudo-terminal, COM33 under Wine: the
# Windows serial line's tests download from it.
sim=build/release/bin/km41-sim
if [ -x "$sim" ]; then
  simdir=$(mktemp -d)
  "$sim" --paced --preload 300 --link "$simdir/com" >"$simdir/log" 2>&1 &
  simpid=$!
  for _ in $(seq 50); do [ -e "$simdir/com" ] && break; sleep 0.1; done
  export SAROKO_SIM_DEVICE=$simdir/com SAROKO_SIM_PORT=COM33
else
  echo "test-windows: no $sim (run ./test first): the serial line's download tests are skipped"
fi
cleanups=()
cleanup() { for c in "${cleanups[@]}"; do eval "$c"; done; }
trap cleanup EXIT
if [ -x "$sim" ]; then
  cleanups+=('kill "$simpid" 2>/dev/null; wait "$simpid" 2>/dev/null; rm -rf "$simdir"')
fi
if [ -f "$kit/kit.txt" ] && $full; then
  # The window tests' dialogs on Wine's own display driver, on an X server of this run's.
  for n in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfbpid=$!
  cleanups+=('kill "$xvfbpid" 2>/dev/null; wait "$xvfbpid" 2>/dev/null')
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  export SAROKO_WINE_DISPLAY=:$n
fi
# One wineserver for the whole run, made before the first test and ended after the last: no
# test meets a server that is just closing.
wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=$(command -v wine64)
prefix=$PWD/build/windows/wineprefix
./tools/wine-run "$wine64" "$prefix" cmd /c exit >/dev/null 2>&1
export WINEPREFIX=$prefix
"$(dirname "$wine64")/wineserver" -w
"$(dirname "$wine64")/wineserver" -p
cleanups+=('WINEPREFIX="$prefix" "$(dirname "$wine64")/wineserver" -k >/dev/null 2>&1 || true')
# The first program on a new server starts Wine's services; the tests come after that.
./tools/wine-run "$wine64" "$prefix" cmd /c exit >/dev/null 2>&1
runs=${SAROKO_WINDOWS_RUNS:-1}
for run in $(seq "$runs"); do
  [ "$runs" -gt 1 ] && echo "test-windows: run $run of $runs"
  if $full; then
    ctest --preset windows
  else
    # A Windows test program that hangs under Wine (it happens, seldom, at any point of a run)
    # is run again; each one ends within seconds when it does not.
    ctest --preset windows --timeout 60 --repeat after-timeout:3 \
      -R 'test_core_|test_sim|test_winline|SameBytesAsLinux'
  fi
done
