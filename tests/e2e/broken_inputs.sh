#!/usr/bin/env bash
# The player with one of its files absent, empty, truncated or garbage:
#   broken_inputs.sh FILE KIND PATH_TO_TESSARY
# FILE is music, vert or frag. The player must keep running, print exactly the expected error
# lines on standard output, and end with status 0 on Escape.
set -euo pipefail
file=$1
kind=$2
player=$(readlink -f "$3")
root=$(pwd)

if [ -z "${E2E_INNER:-}" ]; then
  export E2E_INNER=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

work=$(mktemp -d)
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL ($file, $kind): $*" >&2
  echo "standard output:" >&2; cat "$work/stdout" >&2 || true
  echo "standard error (last lines):" >&2; tail -n 10 "$work/stderr" >&2 || true
  exit 1
}

mkdir -p "$work/data" "$work/shaders"
cp "$root"/shaders/toon.vert "$root"/shaders/toon.frag "$work/shaders/"
for png in "$root"/data/*.png; do [ -e "$png" ] && cp "$png" "$work/data/"; done
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=4" -ac 2 -ar 44100 \
  -c:a libvorbis "$work/data/melody5.ogg"

case "$file" in
  music) target="$work/data/melody5.ogg" ;;
  vert) target="$work/shaders/toon.vert" ;;
  frag) target="$work/shaders/toon.frag" ;;
  *) fail "unknown file" ;;
esac

case "$kind" in
  absent) rm -f "$target" ;;
  empty) : > "$target" ;;
  truncated)
    # Cut in the middle: the 4 s track then ends after about 2 s, before the player is stopped;
    # a shader ends in the middle of its text.
    size=$(stat -c %s "$target")
    head -c $(( size / 2 )) "$target" > "$work/part" && mv "$work/part" "$target" ;;
  garbage)
    # Deterministic bytes that are no valid file of any kind the player reads.
    awk 'BEGIN { srand(7); for (i = 0; i < 6000; i++) printf "%c", 1 + int(rand() * 254) }' \
      > "$target" ;;
  *) fail "unknown kind" ;;
esac

(cd "$work" && exec "$player" -w > "$work/stdout" 2> "$work/stderr") &
pid=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Tessary$' > /dev/null || fail "no window"
sleep 3
kill -0 "$pid" 2>/dev/null || fail "player ended early"
window=$(xdotool search --onlyvisible --name '^Tessary$' | tail -n 1)
xdotool key --window "$window" Escape 2> /dev/null || true
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "still running after Escape"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status"

out=$(cat "$work/stdout")
music_line="E: main:51, music_init() Couldn't open music from file data/melody5.ogg"
case "$file:$kind" in
  music:truncated) [ -z "$out" ] || fail "a truncated track still opens: no line expected" ;;
  music:*) [ "$out" = "$music_line" ] || fail "expected the music line" ;;
  vert:absent | frag:absent)
    [ "$out" = "E: shadermanager:161, LoadFile() failed to open file shaders/toon.$file" ] ||
      fail "expected the LoadFile line" ;;
  *)
    [ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || fail "expected exactly one line"
    printf '%s\n' "$out" | grep -q -E '^E: shadermanager:[0-9]+, Init\(\) (vertex|fragment) shader failed to compile: ' ||
      fail "expected the shader's compile line" ;;
esac
echo "ok: $file $kind"
[ -n "$out" ] && echo "standard output: $out"
exit 0
