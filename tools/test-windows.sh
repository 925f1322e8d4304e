#!/usr/bin/env bash
# Builds the core, the simulator's state machine and their tests for Windows with mingw-w64 and
# runs them under Wine in both time zones; non-zero on any failure. Needs the Linux build's
# test programs (./test) for the check that both builds write the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup-windows-deps.sh
cmake --preset windows
cmake --build --preset windows
exec ctest --preset windows
