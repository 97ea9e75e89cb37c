#!/usr/bin/env bash
# Playback rendering throughput: tidemar-cli render of the file bench/record.sh recorded
# (20,000 Polar pings at 50 m). Usage: bench/render.sh BUILD-DIR
set -euo pipefail
build=$1
file="$build/bench-large.K7T"
[ -f "$file" ] || { echo "render: run bench/record.sh first"; exit 0; }
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../tests/support/harness.sh"
harness_workdir
# Rendering dials nothing; the head address is the one the file was recorded from.
write_settings "$work/bench.ini" 127.0.0.82 GridMode=1 Range=9 Grid=1
start=$(date +%s.%N)
"$build/src/app/tidemar-cli" render "$file" --out "$work/out" --settings "$work/bench.ini" 2>"$work/err"
end=$(date +%s.%N)
pings=$(sed -n 's/^rendered \([0-9]*\) pings into.*/\1/p' "$work/err")
awk -v n="$pings" -v s="$start" -v e="$end" \
    'BEGIN { printf "render: %d pings in %.2f s = %.0f pings/s (playback, headless, Polar 50 m)\n", n, e - s, n / (e - s) }'
