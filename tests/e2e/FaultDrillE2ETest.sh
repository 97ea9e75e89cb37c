#!/usr/bin/env bash
# Fault drills: `tidemar-cli record` and the `tidemar` window against a misbehaving
# `tidemar-headsim` on loopback addresses 127.0.0.69 .. 127.0.0.79, one address per case.
# After each fault the tool goes on (or starts again cleanly), the recording verifies,
# and every good reply the head sent is recorded exactly once.
# Usage: FaultDrillE2ETest.sh TIDEMAR-CLI TIDEMAR-HEADSIM [TIDEMAR]
set -u
cli=$1
CLI=$cli
HEADSIM=$2
window=${3:-}
# The window's drills are left out where TIDEMAR_DRILL_WINDOW=0: under ThreadSanitizer the
# uninstrumented Qt painting threads make it too slow to mean anything (the window's live
# pings are checked under ThreadSanitizer by the window tests instead).
[ "${TIDEMAR_DRILL_WINDOW:-1}" = 0 ] && window=""
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../support/harness.sh"
harness_workdir
harness_on_exit 'mountpoint -q "$work/small" 2>/dev/null && umount "$work/small"'
head_options=(--seed 7)
now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }

# numbered_head NAME ADDRESS [headsim options...]: starts a head (its pid in $head_pid) and
# waits until it listens. Every head of a name logs to its own file NAME.N.log.
numbered_head() {
    local name=$1 address=$2; shift 2
    local n=1
    while [ -e "$work/$name.$n.log" ]; do n=$((n + 1)); done
    : >"$work/$name.$n.log"
    start_head "$name.$n" "$address" --log "$work/$name.$n.log" "$@"
}

settings() {  # FILE ADDRESS [KEY=VALUE...]
    local file=$1 address=$2; shift 2
    write_settings "$file" "$address" GridMode=0 Range=6 Speed=1 "$@"
}

blocks() { cat "$work/$1".*.log | wc -l; }  # blocks all heads of NAME received
records() { "$cli" dump "$1" | wc -l; }

# The file verifies and no record repeats the one before (the head moves on every ping,
# so two records in a row with the same time and position are one ping twice).
check_whole() {  # NAME FILE
    local name=$1 file=$2
    if ! "$cli" verify "$file" >"$work/$name.verify" 2>&1; then
        fail "$name: file does not verify"; cat "$work/$name.verify"; return 1
    fi
    local repeats
    repeats=$(repeated_pings "$file")
    [ "$repeats" -eq 0 ] || { fail "$name: $repeats records repeat the one before"; return 1; }
    return 0
}

# check_count NAME FILE WANT: the recording holds exactly WANT records.
check_count() {
    local got
    got=$(records "$2")
    [ "$got" -eq "$3" ] && return 0
    fail "$1: $got records, wanted $3 (head received $(blocks "$1") blocks)"; return 1
}

# --- 1. One kind of fault at a time: every good reply is recorded once, no more. A reply
#        fault every Nth ping spoils floor(blocks / N) replies (the count starts afresh on
#        a new connection, and the faults fall on whole periods either way).
drill_reply_fault() {  # NAME ADDRESS OPTION N PINGS
    local name=$1 address=$2 option=$3 n=$4 pings=$5
    settings "$work/$name.ini" "$address"
    numbered_head "$name" "$address" "$option" "$n" || { fail "$name: no head"; return; }
    if ! timeout 120 "$cli" record --settings "$work/$name.ini" --pings "$pings" \
            --out "$work/$name.K7T" 2>"$work/$name.out"; then
        fail "$name: record failed"; cat "$work/$name.out"; return
    fi
    check_whole "$name" "$work/$name.K7T" || return
    check_count "$name" "$work/$name.K7T" "$pings" || return
    # The block sent after the last recorded reply may be in flight when the tool stops.
    local sent good=-1 last
    sent=$(blocks "$name")
    for last in "$sent" $((sent - 1)); do
        case "$option" in
            # Every block answered, but for one a connection that may arrive while the
            # head is closing (it is read, never answered): a reply lost on every
            # connection would take far more connections and blocks than that.
            --close-after) [ "$last" -le $((pings + (pings + n - 1) / n)) ] && good=$pings ;;
            --silent-after) good=$((last - (pings + n - 1) / n + 1)) ;;   # one unanswered a connection but the last
            *) good=$((last - last / n)) ;;
        esac
        [ "$good" -eq "$pings" ] && break
    done
    [ "$good" -eq "$pings" ] &&
        pass "$name: $pings good replies of $sent blocks, each recorded once" ||
        fail "$name: $sent blocks do not hold $pings good replies: one was lost or recorded twice"
    local odd
    odd=$("$cli" dump "$work/$name.K7T" | grep -c -v '"ReplyType":"G"')
    [ "$odd" -eq 0 ] || fail "$name: $odd records are not image replies"
}
drill_reply_fault closing 127.0.0.70 --close-after 4 60
drill_reply_fault garbage 127.0.0.71 --garbage-every 4 80
drill_reply_fault short 127.0.0.72 --short-every 6 60
drill_reply_fault badend 127.0.0.73 --bad-end-every 5 50
drill_reply_fault silent 127.0.0.74 --silent-after 15 40

