#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when any is missing. Each name is
# a real package as dpkg records it (not a virtual name another package provides), so a machine
# that has everything runs neither apt-get nor sudo.
set -euo pipefail
. "$(dirname "$0")/apt-missing.sh"
PACKAGES=(
  cmake ninja-build g++ pkg-config libpq-dev postgresql
  qt6-base-dev qt6-serialport-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libsqlite3-dev libssl-dev
  fonts-ipafont-gothic xvfb xauth poppler-utils
  qt6-translations-l10n qt6-l10n-tools
  man-db groff-base
  clang-format-14
)
install_missing "${PACKAGES[@]}"
