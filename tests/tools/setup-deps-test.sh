#!/usr/bin/env bash
# tools/setup-deps.sh on this machine, where ./test has installed everything: it must run
# neither apt-get nor sudo (both fail loudly here). And with one package reported missing, it
# installs just that one, through sudo for a user who is not root.
# Usage: setup-deps-test.sh SOURCE_DIR
set -euo pipefail
script=$1/tools/setup-deps.sh
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
calls=$fake/calls
# Each records its call; unless FAKE_APT_OK is set, each then fails.
cat > "$fake/apt-get" <<FAKE
#!/bin/sh
echo "apt-get \$*" >> "$calls"
[ -n "\${FAKE_APT_OK:-}" ] || { echo "fake apt-get: must not run" >&2; exit 97; }
FAKE
cat > "$fake/sudo" <<FAKE
#!/bin/sh
echo "sudo \$*" >> "$calls"
[ -n "\${FAKE_APT_OK:-}" ] || { echo "fake sudo: must not run" >&2; exit 97; }
exec "\$@"
FAKE
printf '#!/bin/sh\n[ "$1" = -u ] && echo 1000 && exit 0\nexec /usr/bin/id "$@"\n' > "$fake/id"
mkdir "$fake/missing"
cat > "$fake/missing/dpkg-query" <<FAKE
#!/bin/sh
for a; do last=\$a; done
[ "\$last" = qt6-serialport-dev ] && exit 1
exec $(command -v dpkg-query) "\$@"
FAKE
chmod +x "$fake"/* "$fake/missing/dpkg-query"

fail() { echo "FAIL: $*"; cat "$fake/out"; [ -f "$calls" ] && sed 's/^/  called: /' "$calls"; exit 1; }

PATH="$fake:$PATH" "$script" > "$fake/out" 2>&1 || fail "setup-deps.sh failed with everything installed"
[ -f "$calls" ] && fail "apt-get or sudo ran with everything installed"

# One package unknown to dpkg: only that one is installed.
PATH="$fake/missing:$fake:$PATH" FAKE_APT_OK=1 "$script" > "$fake/out" 2>&1 || fail "the install failed"
grep -qx "sudo apt-get install -y --no-install-recommends qt6-serialport-dev" "$calls" ||
  fail "the missing package was not installed alone through sudo"
echo "2 passed, 0 failed"
