#!/usr/bin/env bash
# tidemar-cli info, dump and verify against small data files built here byte by byte.
# Usage: CliDataFileTest.sh TIDEMAR-CLI SCRATCH-DIRECTORY
set -u
cli=$1
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../support/harness.sh"
harness_workdir "$2/datafile"

byte() { printf "$(printf '\\x%02x' "$1")"; }
be16() { byte $(($1 >> 8 & 255)); byte $(($1 & 255)); }
zeros() { head -c "$1" /dev/zero; }

# The 32-byte user text field: the bytes of a printf %b text, zero-padded.
usertext() { printf '%b' "$1"; zeros $((32 - $(printf '%b' "$1" | wc -c))); }

# One record with a 13-byte profile reply ('P'), 128 bytes, or 256 with GPS text.
# Arguments: second, head position, range in metres, GPS (0 or 1), back-link, and the
# user text (Windows-1252, as printf %b writes it; 'Pier "4"\' when not given).
record() {
    local second=$1 position=$2 range=$3 gps=$4 backlink=$5 text=${6:-'Pier "4"\\'}
    local size=$((128 + 128 * gps))
    printf 'K7T'; byte 0; be16 $size; be16 13         # 0..7: marker, size code, S, N
    printf '05-MAR-2024\0'                          # 8..19
    printf '10:15:%02d\0' "$second"                 # 20..28
    printf '.25\0'; byte 0                          # 29..33
    byte "$gps"; zeros 2                            # 34..36
    byte $((0x40 | 1 << 3 | 2))                     # 37: Xdcr up, Polar, speed 2
    byte 6; byte 120; byte 0; byte 0; byte 20       # 38..42: gain, sector 360, train 0, -, absorption
    byte $((1 << 3 | 1)); byte 10; byte 1           # 43..45: 8 bits, 100 us, profile points
    be16 $((0x8000 | 15000))                        # 46..47: 1500.0 m/s
    usertext "$text"                                # 48..79
    be16 675; zeros 18                              # 80..99
    printf 'BPL'; byte 17; byte 0                   # 100..: the reply
    byte $((position & 127)); byte $((position >> 7)); byte "$range"
    byte 0x12; byte 0x09; byte 0; byte 0; byte 0xFC
    if [ "$gps" == 1 ]; then
        zeros 15; printf '49.16.451 N'; byte 0; printf '123.11.123 W'; zeros 102
    else
        zeros 13
    fi
    be16 "$backlink"
}

# The third record's user text is Windows-1252 with two control bytes (one of them
# undefined in the code page): printed as UTF-8, the controls escaped.
ortext='5\xb0 \xd8rsted \x93\x80\x94\x01\x81'
orjson='"5° Ørsted “€”\u0001\u0081"'
{ record 1 600 50 0 128; record 2 610 50 1 384; record 3 620 10 0 384 "$ortext"; } >"$work/good.K7T"
check "test file size" 512 "$(stat -c %s "$work/good.K7T")"

# dump: every field as the record holds it, strings escaped.
common='"Hundredths":25,"FileHasGps":%d,"StepDirection":0,"Xdcr":1,"GridMode":1,"Speed":2,"Gain":6,"SectorSize":360,"Train":0,"Absorption":20,"DataBits":8,"PulseLength":100,"Profile":1,"FileSoundVelocity":1500.0,"FileUserText":%s,"FileFrequency":675,"ReplyType":"P","ReturnHeadID":17,"SerialStatus":0'
pier='"Pier \"4\"\\"'
line() {  # offset size second gps head-position range gps-text back-link user-text
    printf '{"offset":%d,"size":%d,"DataSizeCode":0,"ExpectedReturnLength":13,"DateText":"05-MAR-2024","TimeText":"10:15:%02d",' "$1" "$2" "$3"
    printf "$common" "$4" "${9:-$pier}"
    printf ',"HeadPosition":%d,"ReturnRange":%d,"ProfileRange":1170,"DataByteCount":0,"GpsPositionText":%s,"BackLink":%d}\n' "$5" "$6" "$7" "$8"
}
expected=$(line 0 128 1 0 600 50 null 128; line 128 256 2 1 610 50 '" 49.16.451 N123.11.123 W"' 384; line 384 128 3 0 620 10 null 384 "$orjson")
check_status "dump" 0 "$cli" dump "$work/good.K7T"
check "dump lines" "$expected" "$(cat "$work/out")"
if command -v python3 >/dev/null; then
    check_cmd "dump is valid JSON" python3 -c 'import json,sys; [json.loads(l) for l in sys.stdin]' <"$work/out"
