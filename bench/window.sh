#!/usr/bin/env bash
# Figures of the window, offscreen: start-up to the first painted window, live pings/s
# against tidemar-headsim answering as fast as it can (display and recording on), playback
# pings/s of the file bench/record.sh recorded, CPU at about 50 pings/s and when idle, and
# the peak memory of each run; the latency from a reply to the paint that shows it at about
# 50 pings/s, at 100% and 200% zoom in the day and night colours, and the CPU at 200%.
# Heads on loopback 127.0.0.80; nothing listens on .81.
# Usage: bench/window.sh BUILD-DIR
set -euo pipefail
build=$1
bench=$build/bench/tidemar-bench-window
HEADSIM=$build/tools/headsim/tidemar-headsim
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../tests/support/harness.sh"
harness_workdir
start_head head 127.0.0.80 --seed 1
for _ in 1 2 3; do "$bench" startup 127.0.0.80; done
"$bench" live 127.0.0.80 10
if [ -f "$build/bench-large.K7T" ]; then "$bench" playback "$build/bench-large.K7T" 5; fi
"$bench" cpu paced 127.0.0.80 20
TIDEMAR_BENCH_KEYS='WindowZoom=200' "$bench" cpu paced 127.0.0.80 20
for zoom in 100 200; do
    for colours in day night; do "$bench" latency 127.0.0.80 2000 "$zoom" "$colours"; done
done
"$bench" cpu hold 127.0.0.80 20
"$bench" cpu disconnected 127.0.0.81 20
"$bench" cpu nofile 127.0.0.81 20
