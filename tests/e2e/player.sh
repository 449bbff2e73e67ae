#!/usr/bin/env bash
# End-to-end checks of the player under Xvfb: player.sh CASE PATH_TO_TESSARY [PATH_TO_WM_CLOSE]
# Each case runs the player in a scratch copy of the run-time files (player_lib.sh).
set -euo pipefail
case_name=$1
player=$(readlink -f "$2")
wm_close=$(readlink -f "${3:-/nonexistent}")
. "$(dirname "$0")/player_lib.sh"
player_lib_init "$0" "$@"

shot() { import -window root "$work/$1.png"; }
same() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 || true)" = "0" ]; }

case "$case_name" in
  window)
    make_music
    start_player -w
    geometry=$(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
    [ "$geometry" = "1024x768" ] || fail "window is $geometry"
    stop_player
    [ ! -s "$work/stdout" ] || fail "unexpected standard output: $(cat "$work/stdout")"
    ;;
  no_music)
    start_player -w
    sleep 2
    kill -0 "$pid" 2>/dev/null || fail "player stopped without its music"
    expected="E: main:51, music_init() Couldn't open music from file data/melody5.ogg"
    [ "$(cat "$work/stdout")" = "$expected" ] || fail "standard output was: $(cat "$work/stdout")"
    stop_player
    ;;
  magic_pause)
    make_music
    start_player -magic -w
    xdotool key --window "$window" p
    sleep 0.5
    shot a; sleep 1; shot b
    same a b || fail "picture moved while paused"
    xdotool key --window "$window" p
    sleep 1
    shot c
    same b c && fail "picture did not move after resuming"
    stop_player
    ;;
  plain_p)
    make_music
    start_player -w
    xdotool key --window "$window" p
    sleep 0.5
    shot a; sleep 1; shot b
    same a b && fail "p paused the show without -magic"
    stop_player
    ;;
  no_audio)
    # OpenAL Soft's default drivers, on a machine without a sound card.
    if [ -e /dev/snd ]; then echo "skipped: this machine has a sound device"; exit 0; fi
    unset ALSOFT_DRIVERS
    make_music
    start_player -w
    sleep 2
    stop_player
    lines=$(wc -l < "$work/stderr")
    [ "$lines" -le 5 ] || fail "standard error flooded: $lines lines"
    [ "$(grep -c 'no audio device' "$work/stderr")" -eq 1 ] || fail "no single line about the missing device"
    [ ! -s "$work/stdout" ] || fail "unexpected standard output: $(cat "$work/stdout")"
    ;;
  wm_close)
    make_music
    start_player -w
    "$wm_close" "$window"
    wait_exit 10
    ;;
  window_destroyed)
    # The window destroyed from outside rather than asked to close.
    make_music
    start_player -w
    xdotool windowclose "$window"
    wait_exit 10
    ;;
  resize)
    make_music
    start_player -w
    xdotool windowsize "$window" 640 400
    sleep 1
    kill -0 "$pid" 2>/dev/null || fail "player ended after a resize"
    [ "$(xwininfo -id "$window" | awk '/Width:/{print $2}')" = "640" ] || fail "window not resized"
    stop_player
    ;;
  repeated)
    # Twenty short runs in a row, each ended with Escape.
    make_music
    for run in $(seq 1 20); do
      start_player -w
      stop_player
      echo "run $run: exit status 0"
    done
    ;;
  stall)
    # The whole show, stopped for three seconds on the way: it must catch up and end by itself.
    make_music
    start_player -w
    sleep 5
    kill -STOP "$pid"
    sleep 3
    kill -CONT "$pid"
    wait_exit 200
    [ ! -s "$work/stdout" ] || fail "unexpected standard output: $(cat "$work/stdout")"
    ;;
  *) fail "unknown case $case_name" ;;
esac
echo "ok: $case_name"
