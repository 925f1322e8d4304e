#!/usr/bin/env bash
# Compiles every source of the Qt programs for Windows as far as the compiler's checks go
# (-fsyntax-only), against the host's Qt headers, which are the same Qt version: the Windows-only
# code paths (the named pipe, the device manager, the serial line) and the Windows compiler's
# own complaints are caught without the Windows kit. Needs the Linux build's generated headers
# (./test). Prints each file that fails with its first errors; non-zero when any does.
set -euo pipefail
cd "$(dirname "$0")/.."
cxx=x86_64-w64-mingw32-g++-posix
command -v "$cxx" >/dev/null || { echo "windows-syntax: no $cxx (tools/setup-windows-deps.sh)"; exit 1; }
generated=build/release/generated
[ -f "$generated/SarokoVersion.h" ] || { echo "windows-syntax: no $generated (run ./test first)"; exit 1; }
qt=$(dirname "$(find /usr/include -maxdepth 3 -type d -name QtCore -path '*qt6*' | head -n1)")
# The few host headers the sources want beside Qt's, in a folder of their own: nothing else of
# the host's system headers may come in.
extra=$(mktemp -d)
trap 'rm -rf "$extra"' EXIT
mkdir -p "$extra/openssl"
ln -s /usr/include/nlohmann "$extra/nlohmann"
ln -s /usr/include/sqlite3.h "$extra/sqlite3.h"
ln -sf /usr/include/openssl/* /usr/include/x86_64-linux-gnu/openssl/* "$extra/openssl/" 2>/dev/null
flags=(-std=c++20 -fsyntax-only -Wall -Wextra -Werror -Wno-attributes -Isrc -I"$generated"
       -Iresources/bitmaps -I"$qt" -idirafter "$extra")
# Qt Serial Port is not in the Windows kit: its headers are left out, so no use of it slips in.
for module in QtCore QtGui QtWidgets QtPrintSupport QtNetwork QtTest; do
  flags+=(-I"$qt/$module")
done
# The pseudo-terminal host, the simulator's program around it and Qt Serial Port's line are
# Linux's only, and the site archive's libpq store is not in the Windows kit (the build leaves
# them out on Windows too).
mapfile -t files < <(git ls-files 'src/platform/*.cpp' 'src/cli/*.cpp' 'src/ui/*.cpp' 'src/sim/*.cpp' |
                     grep -v -e '/PtyHost\.cpp$' -e '/km41_sim\.cpp$' -e '/SerialPortLine\.cpp$' \
                       -e '/PgArchiveStore\.cpp$')
export cxx
check() { out=$(nice "$cxx" "$@" 2>&1) || { echo "== ${*: -1}"; echo "$out" | grep -E 'error' | head -n 5; exit 1; }; }
export -f check
if printf '%s\n' "${files[@]}" | xargs -P 2 -I{} bash -c 'check "$@"' _ "${flags[@]}" {}; then
  echo "windows-syntax: ${#files[@]} files compile for Windows"
else
  echo "windows-syntax: some files do not compile for Windows (above)"
  exit 1
fi
