#!/usr/bin/env bash
# The shared shell harness itself: the loopback guard, the settings file it writes byte by
# byte, starting heads (loopback 127.0.0.30 and .31) and what it leaves behind on exit.
# Usage: HarnessTest.sh TIDEMAR-HEADSIM
set -u
HEADSIM=$1
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/support/harness.sh
source "$here/harness.sh"
harness_workdir

# Address, whether it is loopback, why.
while read -r address want legend; do
    got=no; is_loopback "$address" && got=yes
    check "is_loopback: $legend" "$want" "$got"
done <<'ROWS'
127.0.0.1       yes the usual one
127.255.255.255 yes the top of the block
127.0.0.256     no  an octet past 255
128.0.0.1       no  just outside the block
192.168.1.2     no  a private-range head address
10.127.0.1      no  127 in the wrong place
127.0.0         no  three octets
127.0.0.1.5     no  five octets
127.0.0.1x      no  trailing junk
ROWS

write_settings "$work/a.ini" 127.0.0.5 Range=6 "UserText=Pier 4"
check "write_settings: bytes" "$(printf '[Settings]\r\nIPAddress_Sonar1=127.0.0.5\r\nRange=6\r\nUserText=Pier 4\r\n' | od -c)" \
    "$(od -c <"$work/a.ini")"
# Arguments that are refused, and why; nothing is written for them.
while IFS='|' read -r address pair legend; do
    rm -f "$work/b.ini"
    status=0; write_settings "$work/b.ini" "$address" ${pair:+"$pair"} 2>/dev/null || status=$?
    check "write_settings refuses $legend" "2 no" "$status $([ -e "$work/b.ini" ] && echo yes || echo no)"
done <<'ROWS'
192.168.1.2||a private-range address
127.0.0.1|IPAddress_Sonar1=10.0.0.1|a second address among the keys
127.0.0.1|Range|a key without a value
ROWS

# Heads: how long start_head may wait, the status, and how long it may take at most
# (seconds; generous, so a loaded machine does not fail a head that starts).
printf '#!/bin/sh\nexec sleep 30\n' >"$work/mute"; chmod +x "$work/mute"
while IFS='|' read -r program address options patience want most legend; do
    [ "$program" = mute ] && program=$work/mute || program=$HEADSIM
    began=$SECONDS
    # shellcheck disable=SC2086  # the options are words
    status=0; HEADSIM=$program HARNESS_START_SECONDS=$patience start_head "h$address" "$address" $options >/dev/null 2>&1 ||
        status=$?
    check "start_head: $legend" "$want" "$status"
    check_cmd "start_head: $legend within $most s" test $((SECONDS - began)) -le "$most"
done <<'ROWS'
headsim|127.0.0.30|--seed 7|30|0|30|a head that listens
headsim|127.0.0.31|--refuse|30|0|30|a head that refuses
headsim|192.168.1.2||30|2|0|a private-range address is not dialled
headsim|127.0.0.30|--bogus|30|1|10|a head that exits at once, long before its patience ends
mute|127.0.0.31||2|1|5|a head that never says it listens, given up after 2 s
ROWS

# A script that ends: its exit status, its children and their children gone, its folder gone.
for row in "pass x; finish|0|a pass" "fail x; finish|1|a failure" "finish|1|no check at all" "exit 3|3|its own status"; do
    IFS='|' read -r body want legend <<<"$row"
    bash -c "source '$here/harness.sh'; harness_workdir; echo \$work >'$work/dir'
             ( sleep 300 & echo \$! >'$work/grandchild'; wait ) & track \$!
             until [ -s '$work/grandchild' ]; do sleep 0.05; done; $body" >/dev/null 2>&1
    check "exit status: $legend" "$want" "$?"
    check_cmd "grandchild gone: $legend" wait_until 2 stopped "$(cat "$work/grandchild")"
    check_cmd "folder gone: $legend" test ! -e "$(cat "$work/dir")"
    rm -f "$work/grandchild"
done

finish
