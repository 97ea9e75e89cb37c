#!/usr/bin/env bash
# tidemar-cli render against the golden renders of tests/data/render, and its errors.
# A golden render is the SHA-256 of the picture (DATA-DIR/NAME.sha256) rendered from the
# recording beside it. A picture that differs is kept in KEEP-DIR (the build tree) for a
# look. When a change of the picture is meant, regenerate the goldens on purpose with
#   tests/data/render/regenerate.sh BUILD-DIR
# and review its pictures before committing the new recordings and digests.
# Usage: RenderGoldenTest.sh TIDEMAR-CLI DATA-DIR KEEP-DIR
set -u
cli=$1
data=$2
keep=$3
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../support/harness.sh"
harness_workdir
mkdir -p "$keep"

for case in "$data"/*.ini; do
    name=$(basename "$case" .ini)
    rm -f "$keep/$name.bmp"
    if ! "$cli" render "$data/$name.K7T" --out "$work/$name" --settings "$case" --every 50 2>"$work/$name.err"; then
        fail "$name: render failed"; cat "$work/$name.err"; continue
    fi
    got=$(cd "$work/$name" && sha256sum final.bmp | cut -d' ' -f1)
    if [ "$got" = "$(cat "$data/$name.sha256")" ]; then
        pass "$name: picture as golden"
    else
        cp "$work/$name/final.bmp" "$keep/$name.bmp"
        fail "$name: picture differs from golden $data/$name.sha256 (SHA-256 $got); kept at $keep/$name.bmp" \
             "(if the change is meant, regenerate on purpose with tests/data/render/regenerate.sh)"
    fi
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

finish
