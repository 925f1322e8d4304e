#!/usr/bin/env bash
# Builds the Windows kit once per machine: Qt 6 (the modules and plugins the programs use),
# SQLite and OpenSSL's libcrypto for x86_64-w64-mingw32, all from Debian 12's source packages of
# the very versions the Linux build uses, so the host's moc, rcc and uic serve the cross build.
#
#   tools/windows-kit.sh          build the kit when it is missing; prints where it is
#   tools/windows-kit.sh --dir    print the kit's folder only (present or not)
#
# The kit lives outside the tree, in ~/.cache/saroko/windows-kit-<version>. It is built in a
# staging folder beside it and renamed into place only when every part is in, so the folder is
# there whole or not at all; a complete kit is reused without network. Build folders are kept
# between interrupted runs (so a second run goes on where the first stopped) and removed at the end.
set -euo pipefail

# Raise when anything below changes what the kit holds.
KIT_VERSION=1
root=${SAROKO_KIT_ROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/saroko}
kit=$root/windows-kit-$KIT_VERSION

if [ "${1:-}" = --dir ]; then
  echo "$kit"
  exit 0
fi
if [ -f "$kit/kit.txt" ]; then
  echo "windows-kit: $kit is complete, reused"
  exit 0
fi

here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$root"
exec 8>"$root/windows-kit-$KIT_VERSION.lock"
flock 8
if [ -f "$kit/kit.txt" ]; then
  echo "windows-kit: $kit is complete, reused"
  exit 0
fi

started=$(date +%s)
stage=$root/.stage-$KIT_VERSION
work=$root/.work-$KIT_VERSION
jobs=${SAROKO_KIT_JOBS:-2}
step() { echo "windows-kit: [$(($(date +%s) - started)) s] $*"; }

# --- What the build needs on the host ---------------------------------------------------------
"$here/setup-windows-deps.sh"
HOST_PACKAGES=(dpkg-dev tcl perl make xz-utils qt6-base-dev qt6-base-dev-tools
               qt6-translations-l10n libsqlite3-dev libssl-dev)
. "$here/apt-missing.sh"
install_missing "${HOST_PACKAGES[@]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# The source packages of the versions installed on the host.
source_version() { dpkg-query -W -f='${source:Version}' "$1"; }
declare -A SOURCES=(
  [qt6-base]=$(source_version qt6-base-dev)
  [sqlite3]=$(source_version libsqlite3-dev)
  [openssl]=$(source_version libssl-dev)
)

mkdir -p "$work/src"
need_download=0
for pkg in "${!SOURCES[@]}"; do
  [ -e "$work/src/$pkg.done" ] || need_download=1
done
if [ $need_download = 1 ]; then
  # Debian's source entries, in a sources file of this script's own beside the system's.
  list=/etc/apt/sources.list.d/saroko-deb-src.sources
  if ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
    step "adding $list"
    $SUDO tee "$list" >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    $SUDO apt-get update
  fi
  for pkg in "${!SOURCES[@]}"; do
    [ -e "$work/src/$pkg.done" ] && continue
    step "fetching the source of $pkg ${SOURCES[$pkg]}"
    # A source that cannot be had stops the kit only at the step that needs it.
    # OpenSSL takes security updates often, and the installed one's source may be gone from the
    # mirror: then the newest of Debian 12's that can be fetched.
    versions=("${SOURCES[$pkg]}")
    if [ "$pkg" = openssl ]; then
      mapfile -t versions < <(printf '%s\n' "${SOURCES[$pkg]}"; apt-cache showsrc openssl |
                              sed -n 's/^Version: //p' | sort -rV)
    fi
    for version in "${versions[@]}"; do
      rm -rf "${work:?}/src/$pkg" && mkdir -p "$work/src/$pkg"
      if (cd "$work/src/$pkg" && apt-get source -q "$pkg=$version" >../"$pkg.log" 2>&1); then
        echo "$version" >"$work/src/$pkg.done"
        break
      fi
      grep -E '^E:' "$work/src/$pkg.log" >&2 || true
    done
    [ -e "$work/src/$pkg.done" ] || echo "windows-kit: no source of $pkg could be fetched" >&2
  done
fi
for pkg in "${!SOURCES[@]}"; do
  [ -s "$work/src/$pkg.done" ] && SOURCES[$pkg]=$(cat "$work/src/$pkg.done")
done
srcdir() {
  [ -e "$work/src/$1.done" ] || { echo "windows-kit: no source of $1 (see $work/src/$1.log)" >&2; exit 1; }
  find "$work/src/$1" -mindepth 1 -maxdepth 1 -type d | head -n1
}

mkdir -p "$stage"
# The staging folder is a find root too, so the programs find the Qt Base just built there.
cat >"$work/toolchain.cmake" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH $stage /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cross=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" -DCMAKE_BUILD_TYPE=Release
       -DCMAKE_INSTALL_PREFIX="$stage" "${launcher[@]}")

