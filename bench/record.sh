#!/usr/bin/env bash
# Live pings per second: tidemar-cli record against tidemar-headsim answering as fast as
# it can on loopback (127.0.0.82). Usage: bench/record.sh BUILD-DIR [PINGS]
set -euo pipefail
build=$1
pings=${2:-20000}
work=$(mktemp -d)
trap 'kill $head 2>/dev/null; rm -rf "$work"' EXIT
"$build/tools/headsim/tidemar-headsim" --address 127.0.0.82 --seed 1 2>"$work/head.err" &
head=$!
for _ in $(seq 100); do grep -q listening "$work/head.err" && break; sleep 0.05; done
printf '[Settings]\nIPAddress_Sonar1=127.0.0.82\nGridMode=1\nRange=9\n' >"$work/bench.ini"
start=$(date +%s.%N)
"$build/src/app/tidemar-cli" record --settings "$work/bench.ini" --pings "$pings" --out "$work/bench.K7T" 2>/dev/null
end=$(date +%s.%N)
awk -v n="$pings" -v s="$start" -v e="$end" \
    'BEGIN { printf "record: %d pings in %.2f s = %.0f pings/s (live, loopback, headless)\n", n, e - s, n / (e - s) }'
cp "$work/bench.K7T" "$build/bench-large.K7T"
