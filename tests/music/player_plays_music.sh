#!/usr/bin/env bash
# The player really plays the track: under Xvfb, with OpenAL Soft's wave driver recording
# what it plays, the recording is not silent and holds data/melody5.ogg's opening seconds.
# player_plays_music.sh PATH_TO_TESSARY PATH_TO_MUSIC_MATCH, from the repository root.
set -euo pipefail
player=$(readlink -f "$1")
match=$(readlink -f "$2")
root=$(pwd)

if [ -z "${MUSIC_E2E_INNER:-}" ]; then
  export MUSIC_E2E_INNER=1
  exec bash "$(dirname "$0")/../e2e/with_xvfb.sh" bash "$0" "$@"
fi

work=$(mktemp -d)
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  if [ -s "$work/stderr" ]; then echo "player's standard error:" >&2; tail -n 20 "$work/stderr" >&2; fi
  exit 1
}

# The player reads its files relative to where it runs: a scratch copy of them.
mkdir -p "$work/data"
cp -r "$root/shaders" "$work/shaders"
cp "$root"/data/*.png "$root"/data/camera.txt "$root/data/melody5.ogg" "$work/data/"
cat > "$work/alsoft.conf" <<CONF
[general]
drivers = wave
frequency = 44100
channels = stereo
sample-type = int16
[wave]
file = $work/recorded.wav
CONF

(cd "$work" && ALSOFT_CONF="$work/alsoft.conf" ALSOFT_DRIVERS=wave exec "$player" -w \
  > "$work/stdout" 2> "$work/stderr") &
pid=$!
timeout 30 xdotool search --sync --onlyvisible --name '^Tessary$' > /dev/null || fail "no window titled Tessary"
window=$(xdotool search --onlyvisible --name '^Tessary$' | tail -n 1)
sleep 10
kill -0 "$pid" 2>/dev/null || fail "the player ended early"
xdotool key --window "$window" Escape 2> /dev/null || true
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "player still running after Escape"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status"
[ ! -s "$work/stdout" ] || fail "unexpected standard output: $(cat "$work/stdout")"
[ -s "$work/recorded.wav" ] || fail "nothing recorded"
"$match" "$work/recorded.wav" "$root/data/melody5.ogg" || fail "the recording does not hold the track"