fi

check_status "info" 0 "$cli" info "$work/good.K7T"
check "info" "file: $work/good.K7T
bytes: 512
records: 3
first time: 05-MAR-2024  10:15:01.25
last time: 05-MAR-2024  10:15:03.25
reply types: P 3
ranges: 10 m, 50 m
display modes: Polar
user text: $pier, $orjson
GPS: 1 of 3 records
reverse play: yes
damaged: none" "$(cat "$work/out")"

check_status "verify of a whole file" 0 "$cli" verify "$work/good.K7T"
check "verify says nothing" "" "$(cat "$work/out")"

# Garbage between the second and third record, and the third cut short.
{ record 1 600 50 0 128; record 2 610 50 1 384; printf 'junk!'; record 3 620 10 0 384 | head -c 100; } >"$work/damaged.K7T"
check_status "verify of a damaged file" 1 "$cli" verify "$work/damaged.K7T"
check "verify lines" "offset 384: no record marker (5 bytes passed over)
offset 389: record of 128 bytes cut short by the end of the file after 100 (100 bytes passed over)" "$(cat "$work/out")"
check_status "info of a damaged file" 0 "$cli" info "$work/damaged.K7T"
check "info names the damage" "records: 2
damaged: offset 384, 5 bytes: no record marker
damaged: offset 389, 100 bytes: record of 128 bytes cut short by the end of the file after 100" \
    "$(grep -E '^(records|damaged):' "$work/out")"
check_status "dump of a damaged file" 0 "$cli" dump "$work/damaged.K7T"
check "dump shows the whole records" 2 "$(wc -l <"$work/out")"

# A back-link that leads before the start of the file.
{ record 1 600 50 0 128; record 2 610 50 1 999; } >"$work/link.K7T"
check_status "verify of a broken link" 1 "$cli" verify "$work/link.K7T"
check "broken link line" "offset 128: back-link 999 leads to offset -615, not to the record before at 0" "$(cat "$work/out")"

# A file written before back-links existed cannot be played backwards.
{ record 1 600 50 0 0; } >"$work/old.K7T"
"$cli" info "$work/old.K7T" >"$work/out"
check "no reverse without back-links" "reverse play: no (the first record has no back-link)" "$(grep '^reverse' "$work/out")"

: >"$work/empty.K7T"
check_status "info of an empty file" 0 "$cli" info "$work/empty.K7T"
check "empty file has no records" "records: 0" "$(grep '^records' "$work/out")"
check_status "verify of an empty file" 1 "$cli" verify "$work/empty.K7T"
check "empty file line" "offset 0: no record in the file" "$(cat "$work/out")"
check_status "dump of an empty file" 0 "$cli" dump "$work/empty.K7T"

for command in info dump verify; do
    check_status "$command of a missing file" 2 "$cli" $command "$work/none.K7T"
    check "$command missing file message" "tidemar-cli: cannot read $work/none.K7T: No such file or directory" "$(cat "$work/err")"
    check_status "$command of a directory" 2 "$cli" $command "$work"
    check "$command directory message is one line" 1 "$(wc -l <"$work/err")"
    check_status "$command without a file" 2 "$cli" $command
    check_status "$command with two files" 2 "$cli" $command "$work/good.K7T" "$work/good.K7T"
    check_status "$command help" 0 "$cli" $command --help
done

finish
