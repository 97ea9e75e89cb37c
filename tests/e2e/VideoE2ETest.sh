#!/usr/bin/env bash
# tidemar-cli video and render --format png over a recording of the simulated head: the
# video checked with ffprobe (codec, size, frames for the recorded time and --speed,
# duration), its last frame against the rendered picture of the same pings, PNG against
# BMP pixel for pixel, and bad input leaving no video behind.
# Loopback address 127.0.0.130.
# Usage: VideoE2ETest.sh TIDEMAR-CLI TIDEMAR-HEADSIM
set -u
cli=$1
HEADSIM=$2
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../support/harness.sh"
harness_workdir
command -v ffprobe >/dev/null && command -v ffmpeg >/dev/null || { echo "ffmpeg/ffprobe missing"; exit 77; }

write_settings "$work/T.ini" 127.0.0.130
start_head head 127.0.0.130 --realtime --seed 5 || finish
"$cli" record --settings "$work/T.ini" --pings 60 --out "$work/a.K7T" >"$work/rec" 2>&1 || { cat "$work/rec"; finish; }
kill "$head_pid"

# Recorded hundredths between the first and the last stamp (one day).
span=$("$cli" info "$work/a.K7T" | awk '/^(first|last) time:/ {
    split($4, t, "[:.]"); v = ((t[1] * 60 + t[2]) * 60 + t[3]) * 100 + t[4]; if ($1 == "first") f = v; else l = v }
    END { print l - f }')

expected_frames() {  # FPS SPEED: up to the first frame at or after the last stamp, at least one second
    awk -v d="$span" -v fps="$1" -v s="$2" 'BEGIN { x = d * fps / (100 * s); c = int(x); if (c < x - 1e-9) c++;
        n = c + 1; if (n < fps) n = fps; print n }'
}

probe() {  # FILE: codec width height frames duration
    ffprobe -v error -select_streams v:0 -count_frames \
        -show_entries stream=codec_name,width,height,nb_read_frames:format=duration -of csv=p=0 "$1" | tr '\n' ',' |
        awk -F, '{ printf "%s %s %s %s %.2f", $1, $2, $3, $4, $5 }'
}

# Each row: legend | options | width height | fps speed
while IFS='|' read -r legend options size rate; do
    read -r fps speed <<<"$rate"
    read -r width height <<<"$size"
    out=$work/v.mp4
    rm -f "$out"
    # shellcheck disable=SC2086
    if ! "$cli" video "$work/a.K7T" --settings "$work/T.ini" --out "$out" $options 2>"$work/err"; then
        fail "$legend: video failed"; cat "$work/err"; continue
    fi
    n=$(expected_frames "$fps" "$speed")
    duration=$(awk -v n="$n" -v f="$fps" 'BEGIN { printf "%.2f", n / f }')
    check "$legend: h264, size, frames, duration" "h264 $width $height $n $duration" "$(probe "$out")"
done <<'ROWS'
real time at 25 frames/s|| 596 506| 25 1
three times real time|--speed 3| 596 506| 25 3
half size at 10 frames/s, slowed down|--size 298x254 --fps 10 --speed 0.5| 298 254| 10 0.5
with the date and time under the picture|--clock| 596 526| 25 1
ROWS

# The strip under the picture tells the time: bright text on dark, changing as the file plays.
"$cli" video "$work/a.K7T" --settings "$work/T.ini" --out "$work/clock.mp4" --clock 2>/dev/null
strip() {  # FRAME: the strip's grey levels, one line each, sorted and counted
    ffmpeg -v error -i "$work/clock.mp4" -vf "select=eq(n\,$1),crop=596:20:0:506" -frames:v 1 -f rawvideo \
        -pix_fmt gray - | od -An -tu1 -v | tr -s ' ' '\n' | sed '/^$/d'
}
first=$(strip 0 | md5sum)
bright=$(strip 0 | awk '$1 > 200' | wc -l)
[ "$bright" -gt 200 ] && [ "$first" != "$(strip $(($(expected_frames 25 1) - 1)) | md5sum)" ] &&
    pass "clock strip: text drawn ($bright bright pixels), changing with the time" ||
    fail "clock strip: $bright bright pixels, or the same at both ends"

# A file of one record is one second of it; two halves of the file make the whole.
head -c 640 "$work/a.K7T" >"$work/one.K7T"
"$cli" video "$work/one.K7T" --settings "$work/T.ini" --out "$work/one.mp4" 2>/dev/null
check "one record: one second" "h264 596 506 25 1.00" "$(probe "$work/one.mp4")"
frames_of() { ffprobe -v error -count_frames -show_entries stream=nb_read_frames -of csv=p=0 "$1"; }
"$cli" video "$work/a.K7T" --settings "$work/T.ini" --out "$work/first.mp4" --to 50 2>/dev/null
"$cli" video "$work/a.K7T" --settings "$work/T.ini" --out "$work/second.mp4" --from 50 2>/dev/null
halves=$(($(frames_of "$work/first.mp4") + $(frames_of "$work/second.mp4")))
whole=$(expected_frames 25 1)
[ "$halves" -ge $((whole - 3)) ] && [ "$halves" -le $((whole + 3)) ] && [ "$(frames_of "$work/first.mp4")" -lt "$whole" ] &&
    pass "--to 50 and --from 50: $halves frames, the whole $whole" || fail "halves: $halves frames, the whole $whole"

