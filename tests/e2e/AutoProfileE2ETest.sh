#!/usr/bin/env bash
# Profiles of the simulated head's scene: `tidemar-cli record` against `tidemar-headsim`,
# then `tidemar-cli xyz` over the recording. Every XYZ point must lie on the outline of
# the scene the head simulates (its walls and targets, tools/headsim/Scene.cpp), one
# file per whole sweep, numbered on from the files already there.
# Loopback addresses 127.0.0.90 .. 127.0.0.94.
# Usage: AutoProfileE2ETest.sh TIDEMAR-CLI TIDEMAR-HEADSIM
set -u
cli=$1
HEADSIM=$2
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../support/harness.sh"
harness_workdir
head_options=(--seed 7)

settings() {  # NAME ADDRESS [KEY=VALUE...]
    local name=$1 address=$2; shift 2
    write_settings "$work/$name.ini" "$address" Range=9 Train=0 "$@"
}

record() {  # NAME ADDRESS PINGS
    local name=$1 address=$2 pings=$3
    start_head "$name" "$address" || return 1
    "$cli" record --settings "$work/$name.ini" --pings "$pings" --out "$work/$name.K7T" \
        >"$work/$name.rec" 2>&1 || { cat "$work/$name.rec"; return 1; }
}

# Points farther than 1 m from every wall and target of the scene, out of all points
# that found an echo.
# The x, y (chainage) and z columns are the last three; with offset, chainage and
# elevation 0 and the zero angle ahead, x and z are the scene's x and y.
off_scene() {  # XYZ-FILE [X-OFFSET Z-OFFSET]
    tr -d '\r' <"$1" | tail -n +5 | awk -F'\t' -v ox="${2:-0}" -v oz="${3:-0}" '
        function seg(px, py, x0, y0, x1, y1,   ex, ey, t, dx, dy) {
            ex = x1 - x0; ey = y1 - y0
            t = ((px - x0) * ex + (py - y0) * ey) / (ex * ex + ey * ey)
            if (t < 0) t = 0; if (t > 1) t = 1
            dx = px - (x0 + t * ex); dy = py - (y0 + t * ey)
            return sqrt(dx * dx + dy * dy)
        }
        function ring(px, py, x, y, r,   d) { d = sqrt((px - x) ^ 2 + (py - y) ^ 2) - r; return d < 0 ? -d : d }
        BEGIN {
            split("-70 32 28 40 | 28 40 36 -12 | -190 -40 -120 120 | -100 -90 60 -110", walls, "|")
            split("0.8 1.6 0.10 | -1.2 3.0 0.15 | 2.5 3.8 0.20 | -3.5 7.5 0.30 | 6.0 9.0 0.40 |" \
                  "-12 17 0.6 | 18 22 0.5 | 2 -7 0.3 | -15 -12 0.5 | -30 -25 0.8 | 12 -35 1.0 |" \
                  "-60 10 1.0 | 20 -80 1.5 | -100 60 1.5 | -70 -130 2.0", targets, "|")
        }
        {
            x = $(NF - 2) - ox; z = $NF - oz; best = 1e9
            if (x == 0 && z == 0) next  # no echo within the range: the point of the sonar
            for (i in walls) { split(walls[i], w, " "); d = seg(x, z, w[1], w[2], w[3], w[4]); if (d < best) best = d }
            for (i in targets) { split(targets[i], t, " "); d = ring(x, z, t[1], t[2], t[3]); if (d < best) best = d }
            if (best > 1.0) off++
            n++
        }
        END { printf "%d %d\n", off + 0, n + 0 }'
}

check_on_scene() {  # LABEL XYZ-FILE [X-OFFSET Z-OFFSET]
    local label=$1 file=$2
    read -r off total < <(off_scene "$file" "${3:-0}" "${4:-0}")
    if [ "$total" -lt 50 ]; then fail "$label: only $total points in $(basename "$file")"; return; fi
    # A point may fall between a target and the wall behind it at the edge of the beam.
    if [ $((off * 50)) -gt "$total" ]; then fail "$label: $off of $total points are off the scene"; return; fi
    pass "$label: $((total - off)) of $total points on the scene's outline"
}

