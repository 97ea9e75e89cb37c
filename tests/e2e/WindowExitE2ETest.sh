#!/usr/bin/env bash
# How the `tidemar` window ends when nobody is at it, offscreen, against `tidemar-headsim`
# on 127.0.0.111: --quit-after in FILE mode does not wait on the playback file dialog, and
# SIGTERM, SIGINT and SIGHUP close the window as its close box does (settings written,
# exit status 0), also while a dialog is open.
# Usage: WindowExitE2ETest.sh TIDEMAR TIDEMAR-HEADSIM
set -u
window=$1
HEADSIM=$2
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../support/harness.sh"
harness_workdir
export QT_QPA_PLATFORM=offscreen
address=127.0.0.111
# Sanitizer builds start the window slowly.
startup=${TIDEMAR_DRILL_WINDOW_SECONDS:-3}

keys() { grep -o -E '^[A-Za-z0-9_]+=' "$1" | sort; }

# The keys a normal close writes: the reference for every other run.
mkdir -p "$work/normal"
write_settings "$work/normal/TIDEMAR.INI" 127.0.0.112
(cd "$work/normal" && exec "$window" --quit-after 0.5) >"$work/normal.out" 2>&1
all_keys=$(keys "$work/normal/TIDEMAR.INI")
[ "$(echo "$all_keys" | wc -l)" -gt 40 ] || fail "a normal close wrote only $(echo "$all_keys" | wc -l) keys"

# settings_written NAME FOLDER KEY=VALUE: every key there, the one given with its value.
settings_written() {
    local ini=$2/TIDEMAR.INI
    check "$1: every setting written" "$all_keys" "$(keys "$ini")"
    grep -q -x "$3"$'\r\\?' "$ini" || fail "$1: $3 not kept"
}

# --- 1. FILE mode with --quit-after: the playback dialog is reported and skipped, the
#        timer ends the run; also with a screenshot.
unattended() {  # NAME OPTIONS...
    local name=$1; shift
    mkdir -p "$work/$name"
    write_settings "$work/$name/TIDEMAR.INI" "$address" RunMode=1 Gain=19
    local started status=0 took
    started=$(date +%s.%N)
    (cd "$work/$name" && exec timeout 20 "$window" "$@") >"$work/$name.out" 2>"$work/$name.err" || status=$?
    took=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
    check "$name: exit status" 0 "$status"
    if awk -v t="$took" 'BEGIN { exit !(t <= 3) }'; then pass "$name: ended after $took s"; else fail "$name: took $took s"; fi
    grep -q 'file dialog "Open a Sonar File For Playback" not shown: cancelled' "$work/$name.err" ||
        { fail "$name: the skipped dialog is not reported"; cat "$work/$name.err"; }
    settings_written "$name" "$work/$name" RunMode=1
}
unattended file-quit --quit-after 1
unattended file-shot --screenshot "$work/shot.png" --quit-after 1
if [ -s "$work/shot.png" ]; then
    check "file-shot: the screenshot's name printed" "$work/shot.png" "$(cat "$work/file-shot.out")"
else
    fail "file-shot: no screenshot"
fi

# A configuration file that is a directory: the built-in table stands in, and stderr says so.
mkdir -p "$work/refused/table.dir"
write_settings "$work/refused/TIDEMAR.INI" "$address" RunMode=1 ConfigFile=table.dir
(cd "$work/refused" && exec timeout 20 "$window" --quit-after 0.5) >/dev/null 2>"$work/refused.err"
check "refused configuration: told on stderr" \
    "tidemar: warning: configuration file $work/refused/table.dir: not a regular file; the built-in table is used" \
    "$(grep '^tidemar: warning' "$work/refused.err")"

# --- 2. A signal to a running window. Where the window asks (no --quit-after), FILE mode
#        sits in the playback file dialog. Started with the default actions, as from a
#        terminal (a shell's background job ignores SIGINT).
signalled() {  # NAME SIGNAL RUNMODE
    local name=$1 signal=$2 mode=$3
    mkdir -p "$work/$name"
    write_settings "$work/$name/TIDEMAR.INI" "$address" RunMode="$mode" Gain=23
    (cd "$work/$name" && exec env --default-signal=HUP,INT,TERM "$window") >"$work/$name.out" 2>&1 &
    local pid=$! status=0
    track "$pid"
    if [ "$mode" = 0 ]; then
        wait_until "$startup" grown_to "$work/head.log" $((log_size + 1)) || fail "$name: the window never pinged"
    else
        sleep "$startup"
    fi
    kill -"$signal" "$pid"
    wait_until 5 stopped "$pid" || { fail "$name: still running 5 s after SIG$signal"; return; }
    wait "$pid" || status=$?
    check "$name: exit status" 0 "$status"
    grep -q "closing" "$work/$name.out" || fail "$name: the signal is not reported"
    settings_written "$name" "$work/$name" Gain=23
    log_size=$(stat -c %s "$work/head.log")
}
head_logs=1
start_head head "$address" --seed 7 || exit 1
log_size=0
signalled head-term TERM 0
signalled head-int INT 0
signalled head-hup HUP 0
signalled dialog-term TERM 1

finish