# The last frame is the whole file's picture: compared with render's in the video's 4:2:0 colours.
"$cli" video "$work/a.K7T" --settings "$work/T.ini" --out "$work/v.mp4" 2>/dev/null
"$cli" render "$work/a.K7T" --settings "$work/T.ini" --out "$work/bmp" --every 20 2>/dev/null
last=$(($(expected_frames 25 1) - 1))
ffmpeg -v error -i "$work/v.mp4" -vf "select=eq(n\,$last)" -frames:v 1 -f rawvideo -pix_fmt yuv420p "$work/last.yuv"
ffmpeg -v error -i "$work/bmp/final.bmp" -f rawvideo -pix_fmt yuv420p "$work/final.yuv"
psnr=$(ffmpeg -f rawvideo -pix_fmt yuv420p -s 596x506 -i "$work/last.yuv" -f rawvideo -pix_fmt yuv420p -s 596x506 \
    -i "$work/final.yuv" -lavfi psnr -f null - 2>&1 | sed -n 's/.*average:\([0-9.inf]*\).*/\1/p')
awk -v p="$psnr" 'BEGIN { exit !(p == "inf" || p > 35) }' && pass "last frame is the rendered picture (PSNR $psnr dB)" ||
    fail "last frame differs from the rendered picture: PSNR '$psnr' dB"

# PNG and BMP of the same pings decode to the same RGB.
"$cli" render "$work/a.K7T" --settings "$work/T.ini" --out "$work/png" --every 20 --format png 2>/dev/null
for name in final 000020 000040; do
    ffmpeg -v error -i "$work/bmp/$name.bmp" -f rawvideo -pix_fmt rgb24 "$work/$name.bmp.rgb"
    ffmpeg -v error -i "$work/png/$name.png" -f rawvideo -pix_fmt rgb24 "$work/$name.png.rgb"
    [ "$(head -c 8 "$work/png/$name.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] &&
        [ "$(stat -c %s "$work/$name.png.rgb")" -eq $((596 * 506 * 3)) ] &&
        cmp -s "$work/$name.bmp.rgb" "$work/$name.png.rgb" && pass "$name.png: the pixels of $name.bmp" ||
        fail "$name.png differs from $name.bmp"
done

no_video() { [ ! -e "$1" ] && [ ! -e "$1.part" ]; }

# Each row: legend | arguments (OUT stands for the output) | exit status
mkdir "$work/folder.mp4"
while IFS='|' read -r legend arguments status; do
    out=$work/bad.mp4
    [[ $legend == "a folder"* ]] && out=$work/folder.mp4
    # shellcheck disable=SC2086
    "$cli" video ${arguments//OUT/$out} 2>"$work/err"
    got=$?
    lines=$(wc -l <"$work/err")
    if [ "$got" -eq "$status" ] && [ "$lines" -eq 1 ] && { [ -d "$out" ] || no_video "$out"; } && no_video "$work/bad.mp4"; then
        pass "$legend: one line, exit $status, no video"
    else
        fail "$legend: exit $got, $lines lines: $(cat "$work/err")"
    fi
done <<ROWS
a missing data file|$work/missing.K7T --out OUT|1
a missing output folder|$work/a.K7T --settings $work/T.ini --out $work/none/bad.mp4|1
a folder as the output|$work/a.K7T --settings $work/T.ini --out OUT|1
the data file as the output|$work/a.K7T --settings $work/T.ini --out $work/a.K7T|1
an odd size|$work/a.K7T --out OUT --size 297x254|2
a frame rate of 0|$work/a.K7T --out OUT --fps 0|2
a speed of 0|$work/a.K7T --out OUT --speed 0|2
a stretch that ends before it starts|$work/a.K7T --out OUT --from 50 --to 40|2
ROWS

# A link left at the temporary name is not written through.
printf kept >"$work/victim"
ln -s "$work/victim" "$work/linked.mp4.part"
"$cli" video "$work/a.K7T" --settings "$work/T.ini" --out "$work/linked.mp4" 2>"$work/err" &&
    [ "$(cat "$work/victim")" = kept ] && [ -f "$work/linked.mp4" ] && [ ! -L "$work/linked.mp4" ] &&
    pass "a link at the temporary name: the video written, the linked file untouched" ||
    fail "a link at the temporary name: $(cat "$work/err"), victim holds $(head -c 20 "$work/victim" | od -c | head -1)"

# Ctrl+C in the middle removes what was written.
"$cli" video "$work/a.K7T" --settings "$work/T.ini" --out "$work/stopped.mp4" --speed 0.02 2>"$work/err" &
pid=$!
track "$pid"
wait_until 10 test -s "$work/stopped.mp4.part"
kill -INT "$pid"
wait "$pid"
got=$?
[ "$got" -eq 1 ] && no_video "$work/stopped.mp4" && pass "interrupted: exit 1, no video" ||
    fail "interrupted: exit $got, $(ls "$work" | grep stopped)"

finish