# 1. A 90-degree sector ahead, four sweeps: three whole sweeps, three files.
settings sector 127.0.0.90 GridMode=0 SectorSectorSize=90 Speed=2
if record sector 127.0.0.90 400; then
    out=$work/sector-out
    "$cli" xyz "$work/sector.K7T" --out "$out" --settings "$work/sector.ini" >"$work/sector.names" 2>"$work/sector.err"
    status=$?
    [ "$status" -eq 0 ] || fail "sector: exit status $status"
    day=$(ls "$out" | head -1 | cut -c1-9)
    expected=$(printf '%s\n' "$out/$day-0001.XYZ" "$out/$day-0002.XYZ" "$out/$day-0003.XYZ")
    [ "$(cat "$work/sector.names")" == "$expected" ] && pass "sector: three sweeps, three names printed" ||
        { fail "sector: names printed:"; cat "$work/sector.names"; }
    [ "$(ls "$out" | wc -l)" -eq 3 ] || fail "sector: $(ls "$out" | wc -l) files written"
    echo "$day" | grep -q -E '^[0-9]{2}[A-Z]{3}[0-9]{4}$' || fail "sector: name prefix $day is not a date"
    for f in "$out"/*.XYZ; do check_on_scene "sector $(basename "$f")" "$f"; done
    first=$out/$day-0001.XYZ
    [ "$(head -4 "$first" | od -An -c | tr -s ' ' | tr -d '\n')" == \
      " 0 0 0 0 . 0 0 , M \r \n 0 0 0 0 . 0 0 \r \n 0 0 0 0 . 0 0 \r \n 1 5 0 0 . 0 0 \r \n" ] &&
        pass "sector: header lines" || fail "sector: header $(head -4 "$first" | od -c | head -3)"
    bad=$(tail -n +5 "$first" | grep -c -v -E $'^[0-9]{2}-[A-Z]{3}-[0-9]{4}\t[0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{2}(\t[ -][0-9]{2,3}\\.[0-9]{3}){6}\r$')
    [ "$bad" -eq 0 ] && pass "sector: every point line has date, time and six fields" || fail "sector: $bad malformed lines"

    # Numbering goes on from the files already there; other settings change the columns.
    settings sector2 127.0.0.90 GridMode=0 SectorSectorSize=90 Speed=2 XYZTimestamp=0 XYZRangeHorVer=0 \
        ProfileChainage=100.5 ProfileXOffset=-2 ProfileElevation=5
    "$cli" xyz "$work/sector.K7T" --out "$out" --settings "$work/sector2.ini" >"$work/sector2.names" 2>/dev/null
    [ "$(head -1 "$work/sector2.names")" == "$out/$day-0004.XYZ" ] && pass "sector: numbering continues at 0004" ||
        fail "sector: second run wrote $(head -1 "$work/sector2.names")"
    sixth=$out/$day-0006.XYZ
    [ "$(head -3 "$sixth" | tr -d '\r' | tr '\n' ' ')" == "0100.50,M 0005.00 -002.00 " ] &&
        pass "sector: chainage, elevation and offset in the header" || fail "sector: header $(head -3 "$sixth")"
    fields=$(tail -n +5 "$sixth" | awk -F'\t' '{print NF}' | sort -u)
    [ "$fields" == "3" ] && pass "sector: x, y and z only" || fail "sector: field counts $fields"
    [ "$(tail -n +5 "$sixth" | cut -f2 | sort -u | tr -d '\r')" == " 100.500" ] || fail "sector: y is not the chainage"
    check_on_scene "sector with offsets" "$sixth" -2 5
else
    fail "sector: recording failed"
fi

# 2. A full circle in Polar mode, 2.4 degrees a ping: 150 pings a turn, so 900 pings hold
# five whole turns after the one under way at the start.
settings circle 127.0.0.91 GridMode=1 PolarSectorSize=360 Speed=4
if record circle 127.0.0.91 900; then
    out=$work/circle-out
    "$cli" xyz "$work/circle.K7T" --out "$out" --settings "$work/circle.ini" >"$work/circle.names" 2>"$work/circle.err"
    count=$(wc -l <"$work/circle.names")
    [ "$count" -eq 5 ] && pass "circle: five whole turns saved" || { fail "circle: $count turns saved"; cat "$work/circle.err"; }
    for f in $(cat "$work/circle.names"); do check_on_scene "circle $(basename "$f")" "$f"; done
else
    fail "circle: recording failed"
fi

# 3. Feet: the header's sound velocity and every range in feet.
settings feet 127.0.0.92 GridMode=0 SectorSectorSize=90 Speed=2 Units=1
if record feet 127.0.0.92 250; then
    out=$work/feet-out
    "$cli" xyz "$work/feet.K7T" --out "$out" --settings "$work/feet.ini" >"$work/feet.names" 2>/dev/null
    f=$(head -1 "$work/feet.names")
    [ "$(head -4 "$f" | tr -d '\r' | tr '\n' ' ')" == "0000.00,F 0000.00 0000.00 4921.26 " ] &&
        pass "feet: header in feet" || fail "feet: header $(head -4 "$f")"
    # Ranges are 3.28 times the metre ranges of the same recording.
    settings feetm 127.0.0.92 GridMode=0 SectorSectorSize=90 Speed=2
    "$cli" xyz "$work/feet.K7T" --out "$work/feetm-out" --settings "$work/feetm.ini" >"$work/feetm.names" 2>/dev/null
    m=$(head -1 "$work/feetm.names")
    ratio=$(paste <(tail -n +5 "$f" | cut -f3) <(tail -n +5 "$m" | cut -f3) |
        awk '$2 > 5 { r = $1 / $2; if (r < 3.27 || r > 3.29) bad++; n++ } END { print (n > 0 && !bad) ? "ok" : "bad" }')
    [ "$ratio" == "ok" ] && pass "feet: ranges 3.28 times the metres" || fail "feet: ranges not in feet"
else
    fail "feet: recording failed"
fi

finish
