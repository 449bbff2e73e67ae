#!/usr/bin/env bash
# tessary-capture end to end: stills by frame number, argument errors, the video through ffmpeg
# (and its failures), the benchmark. Usage: cli_test.sh PATH/TO/tessary-capture (from the
# repository root).
set -uo pipefail
capture="$(realpath "$1")"
root="$(pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
. "$(dirname "$0")/../check_lib.sh"

# Runs the capture with the given arguments; stdout, stderr and status land in $tmp/out, err, rc.
run() {
  "$capture" "$@" > "$tmp/out" 2> "$tmp/err"
  echo $? > "$tmp/rc"
}

# The last run failed with exactly one line on stderr, and `path` was not created.
expect_error() {
  local what="$1" path="$2"
  local rc lines
  rc="$(cat "$tmp/rc")"
  lines="$(wc -l < "$tmp/err")"
  [ "$rc" -ne 0 ] || fail "$what: exit status 0"
  [ "$lines" -eq 1 ] || fail "$what: $lines lines on stderr: $(cat "$tmp/err")"
  grep -q '^tessary-capture: ' "$tmp/err" || fail "$what: message not prefixed: $(cat "$tmp/err")"
  [ ! -e "$path" ] || fail "$what: $path was written"
}

# --- stills: named after their frame; the same moment in one run or two is the same picture
run --png "$tmp/a" --at 50b,22 --size 64x48
[ "$(cat "$tmp/rc")" -eq 0 ] || fail "stills: $(cat "$tmp/err")"
[ -f "$tmp/a/002572.png" ] && [ -f "$tmp/a/002640.png" ] || fail "stills: names $(ls "$tmp/a")"
[ "$(identify -format '%wx%h' "$tmp/a/002640.png" 2>/dev/null)" = "64x48" ] || fail "stills: size"
run --png "$tmp/b" --at 22 --size 64x48
cmp -s "$tmp/a/002640.png" "$tmp/b/002640.png" || fail "stills: one run and two runs differ"
run --png "$tmp/c" --at 22,22.0 --size 64x48 --effect Flash
[ "$(ls "$tmp/c")" = "002640.png" ] || fail "stills: one moment twice: $(ls "$tmp/c")"

# Supersampled stills: the asked size, and each pixel the mean of its block of the still drawn at
# three times the size (as ImageMagick's box filter makes it, within rounding).
run --png "$tmp/s" --at 22 --size 64x48 --supersample 3
run --png "$tmp/s3" --at 22 --size 192x144
convert "$tmp/s3/002640.png" -filter box -resize 64x48 "$tmp/s3/boxed.png"
[ "$(identify -format '%wx%h' "$tmp/s/002640.png" 2>/dev/null)" = "64x48" ] || fail "supersampled still: size"
compare -metric RMSE "$tmp/s3/boxed.png" "$tmp/s/002640.png" null: 2> "$tmp/rmse"
awk '{ gsub(/[()]/, "", $2); exit !($2 < 0.01) }' "$tmp/rmse" || fail "supersampled still differs: $(cat "$tmp/rmse")"

run --version
[ "$(cat "$tmp/rc")" -eq 0 ] && grep -q '^tessary-capture [0-9]' "$tmp/out" || fail "--version: $(cat "$tmp/out")"

# --- bad arguments: one line, non-zero status, nothing written (which moments are refused:
# tests/unit/moments_test.cpp)
: > "$tmp/file"
run --png "$tmp/e" --at 1 --bogus;            expect_error "unknown option" "$tmp/e"
run --png "$tmp/e" --at 168;                  expect_error "time past the end" "$tmp/e"
run --png "$tmp/e" --at 1,soon;               expect_error "not a time" "$tmp/e"
run --png "$tmp/e" --at 10 --until 5;         expect_error "past --until" "$tmp/e"
run --png "$tmp/file/sub" --at 1;             expect_error "unwritable directory" "$tmp/file/sub"
run --png "$tmp/e";                           expect_error "--png without --at" "$tmp/e"
run --png "$tmp/e" --at 1 --size 0x48;        expect_error "bad size" "$tmp/e"
run --png "$tmp/e" --at 1 --effect Nothing;   expect_error "unknown effect" "$tmp/e"
run --video "$tmp/e.mp4" --size 255x192;      expect_error "odd video size" "$tmp/e.mp4"
run --video "$tmp/file/e.mp4";                expect_error "unwritable video dir" "$tmp/file/e.mp4"
run --video "$tmp/e.mp4" --bench;             expect_error "two modes" "$tmp/e.mp4"
run;                                          expect_error "no mode" "$tmp/e"
mkdir "$tmp/nodata"
run --png "$tmp/e" --at 1 --data "$tmp/nodata"; expect_error "no data/ in --data" "$tmp/e"
[ "$(cat "$tmp/rc")" -eq 2 ] || fail "no data/ in --data: exit status $(cat "$tmp/rc")"

