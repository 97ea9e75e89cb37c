#!/usr/bin/env bash
# Live pings per second: tidemar-cli record against tidemar-headsim answering as fast as
# it can on loopback (127.0.0.82). Usage: bench/record.sh BUILD-DIR [PINGS]
set -euo pipefail
build=$1
pings=${2:-20000}
HEADSIM=$build/tools/headsim/tidemar-headsim
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../tests/support/harness.sh"
harness_workdir
start_head head 127.0.0.82 --seed 1
write_settings "$work/bench.ini" 127.0.0.82 GridMode=1 Range=9
start=$(date +%s.%N)
"$build/src/app/tidemar-cli" record --settings "$work/bench.ini" --pings "$pings" --out "$work/bench.K7T" 2>/dev/null
end=$(date +%s.%N)
awk -v n="$pings" -v s="$start" -v e="$end" \
    'BEGIN { printf "record: %d pings in %.2f s = %.0f pings/s (live, loopback, headless)\n", n, e - s, n / (e - s) }'
cp "$work/bench.K7T" "$build/bench-large.K7T"
