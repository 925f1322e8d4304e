#!/usr/bin/env bash
# Installs what building and checking the Debian package needs beyond tools/setup-deps.sh (the
# build's own packages): debhelper, lintian, the desktop's validators, man and xdg-utils for the
# install test. As setup-deps.sh, it runs apt-get only when something is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup-deps.sh
PACKAGES=(
  dpkg-dev debhelper fakeroot lintian dpkg-repack
  desktop-file-utils appstream shared-mime-info man-db groff-base xdg-utils
)
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
