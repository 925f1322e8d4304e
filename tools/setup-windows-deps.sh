#!/usr/bin/env bash
# Installs the Debian 12 packages of the Windows build and its tests, when any is missing:
# the mingw-w64 cross compiler (posix threads), Wine to run the tests, GoogleTest's sources.
set -euo pipefail
PACKAGES=(g++-mingw-w64-x86-64-posix wine64 googletest cmake ninja-build)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
