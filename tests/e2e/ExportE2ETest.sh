#!/usr/bin/env bash
# `tidemar-cli export` of a recording made against `tidemar-headsim` on 127.0.0.121 with a
# real receiver log fed through a socat pseudo-terminal pair: the CSV positions against
# the log's sentences, the tracks read by real parsers, a damaged copy, several files side
# by side (export, render and xyz), and the usage errors.
# Usage: ExportE2ETest.sh TIDEMAR-CLI TIDEMAR-HEADSIM LOG-DIRECTORY
# Exit status 77 (skipped) when socat or python3 is not installed.
set -u
cli=$1
HEADSIM=$2
logs=$3
for tool in socat python3; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps installs it)"; exit 77; }
done

# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../support/harness.sh"
harness_workdir

address=127.0.0.121
start_head head $address --seed 11 || exit 1
start_pty_pair socat "$work/A" "$work/B" || exit 1
log="$logs/rx210.log"
(
    exec 3>"$work/A"
    while :; do
        tr -d '\r' <"$log" | grep -a '^\$' | while IFS= read -r sentence; do
            printf '%s\r\n' "$sentence" >&3 2>/dev/null || exit 1
            sleep 0.02
        done || exit 0  # the pair is gone: the test is over
    done
) &
track $!

write_settings "$work/gps.ini" $address GridMode=0 Range=6 Speed=1 SendDelay=80 \
    UseGPS=1 GPSType=1 ComPortGPS=0 SerialPortPaths="$work/B"
if ! "$cli" record --settings "$work/gps.ini" --pings 80 --out "$work/survey.K7T" 2>"$work/record.err"; then
    fail "record failed"; cat "$work/record.err"; finish
fi
"$cli" dump "$work/survey.K7T" >"$work/dump"
tr -d '\r' <"$log" | grep -a '^\$..GGA,' >"$work/sentences"

# 1. CSV: the columns by name, a row per record, and every position the one of a sentence.
check_status "csv" 0 "$cli" export "$work/survey.K7T" --format csv --out "$work/survey.csv" --settings "$work/gps.ini"
python3 - "$work/survey.csv" "$work/dump" "$work/sentences" <<'PY' && pass "csv: rows, columns and positions" || fail "csv"
import csv, json, sys
rows = list(csv.DictReader(open(sys.argv[1], newline="", encoding="utf-8")))
dump = [json.loads(line) for line in open(sys.argv[2])]
columns = ("record,offset,date,time,head_position,head_angle_deg,step_direction,range_m,gain,mode,speed,"
           "sector_deg,train_deg,frequency_khz,sound_velocity_ms,data_bits,profile_range_m,latitude,longitude,"
           "user_text").split(",")
assert open(sys.argv[1], newline="").readline() == ",".join(columns) + "\n", "header"
assert len(rows) == len(dump) == 80, (len(rows), len(dump))

# Each sentence's position in degrees, as the record keeps it (minutes cut to thousandths)
# and in full, keyed by the position text the recorder stores.
def angle(field, width, hemisphere):
    degrees, minutes = int(field[:width]), float(field[width:])
    kept = degrees + int(minutes * 1000 + 1e-9) / 60000.0
    full = degrees + minutes / 60.0
    sign = -1 if hemisphere in "SW" else 1
    return sign * kept, sign * full
sentences = {}
for s in open(sys.argv[3]):
    f = s.strip().split(",")
    if f[2] and f[4]:
        text = " %s.%s.%s %s%s.%s.%s %s" % (f[2][:2], f[2][2:4], f[2][5:8], f[3], f[4][:3], f[4][3:5], f[4][6:9], f[5])
        sentences[text] = (angle(f[2], 2, f[3]), angle(f[4], 3, f[5]))
with_position = 0
for row, record in zip(rows, dump):
    assert int(row["offset"]) == record["offset"], row
    assert row["head_position"] == str(record["HeadPosition"]), row
    assert abs(float(row["head_angle_deg"]) - (record["HeadPosition"] - 600) * 0.3) < 1e-9, row
    assert row["mode"] == "Sector" and row["date"].count("-") == 2 and len(row["time"]) == 11, row
    text = record["GpsPositionText"]
    if text is None:
        assert row["latitude"] == row["longitude"] == "", row
        continue
    with_position += 1
    (lat_kept, lat_full), (lon_kept, lon_full) = sentences[text]
    lat, lon = float(row["latitude"]), float(row["longitude"])
    assert abs(lat - lat_kept) <= 1e-6 and abs(lon - lon_kept) <= 1e-6, (row, text)
    assert abs(lat - lat_full) < 0.001 / 60 + 1e-6 and abs(lon - lon_full) < 0.001 / 60 + 1e-6, (row, text)
