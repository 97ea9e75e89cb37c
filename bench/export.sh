#!/usr/bin/env bash
# Export: records/s of the writers on one core (tidemar-bench-export), then the wall time
# of tidemar-cli export of 8 files of 200,000 records each (CSV), --jobs 1 against one
# thread per core. The 8 inputs are links to one file, so they come from the page cache
# and the figures are those of the program, not of the disk.
# Usage: bench/export.sh BUILD-DIR (needs /usr/bin/time for the memory figure)
set -euo pipefail
build=$1
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../tests/support/harness.sh"
harness_workdir
"$build/bench/tidemar-bench-export" --benchmark_min_time=0.5 2>&1 | grep -E "^(ExportFormat|Run|---)" || true

"$build/bench/tidemar-bench-export" --make "$work/survey.K7T" 200000
files=()
for name in a b c d e f g h; do
    ln "$work/survey.K7T" "$work/$name.K7T"
    files+=("$work/$name.K7T")
done
cat "$work/survey.K7T" >/dev/null
run() {  # JOBS
    local start end
    start=$(date +%s.%N)
    "$build/src/app/tidemar-cli" export "${files[@]}" --format csv --out-dir "$work/out-$1" --jobs "$1" \
        --settings "$work/none.ini" 2>/dev/null
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }'
}
run 1 >/dev/null  # warm-up
one=$(run 1)
all=$(run "$(nproc)")
awk -v one="$one" -v all="$all" -v cores="$(nproc)" 'BEGIN {
    printf "export: 8 files x 200,000 records to CSV: %.2f s with --jobs 1, %.2f s with --jobs %d (%.0f%%), %.0f records/s with all cores\n",
           one, all, cores, 100 * all / one, 1600000 / all }'

# Memory stays flat: peak resident size of one export of a file five times as long.
"$build/bench/tidemar-bench-export" --make "$work/long.K7T" 1000000
for format in csv gpx; do
    /usr/bin/time -f "%e %M" -o "$work/time" "$build/src/app/tidemar-cli" export "$work/long.K7T" --format $format \
        --out "$work/long.$format" --settings "$work/none.ini" 2>/dev/null
    read -r seconds peak <"$work/time"
    awk -v f=$format -v s="$seconds" -v m="$peak" -v b="$(stat -c %s "$work/long.K7T")" \
        'BEGIN { printf "export: 1,000,000 records (%.0f MB) to %s in %.2f s, %.0f records/s, peak memory %.1f MB\n", b / 1e6, f, s, 1e6 / s, m / 1024 }'
done
