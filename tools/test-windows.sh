#!/usr/bin/env bash
# Builds the project for Windows with mingw-w64 and runs its tests under Wine in both time zones;
# non-zero on any failure. With the Windows kit (tools/windows-kit.sh) that is the programs and
# every test; without it, the core, the simulator's state machine and their tests. Needs the
# Linux build's test programs (./test) for the check that both builds write the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup-windows-deps.sh
kit=$(./tools/windows-kit.sh --dir)
if [ -f "$kit/kit.txt" ]; then
  echo "test-windows: with the Windows kit in $kit"
else
  echo "test-windows: SKIPPED the Qt programs and their tests: no Windows kit in $kit."
  echo "test-windows: tools/windows-kit.sh builds it (Qt from source: hours on 2 shared cores)."
  echo "test-windows: building and testing the core and the simulator's state machine only;"
  echo "test-windows: the Qt programs' sources are compiled for Windows as far as the checks go."
  ./tools/windows-syntax.sh
fi
cmake --preset windows
cmake --build --preset windows
# The simulated recorder at the wire's real pace on a pseudo-terminal, COM33 under Wine: the
# Windows serial line's tests download from it.
sim=build/release/bin/km41-sim
if [ -x "$sim" ]; then
  simdir=$(mktemp -d)
  "$sim" --paced --preload 300 --link "$simdir/com" >"$simdir/log" 2>&1 &
  simpid=$!
  trap 'kill "$simpid" 2>/dev/null; wait "$simpid" 2>/dev/null; rm -rf "$simdir"' EXIT
  for _ in $(seq 50); do [ -e "$simdir/com" ] && break; sleep 0.1; done
  export SAROKO_SIM_DEVICE=$simdir/com SAROKO_SIM_PORT=COM33
else
  echo "test-windows: no $sim (run ./test first): the serial line's download tests are skipped"
fi
ctest --preset windows
