# Shared by the end-to-end scripts that run the player: sourced, not run.
# The sourcing script sets `player` (path to tessary) and calls `player_lib_init "$0" "$@"` first:
# it re-runs the script under Xvfb, then makes a scratch copy of the run-time files in $work
# (shaders and pictures; no music unless make_music is called), so the repository's own data/
# does not change the outcome.

player_lib_init() {
  if [ -z "${E2E_INNER:-}" ]; then
    export E2E_INNER=1
    exec bash "$(dirname "${BASH_SOURCE[0]}")/with_xvfb.sh" bash "$@"
  fi
  root=$(pwd)
  work=$(mktemp -d)
  pid=""
  trap player_lib_cleanup EXIT
  mkdir -p "$work/data" "$work/shaders"
  cp "$root"/shaders/toon*.vert "$root"/shaders/toon*.frag "$work/shaders/"
  cp "$root"/data/camera.txt "$work/data/"
  for png in "$root"/data/*.png; do [ -e "$png" ] && cp "$png" "$work/data/"; done
  return 0
}

player_lib_cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$work/stdout" ]; then echo "standard output:" >&2; cat "$work/stdout" >&2; fi
  if [ -s "$work/stderr" ]; then echo "standard error (last lines):" >&2; tail -n 20 "$work/stderr" >&2; fi
  exit 1
}

# Pixels that differ by more than a few levels between two pictures.
differing() { compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1 || true; }

# A short stand-in track (SECONDS long, default 20), so no case depends on the real one.
make_music() {
  ffmpeg -loglevel error -y -f lavfi -i "sine=frequency=440:duration=${1:-20}" -ac 2 -ar 44100 \
    -c:a libvorbis "$work/data/melody5.ogg"
}

# Starts the player in $work with the given arguments; sets pid and window.
start_player() {
  (cd "$work" && exec "$player" "$@" > "$work/stdout" 2> "$work/stderr") &
  pid=$!
  timeout 20 xdotool search --sync --onlyvisible --name '^Tessary$' > /dev/null ||
    fail "no window titled Tessary"
  sleep 1
  # Look again once the player is settled: SFML may make short-lived helper windows at start.
  window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tessary$' | tail -n 1 || true)
  [ -n "$window" ] || fail "the Tessary window went away"
}

# Waits up to $1 seconds for the player to end and checks that its exit status is 0.
wait_exit() {
  local status=0
  for _ in $(seq 1 $(( $1 * 10 ))); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "player still running after $1 s"
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq 0 ] || fail "exit status $status"
  windows_gone
}

# The server may still hold an ended player's window a moment (with the XID the next run's
# gets): let it go, so that the next start finds the next window and not this one.
windows_gone() {
  for _ in $(seq 1 50); do
    [ -z "$(xdotool search --name '^Tessary$' 2> /dev/null)" ] && break
    sleep 0.1
  done
}

# Escape, then the player must end with status 0. It may close its window between the key's
# press and release, which xdotool reports as an X error: only the player's ending counts.
stop_player() {
  kill -0 "$pid" 2>/dev/null || fail "player ended before Escape"
  xdotool key --window "$window" Escape 2> /dev/null || true
  wait_exit 10
  # A release that found no window leaves the key down on the server, which then repeats it
  # into the next run's window.
  xdotool keyup Escape 2> /dev/null || true
}
