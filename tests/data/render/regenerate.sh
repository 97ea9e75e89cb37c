#!/usr/bin/env bash
# Remakes the golden renders on purpose: records each case from tidemar-headsim (fixed
# seed, loopback 127.0.0.40) with tidemar-cli record, renders it with tidemar-cli render,
# and stores the recording and the SHA-256 of the rendered picture here. Review the new
# pictures (they are left in $out) before committing the new digests.
# Usage: tests/data/render/regenerate.sh BUILD-DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
cli="$build/src/app/tidemar-cli"
HEADSIM="$build/tools/headsim/tidemar-headsim"
# shellcheck source=tests/support/harness.sh
source "$here/../../support/harness.sh"
out=$(mktemp -d)
work=$out  # kept: the new pictures are there to be reviewed
start_head head 127.0.0.40 --seed 42

for case in "$here"/*.ini; do
    name=$(basename "$case" .ini)
    pings=$(sed -n 's/^; pings=//p' "$case")
    sed 's/^IPAddress_Sonar1=.*/IPAddress_Sonar1=127.0.0.40/' "$case" >"$out/$name.ini"
    "$cli" record --settings "$out/$name.ini" --pings "$pings" --out "$here/$name.K7T" 2>/dev/null
    "$cli" render "$here/$name.K7T" --out "$out/$name" --settings "$case" 2>/dev/null
    (cd "$out/$name" && sha256sum final.bmp | cut -d' ' -f1) >"$here/$name.sha256"
    echo "$name: $pings pings, picture in $out/$name/final.bmp"
done
