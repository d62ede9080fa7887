#!/usr/bin/env bash
# Test lines against product lines, each counted without blank and comment lines in the files git
# tracks: tests/ against src/ and tools/. The tests are meant to stay at a quarter to a third of
# all code lines, at most 0.55 times the product; above that it fails.
set -euo pipefail
cd "$(dirname "$0")/.."

# Comments are // and /* */ in C, C++ and JavaScript sources, # lines everywhere else. Lock files
# are written by npm, not by us.
count() {
  git ls-files -- "$@" | while read -r file; do
    [ -f "$file" ] || continue
    case "$file" in
      *-lock.json) continue ;;
      *.cpp | *.h | *.c | *.idl | *.rc | *.in | *.js) style=c ;;
      *) style=hash ;;
    esac
    awk -v style="$style" '
      { line = $0; sub(/^[ \t\r]+/, "", line); sub(/[ \t\r]+$/, "", line) }
      line == "" { next }
      style == "c" && in_block { if (line ~ /\*\//) in_block = 0; next }
      style == "c" && line ~ /^\/\// { next }
      style == "c" && line ~ /^\/\*/ { if (line !~ /\*\//) in_block = 1; next }
      style == "hash" && line ~ /^#/ { next }
      { n++ }
      END { print n + 0 }' "$file"
  done | awk '{ total += $1 } END { print total + 0 }'
}

tests=$(count tests)
product=$(count src tools)
# Fails when the tests outgrow the limit, so that CI keeps them to it.
awk -v t="$tests" -v p="$product" 'BEGIN {
  ratio = t / p
  printf "tests %d, product (src/ and tools/) %d: tests are %.3f times the product, %.0f%% of all code lines\n",
    t, p, ratio, 100 * t / (t + p)
  if (ratio > 0.55) {
    print "code-ratio: tests are more than 0.55 times the product; fold or drop tests before adding more" > "/dev/stderr"
    exit 1
  }
}'
