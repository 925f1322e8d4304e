#!/usr/bin/env bash
# The English translation of the program's texts (Japanese in the source).
#   tools/translations.sh check    lupdate on a copy: fails when a text has no translation
#   tools/translations.sh update   lupdate into resources/translations/saroko_en.ts
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
ts="$root/resources/translations/saroko_en.ts"
lupdate=${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
run_lupdate() {
  # Core marks its texts with its own names: lupdate reads them as Qt's.
  "$lupdate" -silent -locations none -no-obsolete -source-language ja -target-language en \
    -tr-function-alias QT_TRANSLATE_NOOP+=SAROKO_TRANSLATE_NOOP,translate+=TranslateText,translate+=TranslateFormat \
    -I "$root/src" -extensions cpp,h "$root/src/core" "$root/src/ui" "$root/src/cli" "$root/src/platform" -ts "$1"
}
case "${1:-check}" in
  update)
    run_lupdate "$ts"
    ;;
  check)
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    cp "$ts" "$tmp/saroko_en.ts"
    run_lupdate "$tmp/saroko_en.ts"
    missing=$(grep -c 'type="unfinished"' "$tmp/saroko_en.ts" || true)
    if [ "$missing" -ne 0 ]; then
      echo "translations: $missing text(s) without an English translation:"
      grep -B2 'type="unfinished"' "$tmp/saroko_en.ts" | grep '<source>' | sed 's/^ *//'
      exit 1
    fi
    echo "translations: every text has its English translation"
    ;;
  *) echo "usage: $0 check|update" >&2; exit 2 ;;
esac
