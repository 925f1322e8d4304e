#!/usr/bin/env bash
# Installs the Debian 12 packages of the Windows build and its tests, when any is missing:
# the mingw-w64 cross compiler (posix threads), Wine to run the tests, GoogleTest's sources,
# NSIS for the setup program, Xvfb for the window tests' display, and what the pictures of the
# windows are taken with (tools/windows-screenshots.sh).
set -euo pipefail
. "$(dirname "$0")/apt-missing.sh"
PACKAGES=(g++-mingw-w64-x86-64-posix wine64 googletest cmake ninja-build nsis xvfb xauth
          xdotool x11-apps netpbm)
install_missing "${PACKAGES[@]}"
