#!/usr/bin/env bash
# tidemar-cli render against the golden renders of tests/data/render, and its errors.
# Usage: RenderGoldenTest.sh TIDEMAR-CLI DATA-DIR
set -u
cli=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
pass() { echo "ok   $*"; }

for case in "$data"/*.ini; do
    name=$(basename "$case" .ini)
    if ! "$cli" render "$data/$name.K7T" --out "$work/$name" --settings "$case" --every 50 2>"$work/$name.err"; then
        fail "$name: render failed"; cat "$work/$name.err"; continue
    fi
    got=$(cd "$work/$name" && sha256sum final.bmp | cut -d' ' -f1)
    [ "$got" = "$(cat "$data/$name.sha256")" ] && pass "$name: picture as golden" ||
        fail "$name: picture differs from golden (regenerate on purpose with tests/data/render/regenerate.sh)"
    [ -f "$work/$name/000050.bmp" ] && [ "$(stat -c %s "$work/$name/000050.bmp")" -eq 302654 ] &&
        pass "$name: frame every 50 pings" || fail "$name: no 000050.bmp of 302654 bytes"
done

"$cli" render "$work/missing.K7T" --out "$work/x" --settings "$data/sector.ini" 2>"$work/err"
[ $? -eq 2 ] && [ "$(wc -l <"$work/err")" -eq 1 ] && pass "missing file: one line, exit 2" || fail "missing file"
head -c 5000 /dev/urandom | tr -d 'K' >"$work/noise.K7T"
"$cli" render "$work/noise.K7T" --out "$work/x" --settings "$data/sector.ini" 2>"$work/err"
[ $? -eq 2 ] && [ "$(wc -l <"$work/err")" -eq 1 ] && pass "damaged file: one line, exit 2" || fail "damaged file"
"$cli" render "$data/sector.K7T" 2>/dev/null
[ $? -eq 2 ] && pass "missing --out is a usage error" || fail "missing --out"

[ "$failures" -eq 0 ]