# --- video: frame count, size, H.264 yuv420p and an audio stream
music="data/melody5.ogg"
if [ ! -f "$music" ]; then
  music="$tmp/music.ogg"
  ffmpeg -v error -f lavfi -i sine=frequency=440:duration=3 -ac 2 -c:a libvorbis "$music"
fi
probe() {
  ffprobe -v error -count_frames -show_entries stream=codec_type,codec_name,width,height,pix_fmt,nb_read_frames -of compact=nokey=0 "$1"
}
run --video "$tmp/v.mp4" --until 2 --size 256x192 --supersample 2 --music "$music"
[ "$(cat "$tmp/rc")" -eq 0 ] || fail "video: $(cat "$tmp/err")"
probe "$tmp/v.mp4" > "$tmp/probe"
grep -q 'codec_name=h264|codec_type=video|width=256|height=192|pix_fmt=yuv420p|nb_read_frames=120' "$tmp/probe" ||
  fail "video stream: $(cat "$tmp/probe")"
grep -q 'codec_name=aac|codec_type=audio' "$tmp/probe" || fail "audio stream: $(cat "$tmp/probe")"
[ -z "$(ls "$tmp" | grep partial)" ] || fail "video: partial file left"

# --from: the video starts at that moment (its first frame is the still of that moment, as near
# as the encoding allows: far nearer than the still a beat on), every other frame up to --until,
# and its music is the track from that moment (the difference of the two is quiet; with the track
# 50 ms off it is loud). Stills keep their frame numbers; moments before --from are refused.
run --video "$tmp/from.mp4" --from 120b --until 122b --size 256x192 --music "$music"
[ "$(cat "$tmp/rc")" -eq 0 ] || fail "--from video: $(cat "$tmp/err")"
run --png "$tmp/from" --at 120b,121b --from 120b --size 256x192
[ "$(ls "$tmp/from" | paste -sd,)" = "006172.png,006223.png" ] || fail "--from stills: $(ls "$tmp/from")"
probe "$tmp/from.mp4" > "$tmp/probe"
grep -q 'codec_type=video|.*nb_read_frames=52' "$tmp/probe" || fail "--from video: frames: $(cat "$tmp/probe")"
ffmpeg -v error -i "$tmp/from.mp4" -frames:v 1 "$tmp/from/first.png"
rmse() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/'; }
same="$(rmse "$tmp/from/first.png" "$tmp/from/006172.png")"
next="$(rmse "$tmp/from/first.png" "$tmp/from/006223.png")"
awk -v s="$same" -v n="$next" 'BEGIN { exit !(s < 0.06 && s * 3 < n) }' ||
  fail "--from video: first frame vs its still $same, vs the next beat's $next"
residual() {  # RMS level in dB of the video's sound less the track from $1 s, over 0.8 s
  ffmpeg -v error -i "$tmp/from.mp4" -ss "$1" -i "$music" -filter_complex \
    "[0:a]atrim=0:0.8,asetpts=N/SR/TB,pan=mono|c0=c0[a];[1:a]aresample=44100,atrim=0:0.8,asetpts=N/SR/TB,pan=mono|c0=c0[b];[a][b]amerge=inputs=2,pan=mono|c0=c0-c1,astats=metadata=1:reset=0,ametadata=print:key=lavfi.astats.Overall.RMS_level:file=$tmp/rms" \
    -f null - && tail -n 1 "$tmp/rms" | cut -d= -f2
}
if [ "$music" = data/melody5.ogg ]; then
  at="$(awk 'BEGIN { printf "%.6f", 6172 / 120 }')"
  on="$(residual "$at")"
  off="$(residual "$(awk -v a="$at" 'BEGIN { printf "%.6f", a + 0.05 }')")"
  awk -v on="$on" -v off="$off" 'BEGIN { exit !(on + 12 < off) }' ||
    fail "--from video: its music is not the track from 120b (residual $on dB, 50 ms off $off dB)"
fi
run --png "$tmp/e" --at 100b --from 120b;      expect_error "--at before --from" "$tmp/e"
run --video "$tmp/e.mp4" --from 10 --until 5;  expect_error "--from after --until" "$tmp/e.mp4"
run --video "$tmp/e.mp4" --from later;         expect_error "--from not a time" "$tmp/e.mp4"
run --bench --from 10;                         expect_error "--from with --bench" "$tmp/e"

