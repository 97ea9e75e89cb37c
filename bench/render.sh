#!/usr/bin/env bash
# Playback rendering throughput: tidemar-cli render of the file bench/record.sh recorded
# (20,000 Polar pings at 50 m). Usage: bench/render.sh BUILD-DIR
set -euo pipefail
build=$1
file="$build/bench-large.K7T"
[ -f "$file" ] || { echo "render: run bench/record.sh first"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '[Settings]\nGridMode=1\nRange=9\nGrid=1\n' >"$work/bench.ini"
start=$(date +%s.%N)
"$build/src/app/tidemar-cli" render "$file" --out "$work/out" --settings "$work/bench.ini" 2>"$work/err"
end=$(date +%s.%N)
pings=$(sed -n 's/^rendered \([0-9]*\) pings into.*/\1/p' "$work/err")
awk -v n="$pings" -v s="$start" -v e="$end" \
    'BEGIN { printf "render: %d pings in %.2f s = %.0f pings/s (playback, headless, Polar 50 m)\n", n, e - s, n / (e - s) }'