# --- 2. The head goes away and comes back: the link reconnects within about a second of
#        it listening again, and the pings of both heads are all recorded.
settings "$work/back.ini" 127.0.0.75
numbered_head back 127.0.0.75 --pings 40
"$cli" record --settings "$work/back.ini" --pings 100 --timeout 30 --out "$work/back.K7T" 2>"$work/back.out" &
recorder=$!
track $recorder
wait_until 10 stopped "$head_pid"  # served its 40
sleep 1.5
numbered_head back 127.0.0.75
came=$(now)
reconnect=""
for _ in $(seq 100); do
    [ -s "$work/back.2.log" ] && { reconnect=$(elapsed "$came" "$(now)"); break; }
    sleep 0.02
done
if wait "$recorder"; then
    if check_whole back "$work/back.K7T" && check_count back "$work/back.K7T" 100; then
        # Each head may have received one block more than it answered: the first one
        # stopped after its 40th reply, the second one when the tool had its 100.
        first=$(wc -l <"$work/back.1.log") second=$(wc -l <"$work/back.2.log")
        if [ $((first - 40)) -le 1 ] && [ $((second - 60)) -ge 0 ] && [ $((second - 60)) -le 1 ]; then
            pass "back: 40 + 60 pings over two connections, none lost"
        else
            fail "back: heads received $first + $second blocks for 40 + 60 records"
        fi
    fi
    # About a second: the reconnect attempts are a second apart; the rest is slack for
    # sanitizer builds on a busy machine.
    if [ -n "$reconnect" ] && awk -v t="$reconnect" 'BEGIN { exit !(t <= 2.5) }'; then
        pass "back: reconnected ${reconnect} s after the head came back"
    else
        fail "back: no reconnect within 2.5 s of the head coming back (${reconnect:-none})"
    fi
else
    fail "back: record failed"; cat "$work/back.out"
fi

# --- 3. Killed (SIGKILL) while recording: what is on disk verifies, and a new run
#        against the same head starts cleanly.
settings "$work/killed.ini" 127.0.0.76
numbered_head killed 127.0.0.76
"$cli" record --settings "$work/killed.ini" --pings 1000000 --out "$work/killed.K7T" 2>"$work/killed.out" &
recorder=$!
track $recorder
wait_until 10 grown_to "$work/killed.K7T" 200000
kill -KILL "$recorder"
wait "$recorder" 2>/dev/null
size=$(stat -c %s "$work/killed.K7T" 2>/dev/null || echo 0)
if [ "$size" -lt 200000 ]; then
    fail "killed: only $size bytes recorded before the kill"
elif check_whole killed "$work/killed.K7T"; then
    pass "killed: $(records "$work/killed.K7T") records verify after SIGKILL"
fi
if "$cli" record --settings "$work/killed.ini" --pings 50 --out "$work/again.K7T" 2>"$work/again.out"; then
    check_whole again "$work/again.K7T" && check_count again "$work/again.K7T" 50 &&
        pass "killed: the next run records 50 pings from the same head"
else
    fail "killed: the next run failed"; cat "$work/again.out"
fi

# check_told_count NAME FILE: the count `record` printed last ($work/NAME.out) is that of
# the records in the file: the ping whose write failed is not among them.
check_told_count() {
    local told held
    told=$(sed -n -E 's/^recorded ([0-9]+) pings \(([0-9]+) bytes\) to .*/\1 \2/p' "$work/$1.out" | tail -n 1)
    held="$("$cli" info "$2" | sed -n 's/^records: //p') $(stat -c %s "$2")"
    check "$1: the pings and bytes told are those in the file" "$held" "$told"
}

# --- 4. Disk full: a file size limit (the signal ignored, as a full disk gives no signal
#        either): the operator is told, recording stops, and the whole records stay.
settings "$work/full.ini" 127.0.0.77
numbered_head full 127.0.0.77
( trap '' XFSZ; ulimit -f 64; exec "$cli" record --settings "$work/full.ini" --pings 1000 \
      --out "$work/full.K7T" ) 2>"$work/full.out"
status=$?
size=$(stat -c %s "$work/full.K7T" 2>/dev/null || echo 0)
if [ "$status" -ne 1 ]; then
    fail "full: exit status $status, wanted 1"; cat "$work/full.out"
elif ! grep -q "Record Error" "$work/full.out" || ! grep -q "Cannot write to" "$work/full.out"; then
    fail "full: no record error shown"; cat "$work/full.out"
elif check_whole full "$work/full.K7T"; then
    [ "$size" -le 65536 ] && [ $((size % 640)) -eq 0 ] &&
        pass "full: told, stopped, $(records "$work/full.K7T") whole records ($size bytes) verify" ||
        fail "full: $size bytes is not a whole number of records within the limit"
