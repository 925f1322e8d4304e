#!/usr/bin/env bash
# Builds the Debian package saroko_VERSION-1_ARCH.deb into build/deb/ with debhelper (debian/),
# from a copy of the files git tracks, so what the working tree has built never leaks in; the
# network is cut for the build. Then checks it as Debian's archive would: lintian --pedantic,
# desktop-file-validate and appstreamcli validate. Prints the package's path last.
# The version is project()'s in CMakeLists.txt; debian/changelog is written from it here.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup-deb-deps.sh

version=$(sed -n 's/^project(Saroko VERSION \([0-9.]*\)[ )].*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package-deb.sh: no version in CMakeLists.txt's project()" >&2; exit 1; }
revision=1
out=$PWD/build/deb
stage=$out/src/saroko-$version
rm -rf "$out"
mkdir -p "$stage"

# The tracked files as they are in the working tree; outside git, the tree without its builds.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    tar --null -T - -cf - | tar -xf - -C "$stage"
  when=$(git log -1 --format=%cD 2>/dev/null || date -R)
else
  tar --exclude='./build*' --exclude=./debian/changelog -cf - . | tar -xf - -C "$stage"
  when=$(date -R)
fi
maintainer=$(sed -n 's/^Maintainer: //p' debian/control)
cat > "$stage/debian/changelog" <<CHANGELOG
saroko ($version-$revision) unstable; urgency=medium

  * Saroko $version (docs/CHANGES.md says what it holds).

 -- $maintainer  $when
CHANGELOG

# ccache when it is there, as in .ci/run's plain build; its store and settings are passed on,
# since debhelper gives the build a home of its own.
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
  export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
  CCACHE_DIR=$(ccache -k cache_dir) CCACHE_BASEDIR=$(ccache -k base_dir)
  export CCACHE_DIR CCACHE_BASEDIR
fi
# Nothing may come from the network: the build runs in a network namespace of its own.
cut=()
if unshare --net true 2>/dev/null; then
  cut=(unshare --net)
elif unshare --map-root-user --net true 2>/dev/null; then
  cut=(unshare --map-root-user --net)
fi
if [ ${#cut[@]} -gt 0 ]; then
  echo "Building with the network cut (${cut[*]})"
else
  echo "package-deb.sh: cannot cut the network here (unshare); building with it" >&2
fi
started=$(date +%s)
(cd "$stage" && DEB_BUILD_OPTIONS="parallel=2 ${DEB_BUILD_OPTIONS:-}" \
  nice -n 10 "${cut[@]}" dpkg-buildpackage -b -uc -us)
mv "$out"/src/*.deb "$out"/src/*.buildinfo "$out"/src/*.changes "$out"/
echo "Built in $(( $(date +%s) - started )) s"

arch=$(dpkg-architecture -qDEB_HOST_ARCH)
deb=$out/saroko_${version}-${revision}_${arch}.deb
[ -f "$deb" ] || { echo "package-deb.sh: $deb was not made" >&2; exit 1; }

# Debian's checks, on the package as built.
lintian --pedantic --display-info --fail-on error,warning "$deb"
unpacked=$out/unpacked
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
appstreamcli validate --no-net --pedantic "$unpacked"/usr/share/metainfo/*.xml
echo "$deb ($(stat -c %s "$deb") bytes)"