assert with_position >= 10, with_position
PY

# 2. The tracks, each read by a real parser, hold one point per run of equal positions.
python3 - "$work/survey.csv" >"$work/points" <<'PY'
import csv, sys
last, n = None, 0
for row in csv.DictReader(open(sys.argv[1], newline="")):
    p = (row["latitude"], row["longitude"])
    if p[0] and p != last:
        n, last = n + 1, p
print(n)
PY
points=$(cat "$work/points")
for format in geojson kml gpx; do
    check_status "$format" 0 "$cli" export "$work/survey.K7T" --format $format --out "$work/survey.$format"
    python3 - "$work/survey.$format" "$format" "$points" <<'PY' && pass "$format: parses, $points points" || fail "$format"
import json, sys, xml.etree.ElementTree as ET
path, form, points = sys.argv[1], sys.argv[2], int(sys.argv[3])
if form == "geojson":
    doc = json.load(open(path))
    line, first, last = doc["features"]
    coords = line["geometry"]["coordinates"]
    assert line["geometry"]["type"] == "LineString" and line["properties"]["name"] == "survey.K7T"
    assert line["properties"]["records"] == 80
    assert first["geometry"]["coordinates"] == coords[0] and last["geometry"]["coordinates"] == coords[-1]
    assert all(-180 <= c[0] <= 180 and -90 <= c[1] <= 90 for c in coords)
elif form == "kml":
    ns = {"k": "http://www.opengis.net/kml/2.2"}
    placemark = ET.parse(path).getroot().find("k:Document/k:Placemark", ns)
    assert placemark.find("k:name", ns).text == "survey.K7T"
    assert "First: " in placemark.find("k:description", ns).text
    coords = placemark.find("k:LineString/k:coordinates", ns).text.split()
    assert all(c.endswith(",0") for c in coords)
else:
    ns = {"g": "http://www.topografix.com/GPX/1/1"}
    root = ET.parse(path).getroot()
    assert root.get("version") == "1.1"
    coords = root.findall("g:trk/g:trkseg/g:trkpt", ns)
    assert all(len(p.find("g:time", ns).text) == 22 for p in coords)
assert len(coords) == points, (len(coords), points)
PY
done

# 3. A damaged copy: random bytes over a stretch in the middle. Every record outside it
#    comes out as before, and the bytes skipped are said.
cp "$work/survey.K7T" "$work/damaged.K7T"
size=$(stat -c %s "$work/survey.K7T")
from=$((size / 2 - 1000)) length=2500
head -c $length /dev/urandom | dd of="$work/damaged.K7T" bs=1 seek=$from conv=notrunc status=none
check_status "damaged" 0 "$cli" export "$work/damaged.K7T" --format csv --out "$work/damaged.csv"
grep -q "damaged.K7T: skipped [0-9]* bytes of damaged data" "$work/err" && pass "damaged: skipped bytes said" ||
    { fail "damaged: no word of the skipped bytes"; cat "$work/err"; }
python3 - "$work/survey.csv" "$work/damaged.csv" $from $((from + length)) <<'PY' &&
import csv, sys
whole = list(csv.reader(open(sys.argv[1], newline="")))[1:]
damaged = {r[1]: r[2:] for r in list(csv.reader(open(sys.argv[2], newline="")))[1:]}
start, end = int(sys.argv[3]), int(sys.argv[4])
size = int(whole[1][1]) - int(whole[0][1])
outside = [r for r in whole if int(r[1]) + size <= start or int(r[1]) >= end]
assert len(outside) >= len(whole) - 5, len(outside)
assert all(damaged.get(r[1]) == r[2:] for r in outside), "a record outside the stretch is missing or changed"
assert len(damaged) < len(whole)
PY
    pass "damaged: every record outside the stretch exported" || fail "damaged: records lost or changed"

# 4. A file without positions: an empty track, a warning, still a document.
#    Narrow sweeps, so that xyz below finds whole ones.
write_settings "$work/plain.ini" $address GridMode=0 Range=9 Train=0 SectorSectorSize=90 Speed=2 SendDelay=0
"$cli" record --settings "$work/plain.ini" --pings 400 --out "$work/plain.K7T" 2>/dev/null || fail "plain: record failed"
check_status "no positions" 0 "$cli" export "$work/plain.K7T" --format gpx --out "$work/plain.gpx"
grep -q "warning: .*plain.K7T: no record carries a position" "$work/err" && pass "no positions: warned" ||
    { fail "no positions: no warning"; cat "$work/err"; }
python3 -c 'import sys, xml.etree.ElementTree as E; E.parse(sys.argv[1])' "$work/plain.gpx" &&
    pass "no positions: valid document" || fail "no positions: document does not parse"