# --- Qt Base: Core, Gui, Widgets, PrintSupport, Network (the local socket), Test --------------
host_cmake=/usr/lib/x86_64-linux-gnu/cmake
if [ ! -e "$work/qtbase.done" ]; then
  step "Qt Base ${SOURCES[qt6-base]}"
  src=$(srcdir qt6-base)
  mkdir -p "$work/qtbase"
  # Configured on every run, so a changed option reaches a build folder kept from before.
  # Drag and drop needs the XPM reader (and Qt Widgets 6.4 does not build without it). Without
  # Direct2D, Qt Gui leaves its DirectWrite font engine out while Print Support still calls it:
  # DirectWrite goes too, and the fonts are GDI's. Debian's source leaves out the tablet
  # header the Windows plugin's tablet support needs: no tablet events (nothing here uses them).
  # Dynamic OpenGL stays on by itself when OpenGL is off, and the Windows plugin then fails.
  cmake -S "$src" -B "$work/qtbase" "${cross[@]}" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=$host_cmake \
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DQT_BUILD_BENCHMARKS=OFF -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF \
    -DINPUT_openssl=no -DFEATURE_openssl=OFF \
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_directwrite=OFF -DFEATURE_directwrite3=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_sql=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF \
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF \
    -DFEATURE_networklistmanager=OFF -DFEATURE_sctp=OFF \
    -DFEATURE_imageformat_ppm=OFF -DFEATURE_imageformat_xbm=OFF \
    -DFEATURE_imageformat_xpm=ON -DFEATURE_draganddrop=ON \
    -DFEATURE_movie=OFF -DFEATURE_sessionmanager=OFF -DFEATURE_tuiotouch=OFF \
    >"$work/qtbase-configure.log" 2>&1 || { tail -n 60 "$work/qtbase-configure.log"; exit 1; }
  nice cmake --build "$work/qtbase" -j"$jobs" >"$work/qtbase-build.log" 2>&1 ||
    { tail -n 60 "$work/qtbase-build.log"; exit 1; }
  cmake --install "$work/qtbase" >"$work/qtbase-install.log" 2>&1 ||
    { tail -n 40 "$work/qtbase-install.log"; exit 1; }
  touch "$work/qtbase.done"
fi

# --- SQLite: the amalgamation made from Debian's tree, compiled into a static library ---------
if [ ! -e "$work/sqlite.done" ]; then
  step "SQLite ${SOURCES[sqlite3]}"
  src=$(srcdir sqlite3)
  rm -rf "$work/sqlite" && mkdir -p "$work/sqlite"
  (cd "$work/sqlite" && "$src/configure" --disable-tcl >configure.log 2>&1 &&
     make sqlite3.c >make.log 2>&1) || { tail -n 40 "$work"/sqlite/*.log; exit 1; }
  # The compile-time options that change behaviour are Debian's own (debian/rules).
  (cd "$work/sqlite" &&
     x86_64-w64-mingw32-gcc-posix -O2 -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_ENABLE_FTS3 \
       -DSQLITE_ENABLE_RTREE -DSQLITE_SECURE_DELETE -DSQLITE_ENABLE_UNLOCK_NOTIFY \
       -DSQLITE_ENABLE_DBSTAT_VTAB -DSQLITE_MAX_SCHEMA_RETRY=25 -DSQLITE_ENABLE_FTS5 \
       -DSQLITE_ENABLE_JSON1 -DSQLITE_THREADSAFE=1 -c sqlite3.c -o sqlite3.o &&
     x86_64-w64-mingw32-ar rcs libsqlite3.a sqlite3.o)
  mkdir -p "$stage/include" "$stage/lib"
  cp "$work/sqlite/sqlite3.h" "$work/sqlite/sqlite3ext.h" "$stage/include/"
  cp "$work/sqlite/libsqlite3.a" "$stage/lib/"
  touch "$work/sqlite.done"
fi

# --- OpenSSL: libcrypto only, static, with its assembler for SHA-256 -------------------------
if [ ! -e "$work/openssl.done" ]; then
  step "OpenSSL ${SOURCES[openssl]}"
  src=$(srcdir openssl)
  rm -rf "$work/openssl" && cp -a "$src" "$work/openssl"
  (cd "$work/openssl" &&
     ./Configure mingw64 --cross-compile-prefix=x86_64-w64-mingw32- --prefix="$stage" \
       --libdir=lib no-shared no-tests no-ui-console no-engine no-module no-dso \
       >configure.log 2>&1 &&
     nice make -j"$jobs" build_generated >make.log 2>&1 &&
     nice make -j"$jobs" libcrypto.a >>make.log 2>&1) || { tail -n 40 "$work"/openssl/*.log; exit 1; }
  mkdir -p "$stage/include/openssl" "$stage/lib"
  cp "$work/openssl"/include/openssl/*.h "$stage/include/openssl/"
  cp "$work/openssl/libcrypto.a" "$stage/lib/"
  touch "$work/openssl.done"
  rm -rf "$work/openssl"
fi

# --- Qt's own translations: the host's catalogues of the same release (they are the same on
# every platform) -----------------------------------------------------------------------------
mkdir -p "$stage/translations"
for lang in ja en; do
  for cat in qt qtbase; do
    cp "/usr/share/qt6/translations/${cat}_$lang.qm" "$stage/translations/"
  done
done

# --- Done: say what is in it, then put it in place whole ---------------------------------------
seconds=$(($(date +%s) - started))
{
  echo "Saroko Windows kit $KIT_VERSION"
  for pkg in qt6-base sqlite3 openssl; do echo "$pkg ${SOURCES[$pkg]}"; done
  echo "compiler $(x86_64-w64-mingw32-g++-posix -dumpversion)"
  echo "built in $seconds s on $(nproc) cores"
} >"$stage/kit.txt.new"
mv "$stage/kit.txt.new" "$stage/kit.txt"
rm -rf "$kit"
mv "$stage" "$kit"
rm -rf "$work"
step "kit complete in $kit ($((seconds / 60)) min $((seconds % 60)) s)"
