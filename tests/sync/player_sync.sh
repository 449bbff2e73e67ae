#!/usr/bin/env bash
# The player with a sync editor (the fake one), under Xvfb:
#   player_sync.sh PATH_TO_TESSARY PATH_TO_FAKE_EDITOR PATH_TO_TESSARY_CAPTURE
# The editor's cursor lands the paused player on the first step of its row; the frame saved
# there with F12 is the renderer's frame from the track files SAVE_TRACKS wrote (and not the
# frame without them); PAUSE resumes and rows come back; a row past the end holds the last frame.
set -euo pipefail
player=$(readlink -f "$1")
editor=$(readlink -f "$2")
capture=$(readlink -f "$3")
. "$(dirname "$0")/../e2e/player_lib.sh"
player_lib_init "$0" "$@"

# Waits up to 20 s for a line matching $2 in file $1.
wait_line() {
  for _ in $(seq 1 200); do grep -q -- "$2" "$1" 2> /dev/null && return 0; sleep 0.1; done
  fail "no line '$2' in $(basename "$1"): $(cat "$1" 2> /dev/null)"
}
# Sends one command to the editor and waits until it has carried it out.
edit() { echo "$1" >&3; wait_line "$work/editor.out" "^ok $1\$"; }

mkfifo "$work/editor.in"
"$editor" 0 < "$work/editor.in" > "$work/editor.out" 2> "$work/editor.err" &
editor_pid=$!
exec 3> "$work/editor.in"
wait_line "$work/editor.out" "^listening on "
port=$(sed -n 's/^listening on //p' "$work/editor.out")

make_music 200
edit "doc camera:pos.z 0 -20 1"
edit "doc camera:pos.z 64 60 2"
edit "doc camera:rot.y 0 10 3"
edit "doc camera:rot.y 256 -30 1"
# The editor accepts as soon as the player connects (it answers the greeting at once, as an
# editor does). Row 200 is beat 25: its first step is 1286 (200 rows of 0.4285714 s / 8 at 120
# steps a second).
echo "accept 200" >&3
start_player -w -magic --sync "$port" --shots "$work/shots"
wait_line "$work/editor.out" "^ok accept 200\$"
edit "key camera:pos.x 180 3 0"
edit "save"
wait_line "$work/stdout" "^saved the sync tracks in data/$"
xdotool key --window "$window" F1 F12
wait_line "$work/stdout" "shots/001286.png$"
for name in pos.x pos.y pos.z rot.x rot.y rot.z; do
  [ -f "$work/data/sync_camera-3A$name.track" ] || fail "SAVE_TRACKS wrote no $name track"
done
[ "$(stat -c %s "$work/data/sync_camera-3Apos.z.track")" -eq 22 ] || fail "pos.z is not two keys"

(cd "$work" && "$capture" --png capture --at 1286f > /dev/null)
n=$(differing "$work/shots/001286.png" "$work/capture/001286.png")
echo "with the tracks: $n pixels differ from the renderer's"
[ "$n" -lt 200 ] || fail "the paused frame differs from the renderer's in $n pixels"
mkdir "$work/aside" && mv "$work/data/"*.track "$work/aside/"
(cd "$work" && "$capture" --png plain --at 1286f > /dev/null)
n=$(differing "$work/shots/001286.png" "$work/plain/001286.png")
[ "$n" -gt 2000 ] || fail "the tracks hardly changed the frame ($n pixels)"

# The editor plays: rows come back. (The editor leaving, coming back and sending garbage:
# tests/sync/client_test.cpp.)
edit "row 400"
edit "pause 0"
edit "expect-row 416"
# A row past the show's end: the player holds its last frame, paused, and plays on from the
# editor's next seek.
edit "row 3200"
sleep 2
kill -0 "$pid" 2> /dev/null || fail "a row past the end ended the show"
edit "row 800"
edit "expect-row 810"
stop_player
exec 3>&-
wait "$editor_pid" || fail "the fake editor failed: $(cat "$work/editor.err")"