# 5. Several files side by side, each whole and under its own name; nothing left over.
mkdir -p "$work/many"
for name in one two three; do cp "$work/survey.K7T" "$work/many/$name.K7T"; done
check_status "several files" 0 "$cli" export "$work"/many/{one,two,three}.K7T --format csv --out-dir "$work/exported" --jobs 2
for name in one two three; do
    cmp -s "$work/exported/$name.csv" "$work/survey.csv" || fail "several files: $name.csv differs"
done
check "several files: only the outputs" "one.csv three.csv two.csv" "$(cd "$work/exported" && echo *)"
for name in one two; do cp "$work/plain.K7T" "$work/many/$name.K7T"; done
check_status "render of several files" 0 "$cli" render "$work"/many/{one,two}.K7T --out "$work/pictures" --jobs 2
"$cli" render "$work/plain.K7T" --out "$work/single" 2>/dev/null
cmp -s "$work/pictures/one/final.bmp" "$work/single/final.bmp" && cmp -s "$work/pictures/two/final.bmp" "$work/single/final.bmp" &&
    pass "render: each file's picture in its own folder, as alone" || fail "render: pictures differ"
check_status "xyz of several files" 0 "$cli" xyz "$work"/many/{one,two}.K7T --out "$work/profiles" --jobs 2
"$cli" xyz "$work/plain.K7T" --out "$work/single-xyz" >/dev/null 2>&1
profiles=$(cd "$work/single-xyz" && ls)
[ -n "$profiles" ] || fail "xyz: no profile in the recording"
check "xyz: the first file's profiles in its own folder, as alone" "$profiles" "$(cd "$work/profiles/one" && ls)"
check "xyz: the second file's too" "$profiles" "$(cd "$work/profiles/two" && ls)"
for name in $profiles; do
    cmp -s "$work/single-xyz/$name" "$work/profiles/two/$name" || fail "xyz: $name differs"
done

# 6. Bad use: one line naming what is wrong, and the exit status.
: >"$work/empty.K7T"
while IFS='|' read -r legend status pattern args; do
    # shellcheck disable=SC2086
    check_status "$legend" "$status" "$cli" export $args
    grep -q -- "$pattern" "$work/err" && [ "$(wc -l <"$work/err")" -eq 1 ] || { fail "$legend: message"; cat "$work/err"; }
done <<EOF2
no format|2|needs --format|$work/survey.K7T
unknown format|2|unknown format 'shp'|$work/survey.K7T --format shp
several files without a folder|2|need --out-dir|$work/survey.K7T $work/plain.K7T --format csv
both outputs|2|not both|$work/survey.K7T --format csv --out x --out-dir y
no jobs|2|--jobs needs|$work/survey.K7T --format csv --jobs 0
output over the data file|2|is a data file given|$work/survey.K7T --format csv --out $work/survey.K7T
two outputs of one name|2|would both be written|$work/survey.K7T $work/many/../survey.K7T --format kml --out-dir $work/o
missing file|1|missing.K7T: No such file|$work/missing.K7T --format csv --out $work/missing.csv
empty file|1|empty.K7T: no whole record|$work/empty.K7T --format csv --out $work/empty.csv
output a folder|1|cannot write $work/many: it is a folder|$work/plain.K7T --format csv --out $work/many
output in no folder|1|cannot write $work/none/x.csv: No such file|$work/plain.K7T --format csv --out $work/none/x.csv
EOF2
[ ! -e "$work/empty.csv" ] && [ ! -e "$work/missing.csv" ] && pass "failed exports leave no output" ||
    fail "failed exports left output"
cmp -s "$work/plain.K7T" "$work/many/one.K7T" && pass "the data files are untouched" || fail "a data file changed"

# 7. Killed in the middle (in a long damaged stretch, a hole of zeros): nothing is left
#    in the output folder, not even the temporary file.
cp "$work/survey.K7T" "$work/long.K7T"
truncate -s +1G "$work/long.K7T"
cat "$work/survey.K7T" >>"$work/long.K7T"
mkdir -p "$work/stop"
"$cli" export "$work/long.K7T" --format csv --out "$work/stop/long.csv" 2>"$work/err" &
pid=$!
track "$pid"
wait_until 10 sh -c 'test -n "$(ls "$1")"' - "$work/stop"
sleep 0.3
kill -TERM "$pid"
wait "$pid"
got=$?
[ "$got" -eq 1 ] && [ -z "$(ls "$work/stop")" ] && grep -q "long.K7T: interrupted; nothing written" "$work/err" &&
    pass "interrupted: exit 1, nothing left" || { fail "interrupted: exit $got, left: $(ls "$work/stop")"; cat "$work/err"; }
rm -f "$work/long.K7T"

finish
