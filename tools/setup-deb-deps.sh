#!/usr/bin/env bash
# Installs what building and checking the Debian package needs beyond tools/setup-deps.sh (the
# build's own packages): debhelper, lintian, the desktop's validators, man and xdg-utils for the
# install test. As setup-deps.sh, it runs apt-get only when something is missing.
set -euo pipefail
. "$(dirname "$0")/apt-missing.sh"
cd "$(dirname "$0")/.."
./tools/setup-deps.sh
PACKAGES=(
  dpkg-dev debhelper fakeroot lintian dpkg-repack
  desktop-file-utils appstream shared-mime-info xdg-utils
)
install_missing "${PACKAGES[@]}"
