#!/usr/bin/env bash
# Whole runs of `tidemar-cli record` against `tidemar-headsim` on loopback addresses
# 127.0.0.10 .. 127.0.0.19, one address per case so cases never share a head.
# Usage: RecordE2ETest.sh TIDEMAR-CLI TIDEMAR-HEADSIM
set -u
CLI=$1
HEADSIM=$2
cli=$CLI
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../support/harness.sh"
harness_workdir

# Every head logs the blocks it receives to NAME.log.
head_options=(--seed 7)
head_logs=1

settings() {  # NAME ADDRESS [KEY=VALUE...]
    local name=$1 address=$2; shift 2
    write_settings "$work/$name.ini" "$address" GridMode=0 Range=6 Speed=1 "$@"
}

# Records must be whole and linked, and no ping may be there twice: the head moves on
# every ping, so two records in a row with the same position and time are a repeat.
check_file() {  # NAME EXPECTED-RECORDS
    local name=$1 want=$2
    if ! "$cli" verify "$work/$name.K7T" >"$work/$name.verify"; then
        fail "$name: file does not verify"; cat "$work/$name.verify"; return
    fi
    local records
    records=$("$cli" dump "$work/$name.K7T" | wc -l)
    [ "$records" -eq "$want" ] || { fail "$name: $records records, wanted $want"; return; }
    local repeats
    repeats=$(repeated_pings "$work/$name.K7T")
    [ "$repeats" -eq 0 ] || { fail "$name: $repeats records repeat the one before"; return; }
    pass "$name: $want whole records, none repeated"
}

# 1. A clean run: every block the head received is the block the settings give.
settings clean 127.0.0.10 Gain=20 Train=45 SectorSectorSize=90
start_head clean 127.0.0.10
if "$cli" record --settings "$work/clean.ini" --pings 300 --out "$work/clean.K7T" 2>"$work/clean.out"; then
    check_file clean 300
    expected=$("$cli" command --settings "$work/clean.ini")
    other=$(grep -v -c -x -F "$expected" "$work/clean.log")
    sent=$(wc -l <"$work/clean.log")
    [ "$other" -eq 0 ] && [ "$sent" -ge 300 ] && pass "clean: $sent blocks, all as the settings give" ||
        fail "clean: $other of $sent blocks differ from: $expected"
else
    fail "clean: record failed"; cat "$work/clean.out"
fi

# 2. The head closes the connection every 7 pings: the link reconnects and goes on.
settings closing 127.0.0.11
start_head closing 127.0.0.11 --close-after 7
if "$cli" record --settings "$work/closing.ini" --pings 60 --out "$work/closing.K7T" 2>"$work/closing.out"; then
    check_file closing 60
else
    fail "closing: record failed"; cat "$work/closing.out"
fi

# 3. Garbage, short replies and wrong end bytes: none of them is recorded.
settings faulty 127.0.0.12
start_head faulty 127.0.0.12 --garbage-every 5 --short-every 7 --bad-end-every 3
if "$cli" record --settings "$work/faulty.ini" --pings 40 --out "$work/faulty.K7T" 2>"$work/faulty.out"; then
    check_file faulty 40
    bad=$("$cli" dump "$work/faulty.K7T" | grep -c -v '"ReplyType":"G"')
    [ "$bad" -eq 0 ] && pass "faulty: only good replies recorded" || fail "faulty: $bad odd records"
else
    fail "faulty: record failed"; cat "$work/faulty.out"
fi

# 4. The head stops answering after 10 pings of each connection: the receive times out,
#    the link reconnects, and recording goes on.
settings silent 127.0.0.13
start_head silent 127.0.0.13 --silent-after 10
if timeout 60 "$cli" record --settings "$work/silent.ini" --pings 25 --out "$work/silent.K7T" 2>"$work/silent.out"; then
    check_file silent 25
else
    fail "silent: record failed"; cat "$work/silent.out"
fi

# 5. Interrupted while the head is silent: the tool stops at once and the file verifies.
settings hung 127.0.0.14
start_head hung 127.0.0.14 --silent-after 5
"$cli" record --settings "$work/hung.ini" --pings 100 --out "$work/hung.K7T" 2>"$work/hung.out" &
recorder=$!
track $recorder
wait_until 5 grown_to "$work/hung.K7T" 3200
sleep 0.3
kill -INT $recorder
if wait_until 2 stopped $recorder; then
    wait $recorder
    check_file hung 5
else
    fail "hung: record did not stop within 2 s of the interrupt"; kill -9 $recorder
fi

# 6. A head that refuses connections: a clear message and exit status 2.
settings refused 127.0.0.15
start_head refused 127.0.0.15 --refuse
"$cli" record --settings "$work/refused.ini" --pings 5 --out "$work/refused.K7T" --timeout 1 2>"$work/refused.out"
status=$?
[ "$status" -eq 2 ] && grep -q "not reached" "$work/refused.out" && pass "refused: exit 2, not reached" ||
    { fail "refused: status $status"; cat "$work/refused.out"; }

# 7. The head comes back: the link reconnects within about a second.
settings late 127.0.0.16
"$cli" record --settings "$work/late.ini" --pings 20 --out "$work/late.K7T" --timeout 20 2>"$work/late.out" &
recorder=$!
track $recorder
sleep 1
start_head late 127.0.0.16
if wait $recorder; then check_file late 20; else fail "late: record failed"; cat "$work/late.out"; fi

# 8. Usage errors.
"$cli" record --settings "$work/clean.ini" --out "$work/x.K7T" 2>/dev/null
[ $? -eq 2 ] && pass "missing --pings is a usage error" || fail "missing --pings"
"$cli" record --settings "$work/clean.ini" --pings 5 --out "$work/x.dat" 2>"$work/ext.out"
[ $? -eq 2 ] && grep -q "File extension must be .K7T" "$work/ext.out" && pass "wrong extension refused" ||
    fail "wrong extension"

finish