# The web preset, on a second of the show at x264's quickest setting that keeps the High profile:
# 16:9 2160p60 with the show in the middle, BT.709 tags, the index first, half-second GOPs, AAC-LC.
run --video "$tmp/web.mp4" --preset web --until 1 --x264-preset superfast --music "$music"
[ "$(cat "$tmp/rc")" -eq 0 ] || fail "web video: $(cat "$tmp/err")"
ffprobe -v error -show_entries stream=codec_name,profile,width,height,pix_fmt,r_frame_rate,color_space,color_transfer,color_primaries,sample_rate \
  -of compact=nokey=0 "$tmp/web.mp4" > "$tmp/probe"
grep -q 'codec_name=h264|profile=High|width=3840|height=2160|.*pix_fmt=yuv420p|.*r_frame_rate=60/1' "$tmp/probe" &&
  grep -q 'color_space=bt709|color_transfer=bt709|color_primaries=bt709' "$tmp/probe" ||
  fail "web video stream: $(cat "$tmp/probe")"
grep -q 'codec_name=aac|profile=LC|sample_rate=48000' "$tmp/probe" || fail "web audio: $(cat "$tmp/probe")"
[ "$(grep -aobE 'moov|mdat' "$tmp/web.mp4" | head -n 1 | cut -d: -f2)" = moov ] || fail "web video: mdat before moov"
keys="$(ffprobe -v error -select_streams v -show_entries frame=key_frame -of csv=p=0 "$tmp/web.mp4" | grep . | grep -n '^1' | cut -d: -f1 | paste -sd,)"
echo "$keys,61" | awk -F, '{ for (i = 2; i <= NF; ++i) if ($i - $(i - 1) > 30) exit 1; exit $1 != 1 }' ||
  fail "web video: key frames at $keys (of 60), not every 30 or sooner"
ffmpeg -v error -i "$tmp/web.mp4" -vf "select=eq(n\,59),crop=480:2160:0:0,scale=1:1:flags=area" -frames:v 1 -f rawvideo -pix_fmt gray - |
  od -An -tu1 | grep -Eq '^ +[0-2]$' || fail "web video: the left bar is not black"
run --video "$tmp/web.mkv" --preset web --until 1; expect_error "web video not MP4" "$tmp/web.mkv"
run --video "$tmp/web2.mp4" --preset web --size 640x480; expect_error "web video with --size" "$tmp/web2.mp4"