fi
check_told_count full "$work/full.K7T"
# A real full file system, where mounting one is allowed (root, not in a container that
# forbids it).
mnt=$work/small
mkdir -p "$mnt"
if mount -t tmpfs -o size=256k tmpfs "$mnt" 2>/dev/null; then
    "$cli" record --settings "$work/full.ini" --pings 100000 --out "$mnt/full.K7T" 2>"$work/tmpfs.out"
    status=$?
    if [ "$status" -eq 1 ] && grep -q "No space left on device" "$work/tmpfs.out"; then
        check_whole tmpfs "$mnt/full.K7T" &&
            pass "full: a full tmpfs is reported and its $(records "$mnt/full.K7T") records verify"
        check_told_count tmpfs "$mnt/full.K7T"
    else
        fail "full: tmpfs run ended with status $status"; cat "$work/tmpfs.out"
    fi
    umount "$mnt"
else
    echo "skip full: tmpfs (mount not permitted here)"
fi

# --- 5. A head that accepts every connection and drops it at once: the link waits longer
#        after each drop (a few dials in five seconds, not thousands), and a working head
#        in its place is then recorded without a ping lost.
settings "$work/drop.ini" 127.0.0.69
if numbered_head drop 127.0.0.69 --close-at-once; then
    "$cli" record --settings "$work/drop.ini" --pings 30 --timeout 20 --out "$work/drop.K7T" \
        2>"$work/drop.out" &
    recorder=$!
    track $recorder
    sleep 5
    dropped=$(grep -c "closed at once" "$work/drop.1.err")
    [ "$dropped" -ge 2 ] && [ "$dropped" -le 25 ] && pass "drop: $dropped connections in 5 s" ||
        fail "drop: $dropped connections in 5 s, wanted 2 to 25"
    kill "$head_pid"
    wait_until 5 stopped "$head_pid"
    numbered_head drop 127.0.0.69 || fail "drop: no second head"
    if wait "$recorder"; then
        if check_whole drop "$work/drop.K7T" && check_count drop "$work/drop.K7T" 30; then
            sent=$(blocks drop)  # one more may have been in flight at the end
            [ "$sent" -le 31 ] && pass "drop: then 30 pings recorded of $sent blocks" ||
                fail "drop: the working head received $sent blocks for 30 records"
        fi
    else
        fail "drop: record failed"; cat "$work/drop.out"
    fi
fi

# --- 6. The window under faults: it keeps running (pinging to the end) and quits
#        normally, and a window killed with SIGKILL starts again with its settings intact.
if [ -n "$window" ]; then
    export QT_QPA_PLATFORM=offscreen
    run_window() {  # NAME SECONDS: the window in work/NAME/ for SECONDS
        (cd "$work/$1" && exec "$window" --quit-after "$2") >"$work/$1.window" 2>&1
    }
    mkdir -p "$work/wfaulty" "$work/wrefused" "$work/wkilled"
    settings "$work/wfaulty/TIDEMAR.INI" 127.0.0.78 Speed=4
    numbered_head wfaulty 127.0.0.78 --close-after 9 --garbage-every 5 --short-every 7 --bad-end-every 11
    # More blocks than one connection takes: it reconnected and went on.
    # TIDEMAR_DRILL_WINDOW_SECONDS gives sanitizer builds, slow to start, more time.
    seconds=${TIDEMAR_DRILL_WINDOW_SECONDS:-6}
    if run_window wfaulty "$seconds"; then
        sent=$(blocks wfaulty)
        [ "$sent" -gt 9 ] && pass "window: ran $seconds s against a faulty head ($sent blocks), quit normally" ||
            fail "window: only $sent blocks in $seconds s against a faulty head"
    else
        fail "window: exit status $? against a faulty head"; cat "$work/wfaulty.window"
    fi
    kill "$head_pid" 2>/dev/null

    settings "$work/wrefused/TIDEMAR.INI" 127.0.0.79
    numbered_head wrefused 127.0.0.79 --refuse
    run_window wrefused 3 && pass "window: a refusing head, quit normally" ||
        { fail "window: exit status $? against a refusing head"; cat "$work/wrefused.window"; }
    kill "$head_pid" 2>/dev/null

    settings "$work/wkilled/TIDEMAR.INI" 127.0.0.78 Gain=17
    numbered_head wkilled 127.0.0.78
    (cd "$work/wkilled" && exec "$window") >"$work/wkilled.window" 2>&1 &
    shown=$!
    track $shown
    wait_until 5 test -s "$work/wkilled.1.log"
    sleep 0.5
    kill -KILL "$shown"; wait "$shown" 2>/dev/null
    grep -q "^Gain=17" "$work/wkilled/TIDEMAR.INI" || fail "window: settings lost after SIGKILL"
    : >"$work/wkilled.1.log"
    if run_window wkilled 2 && [ -s "$work/wkilled.1.log" ]; then
        pass "window: starts again after SIGKILL and pings the head"
    else
        fail "window: no clean start after SIGKILL"; cat "$work/wkilled.window"
    fi
fi

finish
