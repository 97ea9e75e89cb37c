#!/usr/bin/env bash
# tidemar-cli command against settings files written here by hand; each expected block
# is worked out byte by byte in the comment above it.
# Usage: CliCommandTest.sh TIDEMAR-CLI EXAMPLE-INI
set -u
cli=$1
example=$2
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../support/harness.sh"
harness_workdir

# Little-endian 32-bit number as printf escapes.
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }

# A configuration file: magic, version, zero padding to 80, 20 rows of 256 bytes.
# Arguments: 15 "label:frequency:absorption:pulse" rows.
write_cfg() {
    local file=$1; shift
    { printf 'CFG\x00\x01'; head -c 75 /dev/zero
      for row in "$@"; do
          IFS=: read -r label freq absorption pulse <<<"$row"
          printf "$(le32 "$label")$(le32 "$freq")$(le32 "$absorption")$(le32 "$pulse")"
          head -c 240 /dev/zero
      done
      head -c $((5 * 256)) /dev/zero
    } >"$file"
}

# Defaults (no file): head 17 = 11, range index 9 = 50 m = 32, gain 6, absorption 20 = 14,
# train 0 = code 3C, Polar sector 360 = 78, speed 2 = step 3, table row 9 pulse 130 doubled
# in Polar = 260 us = 1A, 675 kHz = 64.
defaults="FE 44 11 32 00 00 00 00 06 01 14 3C 78 03 1A 00 00 00 00 32 08 00 00 00 00 64 FD"
check "missing file gives the defaults" "$defaults" "$("$cli" command --settings "$work/none.ini")"
check "default file name is ./TIDEMAR.INI" "$defaults" "$(cd "$work" && "$cli" command)"

# Example settings: range 7 = 30 m = 1E, gain 12 = 0C, Sector mode with 120 degrees = 28,
# train 90 = 5A, speed 1 = step 2, table row 7: 675 kHz, absorption 20, pulse 80 = 08.
check "example settings" \
    "FE 44 11 1E 00 00 00 00 0C 01 14 5A 28 02 08 00 00 00 00 32 08 00 00 00 00 64 FD" \
    "$("$cli" command --settings "$example")"

# Manual setup keeps the typed values; odd keys repaired; Xdcr up mirrors the train.
printf '[settings]\nmasterheadid=31\nConfigType=0\nFrequency=1098\nAbsorption=255\nPulseLength=1000\nRange=0\nGridMode=2\nSpeed=4\nXdcr=1\nTrain=180\nGain=99\nSwitchDelay=500\nProfileMinimumRange=25\nExternalTriggerControl=3\nProfile=1\n' >"$work/manual.ini"
# 31 = 1F, 1 m = 01, gain 99 repaired to 6, SS mode: sector 0 and step 0, train 180 up -> 0,
# 1000 us = 64, 25 m = 250 dm = FA, trigger 3, profile points only, (500+2)/2 capped = FA,
# 1098 kHz rounds to 1100 = B9.
check "manual setup and repairs" \
    "FE 44 1F 01 00 00 00 00 06 01 FF 00 00 00 64 FA 03 00 00 32 08 00 01 00 FA B9 FD" \
    "$("$cli" command --settings "$work/manual.ini")"

# A configuration file named in the settings gives the row of the range (index 5, 10 m):
# 500 kHz = 41, absorption 42 = 2A, pulse 200 us = 14.
rows=()
for i in $(seq 0 14); do rows+=("$i:675:20:100"); done
rows[5]="10:500:42:200"
write_cfg "$work/harbour.cfg" "${rows[@]}"
printf '[Settings]\r\nConfigType=1\r\nConfigFile=%s\r\nRange=5\r\nGridMode=0\r\n' "$work/harbour.cfg" >"$work/cfg.ini"
check "configuration file row" \
    "FE 44 11 0A 00 00 00 00 06 01 2A 3C 3C 03 14 00 00 00 00 32 08 00 00 00 00 41 FD" \
    "$("$cli" command --settings "$work/cfg.ini")"

# A configuration file that cannot be loaded leaves the built-in table: row 5 is 675 kHz,
# absorption 20, pulse 30 us = 03.
head -c 5199 "$work/harbour.cfg" >"$work/short.cfg"
printf '[Settings]\nConfigFile=%s\nRange=5\nGridMode=0\n' "$work/short.cfg" >"$work/short.ini"
check "short configuration file ignored" \
    "FE 44 11 0A 00 00 00 00 06 01 14 3C 3C 03 03 00 00 00 00 32 08 00 00 00 00 64 FD" \
    "$("$cli" command --settings "$work/short.ini")"

# Files that are not settings at all give the defaults.
head -c 4096 /dev/urandom >"$work/noise.ini"
check "binary file gives the defaults" "$defaults" "$("$cli" command --settings "$work/noise.ini")"
check "directory gives the defaults" "$defaults" "$("$cli" command --settings "$work")"

# Paths that are no settings file to read: each gives the defaults at once (a FIFO
# would wait for a writer for ever, /dev/zero never ends) and says why on stderr. Each
# row: file name, what is there, the reason told.
mkfifo "$work/fifo.ini"
ln -s /dev/zero "$work/zero.ini"
{ printf '[Settings]\nGain=21\n;'; head -c $((1024 * 1024)) /dev/zero | tr '\0' x; } >"$work/huge.ini"
while IFS='|' read -r name what reason; do
    out=$(timeout 2 "$cli" command --settings "$work/$name" 2>"$work/err")
    check "$what gives the defaults" "$defaults" "$out"
    check "$what is told" "tidemar-cli: warning: settings file $work/$name: $reason; the defaults are used" \
        "$(cat "$work/err")"
done <<'ROWS'
fifo.ini|a FIFO|not a regular file
zero.ini|a link to /dev/zero|not a regular file
huge.ini|a file one byte over 1 MB|larger than 1 MB
ROWS
# A FIFO named as configuration file leaves the built-in table, as a short file does.
mkfifo "$work/fifo.cfg"
printf '[Settings]\nConfigFile=%s\nRange=5\nGridMode=0\n' "$work/fifo.cfg" >"$work/fifocfg.ini"
check "FIFO configuration file ignored" \
    "FE 44 11 0A 00 00 00 00 06 01 14 3C 3C 03 03 00 00 00 00 32 08 00 00 00 00 64 FD" \
    "$(timeout 2 "$cli" command --settings "$work/fifocfg.ini" 2>"$work/err")"
check "FIFO configuration file told" \
    "tidemar-cli: warning: configuration file $work/fifo.cfg: not a regular file; the built-in table is used" \
    "$(cat "$work/err")"

check_status "missing --settings value" 2 "$cli" command --settings
check "missing value message is one line" 1 "$(wc -l <"$work/err")"
check_status "unknown option" 2 "$cli" command --fast
check_status "unknown command" 2 "$cli" launch
check_status "no command" 2 "$cli"
check_status "help" 0 "$cli" command --help
check_cmd "help text names --settings" grep -q -- "--settings FILE" "$work/out"
check_status "general help" 0 "$cli" --help

finish