# No music file where it is expected: a silent video, said so.
mkdir -p "$tmp/elsewhere/shaders" "$tmp/elsewhere/data" && cp shaders/* "$tmp/elsewhere/shaders/"
cp data/camera.txt "$tmp/elsewhere/data/"
(cd "$tmp/elsewhere" && "$capture" --video "$tmp/silent.mp4" --until 0.5 --size 64x48 \
  > "$tmp/out" 2> "$tmp/err"; echo $? > "$tmp/rc")
[ "$(cat "$tmp/rc")" -eq 0 ] || fail "silent video: $(cat "$tmp/err")"
grep -q 'silent' "$tmp/err" || fail "silent video not announced: $(cat "$tmp/err")"
probe "$tmp/silent.mp4" | grep -q 'codec_type=audio' || fail "silent video: no audio stream"
cd "$root"

# ffmpeg missing: a clear message, no file.
PATH=/nonexistent "$capture" --video "$tmp/none.mp4" --until 0.5 --size 64x48 > /dev/null 2> "$tmp/err"
echo $? > "$tmp/rc"
expect_error "ffmpeg missing" "$tmp/none.mp4"
grep -q 'ffmpeg not found' "$tmp/err" || fail "ffmpeg missing: $(cat "$tmp/err")"


# Interrupted once ffmpeg is encoding: ends with status 130 and leaves nothing.
"$capture" --video "$tmp/int.mp4" --size 64x48 > /dev/null 2> "$tmp/err" &
pid=$!
for _ in $(seq 300); do grep -Eq 'video \[[^]]*\] [1-9][0-9]{2,}/' "$tmp/err" && break; sleep 0.1; done
kill -INT "$pid"
for _ in $(seq 300); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
kill -0 "$pid" 2> /dev/null && kill -KILL "$pid" && fail "interrupted video: hangs"
wait "$pid"
rc=$?
[ "$rc" -eq 130 ] || fail "interrupted video: status $rc: $(tail -c 200 "$tmp/err")"
[ -z "$(ls "$tmp" | grep int)" ] || fail "interrupted video: left $(ls "$tmp" | grep int)"

# --- check: the show's files pass (warnings only); a copy with a broken camera line, shader and
# picture fails with a line for each, the shader's by file, line and column
run --check
[ "$(cat "$tmp/rc")" -eq 0 ] || fail "check: status $(cat "$tmp/rc"): $(cat "$tmp/out")"
grep -q ' 0 errors, ' "$tmp/out" || fail "check: $(cat "$tmp/out")"
mkdir -p "$tmp/broken" && cp -r data shaders "$tmp/broken/"
echo "title place cut 0b" >> "$tmp/broken/data/camera.txt"
sed -i '12s|$| // a comment|' "$tmp/broken/shaders/toon.frag"
: > "$tmp/broken/data/earth.png"
run --check --data "$tmp/broken"
[ "$(cat "$tmp/rc")" -eq 1 ] || fail "broken check: status $(cat "$tmp/rc")"
grep -q "^data/camera.txt:$(( $(wc -l < data/camera.txt) + 1 )): expected a length" "$tmp/out" ||
  fail "broken check: camera line: $(cat "$tmp/out")"
grep -q 'shaders/toon.frag:12:[0-9]*: .*line comment' "$tmp/out" || fail "broken check: shader: $(cat "$tmp/out")"
grep -q 'data/earth.png' "$tmp/out" || fail "broken check: picture: $(cat "$tmp/out")"
grep -q ' 3 errors, ' "$tmp/out" || fail "broken check: count: $(cat "$tmp/out")"

# --- bench: the part and the total, in both forms (a second of the show: the rest costs time)
run --bench --json --until 1 --size 32x24
[ "$(cat "$tmp/rc")" -eq 0 ] || fail "bench: $(cat "$tmp/err")"
grep -q '"part": "title", "frames": 120' "$tmp/out" || fail "bench json: $(head -c 300 "$tmp/out")"
grep -q '"part": "all", "frames": 120' "$tmp/out" || fail "bench json: no total"
grep -q '"p99_share"' "$tmp/out" || fail "bench json: no shares"
python3 -c 'import json,sys; runs = json.load(open(sys.argv[1])); assert len(runs) == 2' "$tmp/out" ||
  fail "bench json of both: not one JSON array of two runs"
# Without --renderer the bench times both renderers in one run: a table each, then side by side.
run --bench --until 0.5 --size 32x24 --plot-data "$tmp/plot"
[ "$(grep -c '^| title | 60 | frame |' "$tmp/out")" -eq 2 ] || fail "bench tables: $(cat "$tmp/out")"
grep -q '^classic renderer, 32x24' "$tmp/out" || fail "bench: no classic heading"
grep -q '^instanced renderer, 32x24' "$tmp/out" || fail "bench: no instanced heading"
grep -q '^| title | [0-9.]* | [0-9.]* | [0-9.]* | [0-9.]* | [0-9.]*x |$' "$tmp/out" ||
  fail "bench: no side-by-side row: $(tail -4 "$tmp/out")"
for r in classic instanced; do
  [ "$(grep -c '^[0-9]' "$tmp/plot/frames-$r.csv")" -eq 60 ] || fail "plot data: frames-$r.csv"
  grep -q '^0.00000,0.50000,title,' "$tmp/plot/parts-$r.csv" || fail "plot data: parts-$r.csv"
done
run --bench --renderer instanced --json --until 0.5 --size 32x24 --plot-data "$tmp/plot1"
grep -q '"run": "instanced renderer, 32x24' "$tmp/out" || fail "bench one renderer: $(head -c 200 "$tmp/out")"
[ "$(grep -c '^[0-9]' "$tmp/plot1/frames.csv")" -eq 60 ] || fail "plot data: frames.csv"
run --bench --renderer software --until 0.5; expect_error "unknown renderer" ""
# --msaa with the bench: each renderer with and without it, side by side.
run --bench --renderer classic --msaa 4 --until 0.25 --size 32x24
grep -q '^| title | [0-9.]* | [0-9.]* | [0-9.]* | [0-9.]* | [0-9.]*x |$' "$tmp/out" ||
  fail "bench --msaa: no side-by-side row: $(tail -4 "$tmp/out")"
grep -q '^classic-msaa4 renderer, 32x24' "$tmp/out" || fail "bench --msaa: no multisampled run"
run --png "$tmp/m" --at 22 --size 64x48 --renderer instanced --msaa 4
[ "$(cat "$tmp/rc")" -eq 0 ] || fail "instanced still with --msaa: $(cat "$tmp/err")"
[ ! -s "$tmp/err" ] || fail "--msaa 4 complained here: $(cat "$tmp/err")"
touch "$tmp/file"
run --bench --until 0.5 --plot-data "$tmp/file/plot"; expect_error "plot data unwritable" "$tmp/file/plot"

finish "all capture command-line checks passed"
