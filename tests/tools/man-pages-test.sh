#!/usr/bin/env bash
# The manual pages against the programs they describe: each page's OPTIONS (for saroko-cli
# also each verb's subsection of COMMANDS, and the verbs and subcommands themselves) names
# exactly the options the program's --help names, saroko-cli's parser takes every option its
# --help names, and man reads every page without a warning.
# Usage: man-pages-test.sh BIN_DIR MAN_DIR   (MAN_DIR holds saroko.1 or saroko.1.gz, ...)
set -euo pipefail
bin=$1
man=$2
failures=0 checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

page_text() { # the page's text with the comments, font changes and escaped minus signs gone
  local f=$man/$1.1
  [ -f "$f" ] || f=$f.gz
  zcat -f "$f" | sed -e '/^\.\\"/d' -e 's/\\f[BIRP]//g' -e 's/\\-/-/g'
}
# Options as words: "-o" and "--from", but not the "-cli" of "saroko-cli" or the "-1" of "N-1".
options_in() { grep -oE -- '(^|[^A-Za-z0-9-])--?[a-z][a-z0-9-]*' | sed -E 's/^[^-]*//' | sort -u; }
# The lines of a section, from the line matching $1 to the next line matching $2.
section() { awk -v start="$1" -v stop="$2" '$0 ~ start {on = 1; next} on && $0 ~ stop {exit} on'; }

same() { # what, expected (from --help), found (in the page)
  checks=$((checks + 1))
  [ "$2" = "$3" ] && return
  fail "$1: --help and the page differ"
  diff <(echo "$2") <(echo "$3") | sed -n 's/^</  only in --help:/p; s/^>/  only in the page:/p'  || true
}

# The programs' OPTIONS, for the two without verbs.
for prog in saroko km41-sim; do
  same "$prog options" "$("$bin/$prog" --help | options_in)" \
    "$(page_text "$prog" | section '^\.SH OPTIONS' '^\.SH ' | options_in)"
done

# saroko-cli: the options before the verb, then each verb's subsection.
cli=$bin/saroko-cli
text=$(page_text saroko-cli)
same "saroko-cli options" "$("$cli" --help | options_in)" \
  "$(section '^\.SH OPTIONS' '^\.SH ' <<<"$text" | options_in)"
commands=$(section '^\.SH COMMANDS' '^\.SH ' <<<"$text")
verbs=$("$cli" --help | section '^verbs:' '^$' | awk '{print $1}' | sort)
same "saroko-cli verbs" "$verbs" "$(sed -n 's/^\.SS //p' <<<"$commands" | sort)"
for verb in $verbs; do
  usage=$("$cli" "$verb" --help)
  sub=$(section "^\\.SS $verb\$" '^\.S[SH] ' <<<"$commands")
  same "saroko-cli $verb options" "$(options_in <<<"$usage")" "$(options_in <<<"$sub")"
  # A verb of subcommands lists each at the start of a line of its usage, and as a tag
  # (the line after .TP) in the page.
  if grep -q SUBCOMMAND <<<"$usage"; then
    same "saroko-cli $verb subcommands" "$(grep -oE '^  [a-z]+' <<<"$usage" | tr -d ' ' | sort)" \
      "$(awk 'tag {sub(/^\.BR? /, ""); print $1} {tag = ($0 == ".TP")}' <<<"$sub" | sort)"
  fi
done

# And each option a verb's --help names is one its parser takes (for a verb of subcommands,
# one of them): without a value it is refused as missing its value or the verb's files, never
# as unknown. The runs keep to a scratch home and leave the archive alone.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
global=$("$cli" --help | options_in)
for verb in $verbs; do
  usage=$("$cli" "$verb" --help)
  subs=$(grep -q SUBCOMMAND <<<"$usage" && grep -oE '^  [a-z]+' <<<"$usage" | tr -d ' ' || echo "")
  for option in $(comm -23 <(options_in <<<"$usage") <(echo "$global")); do
    checks=$((checks + 1))
    known=0
    for sub in ${subs:-""}; do
      said=$(HOME=$scratch XDG_CONFIG_HOME=$scratch XDG_DATA_HOME=$scratch XDG_CACHE_HOME=$scratch \
             timeout 30 "$cli" --no-archive "$verb" $sub "$option" 2>&1 </dev/null || true)
      grep -q "unknown option $option\$" <<<"$said" || known=1
    done
    [ "$known" = 1 ] || fail "saroko-cli $verb: --help names $option, which it does not take"
  done
done

# man formats every page without a complaint.
for prog in saroko saroko-cli km41-sim; do
  checks=$((checks + 1))
  f=$man/$prog.1
  [ -f "$f" ] || f=$f.gz
  warnings=$(MANWIDTH=80 man --warnings -l "$f" 2>&1 >/dev/null) || fail "man $prog.1 failed"
  [ -z "$warnings" ] || fail "man --warnings $prog.1: $warnings"
done

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
