#!/usr/bin/env bash
# `tidemar-cli record` with GPS input: a real receiver log is fed sentence by sentence into
# one end of a socat pseudo-terminal pair, the tool reads the other end (listed in
# SerialPortPaths) while it records pings from `tidemar-headsim` on 127.0.0.20, and the
# positions in the recorded file must be texts worked out here from the log's fields.
# Usage: GpsRecordE2ETest.sh TIDEMAR-CLI TIDEMAR-HEADSIM LOG-DIRECTORY
# Exit status 77 (skipped) when socat is not installed.
set -u
cli=$1
HEADSIM=$2
logs=$3
command -v socat >/dev/null || { echo "SKIP: socat is not installed (scripts/install-deps installs it)"; exit 77; }

# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../support/harness.sh"
harness_workdir

address=127.0.0.20
start_head head $address --seed 7 || exit 1
start_pty_pair socat "$work/A" "$work/B" || exit 1

# The position text of every GGA sentence that carries a position, from its fields:
# " dd.mm.mmm H" then "ddd.mm.mmm H" (the log's widths: ddmm.mmmmm and dddmm.mmmmm).
# The receiver talks as "GN".
log="$logs/rx210.log"
tr -d '\r' <"$log" | awk -F, '/^\$..GGA,/ && $3 != "" && $5 != "" {
    printf " %s.%s.%s %s%s.%s.%s %s\n", substr($3,1,2), substr($3,3,2), substr($3,6,3), $4,
                                          substr($5,1,3), substr($5,4,2), substr($5,7,3), $6 }' |
    sort -u >"$work/expected"
[ "$(wc -l <"$work/expected")" -ge 10 ] || { echo "expected list too short:"; cat "$work/expected"; exit 1; }

# The receiver: one sentence every 30 ms with CR LF, the log over and over (about
# five seconds a round; the first two without a fix, with empty GGA fields).
(
    exec 3>"$work/A"
    while :; do
        tr -d '\r' <"$log" | grep -a '^\$' | while IFS= read -r sentence; do
            printf '%s\r\n' "$sentence" >&3
            sleep 0.03
        done
    done
) &
track $!

write_settings "$work/gps.ini" $address GridMode=0 Range=6 Speed=1 SendDelay=100 \
    UseGPS=1 GPSType=1 ComPortGPS=0 SerialPortPaths="$work/B"

# 1. Every record carries GPS text; those with a position carry one of the log's.
if "$cli" record --settings "$work/gps.ini" --pings 50 --out "$work/gps.K7T" 2>"$work/gps.out"; then
    "$cli" verify "$work/gps.K7T" >/dev/null || fail "gps: file does not verify"
    "$cli" dump "$work/gps.K7T" >"$work/dump"
    records=$(wc -l <"$work/dump")
    flagged=$(grep -c '"FileHasGps":1' "$work/dump")
    sed -n 's/.*"GpsPositionText":"\([^"]*\)".*/\1/p' "$work/dump" >"$work/positions"
    with=$(wc -l <"$work/positions")
    unknown=$(grep -v -x -F -f "$work/expected" "$work/positions" | sort -u)
    [ "$records" -eq 50 ] && [ "$flagged" -eq 50 ] && pass "gps: 50 records, all with GPS text" ||
        fail "gps: $records records, $flagged with the GPS flag"
    [ "$with" -ge 10 ] && pass "gps: $with records carry a position" || fail "gps: only $with records carry a position"
    [ -z "$unknown" ] && pass "gps: every position is one of the log's" ||
        { fail "gps: positions not in the log:"; echo "$unknown"; }
    [ "$(sort -u "$work/positions" | wc -l)" -ge 2 ] && pass "gps: the position moves with the log" ||
        fail "gps: the position never changed"
    grep -q warning "$work/gps.out" && { fail "gps: unexpected warning"; cat "$work/gps.out"; }
    grep -q "GPS  *[0-9 ]*\.[0-9]*\.[0-9]* [NS]" "$work/gps.out" && pass "gps: progress shows the position" ||
        { fail "gps: progress without position"; cat "$work/gps.out"; }
else
    fail "gps: record failed"; cat "$work/gps.out"
fi

# 2. GLL chosen while the receiver sends only GGA: records carry the GPS block, no position.
sed 's/GPSType=1/GPSType=0/' "$work/gps.ini" >"$work/gll.ini"
if "$cli" record --settings "$work/gll.ini" --pings 20 --out "$work/gll.K7T" 2>"$work/gll.out"; then
    dump=$("$cli" dump "$work/gll.K7T")
    [ "$(grep -c '"FileHasGps":1' <<<"$dump")" -eq 20 ] && [ "$(grep -c '"GpsPositionText":null' <<<"$dump")" -eq 20 ] &&
        pass "gll: 20 records without a position" || fail "gll: positions where the type was not chosen"
else
    fail "gll: record failed"; cat "$work/gll.out"
fi

# 3. A GPS device that is not a serial port: one warning, and the recording goes on.
printf 'plain file\n' >"$work/not-a-tty"
sed "s|SerialPortPaths=.*|SerialPortPaths=$work/not-a-tty\r|" "$work/gps.ini" >"$work/bad.ini"
if "$cli" record --settings "$work/bad.ini" --pings 5 --out "$work/bad.K7T" 2>"$work/bad.out"; then
    warnings=$(grep -c "warning: GPS" "$work/bad.out")
    [ "$warnings" -eq 1 ] && pass "bad port: one warning line" || { fail "bad port: $warnings warnings"; cat "$work/bad.out"; }
    [ "$("$cli" dump "$work/bad.K7T" | grep -c '"GpsPositionText":null')" -eq 5 ] &&
        pass "bad port: 5 records without a position" || fail "bad port: positions from nowhere"
else
    fail "bad port: record failed"; cat "$work/bad.out"
fi

finish
