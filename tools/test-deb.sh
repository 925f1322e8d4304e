#!/usr/bin/env bash
# Installs the Debian package into this machine as a user would (dpkg -i), uses the installed
# programs, removes the package again (dpkg --purge) and checks that nothing of it is left and
# that no user data was touched. A saroko package already installed here is put back as it was.
# Usage: test-deb.sh [PACKAGE.deb]   (without one, tools/package-deb.sh builds it first)
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup-deb-deps.sh
version=$(sed -n 's/^project(Saroko VERSION \([0-9.]*\)[ )].*/\1/p' CMakeLists.txt)
if [ $# -gt 0 ]; then
  deb=$(realpath "$1")
else
  ./tools/package-deb.sh
  deb=$PWD/build/deb/saroko_${version}-1_$(dpkg-architecture -qDEB_HOST_ARCH).deb
fi
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

work=$(mktemp -d /tmp/saroko-test-deb.XXXXXX)
failures=0 checks=0
check() { # what, command...
  local what=$1
  shift
  checks=$((checks + 1))
  if "$@" >"$work/out" 2>&1; then echo "ok: $what"; else
    echo "FAIL: $what"
    sed 's/^/  /' "$work/out"
    failures=$((failures + 1))
  fi
}

# What the user of this run already has in saroko's settings, data and cache places: at the
# end every one of those files must still be there. (Their bytes are not compared: on a shared
# machine the user's own programs may be writing them meanwhile; the programs of this test use
# a home of their own, whose files are compared byte for byte.)
user_places=("${XDG_CONFIG_HOME:-$HOME/.config}/saroko" "${XDG_DATA_HOME:-$HOME/.local/share}/saroko"
             "${XDG_CACHE_HOME:-$HOME/.cache}/saroko")
user_state() {
  for p in "${user_places[@]}"; do
    [ -e "$p" ] && find "$p" -type f | sort
  done
  return 0
}
user_state > "$work/user-before"

# A saroko installed here before is rebuilt from its installed files and put back at the end.
previous=$(dpkg-query -W -f='${db:Status-Status}' saroko 2>/dev/null || true)
if [ "$previous" = installed ]; then
  (cd "$work" && $SUDO dpkg-repack saroko >/dev/null)
  echo "saroko $(dpkg-query -W -f='${Version}' saroko) was installed; it is put back afterwards"
fi
restore() {
  status=$?
  if dpkg-query -W -f='${db:Status-Status}' saroko 2>/dev/null | grep -qv not-installed; then
    $SUDO dpkg --purge saroko >/dev/null || status=1
  fi
  if [ "$previous" = installed ]; then
    $SUDO dpkg -i "$work"/saroko_*.deb >/dev/null ||
      { echo "FAIL: the saroko installed before did not go back"; status=1; }
  fi
  rm -rf "$work"
  exit $status
}
trap restore EXIT

[ "$previous" = installed ] && $SUDO dpkg --purge saroko >/dev/null
$SUDO dpkg -i "$deb"
dpkg-query -L saroko | sort > "$work/files"

# The installed programs, run in a home of their own: their settings, archive and kept files go
# there, never to the user's.
home=$work/home
mkdir -p "$home" && chmod 700 "$home"
run=(env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME -u XDG_DATA_DIRS -u DISPLAY
     HOME="$home" XDG_RUNTIME_DIR="$home" TZ=Asia/Tokyo LC_ALL=C.UTF-8)
says() { # expected output, command...
  local expected=$1
  shift
  local got
  got=$("${run[@]}" "$@") || return 1
  [ "$got" = "$expected" ] || { echo "said: $got"; return 1; }
}
holds_line() { # line, command...
  local line=$1
  shift
  "${run[@]}" "$@" > "$work/said" && grep -qxF -- "$line" "$work/said" || { cat "$work/said"; return 1; }
}
is_png() { file "$1" | grep -q "PNG image data"; }
hashes() { (cd "$1" && find . -type f -exec sha256sum {} + | sort); }

check "saroko-cli --version" says "saroko-cli $version" /usr/bin/saroko-cli --version
check "saroko-cli demo" "${run[@]}" /usr/bin/saroko-cli demo -o "$home/demo.klg"
check "saroko-cli info of the demo" holds_line "  samples    1440" /usr/bin/saroko-cli info "$home/demo.klg"
check "km41-sim --help" holds_line "usage: km41-sim [OPTIONS]" /usr/bin/km41-sim --help
check "the MIME database names *.klg application/x-saroko-klg" \
  grep -qx '50:application/x-saroko-klg:\*\.klg' /usr/share/mime/globs2
check "xdg-mime opens a .klg file with Saroko" says saroko.desktop \
  xdg-mime query default application/x-saroko-klg
check "man finds the three pages" "${run[@]}" man -w saroko saroko-cli km41-sim
check "the installed pages name the installed programs' options" \
  bash tests/tools/man-pages-test.sh /usr/bin /usr/share/man/man1
check "saroko --screenshot under Xvfb" "${run[@]}" xvfb-run -a -s "-screen 0 1280x1024x24" \
  /usr/bin/saroko --screenshot "$home/shot.png" "$home/demo.klg"
check "the screenshot is a PNG picture" is_png "$home/shot.png"
[ -z "${SAROKO_KEEP_SCREENSHOT:-}" ] || cp "$home/shot.png" "$SAROKO_KEEP_SCREENSHOT"
hashes "$home" > "$work/home-before"

$SUDO dpkg --purge saroko
# Every file of the package is gone; a folder stays only when another package owns it too.
nothing_left() {
  local path left=0
  while read -r path; do
    [ "$path" = /. ] && continue
    if [ -d "$path" ] && [ ! -L "$path" ]; then
      dpkg-query -S "$path" >/dev/null 2>&1 || { echo "folder left: $path"; left=1; }
    elif [ -e "$path" ] || [ -L "$path" ]; then
      echo "file left: $path"
      left=1
    fi
  done < "$work/files"
  # The caches the package's triggers made from its files.
  [ ! -e /usr/share/mime/application/x-saroko-klg.xml ] || { echo "MIME type left"; left=1; }
  ! grep -qs saroko /usr/share/applications/mimeinfo.cache || { echo "desktop entry left"; left=1; }
  return $left
}
check "dpkg --purge leaves nothing of the package" nothing_left
check "the purge leaves the run's own data alone" cmp <(hashes "$home") "$work/home-before"
still_there() { local f; while read -r f; do [ -f "$f" ] || { echo "gone: $f"; return 1; }; done < "$1"; }
check "the user's settings, data and cache are all still there" still_there "$work/user-before"
echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
