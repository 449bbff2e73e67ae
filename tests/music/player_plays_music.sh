#!/usr/bin/env bash
# The player really plays the track: under Xvfb, with OpenAL Soft's wave driver recording
# what it plays, the recording is not silent and holds data/melody5.ogg's opening seconds, and
# the music is within 50 ms of the picture (music_offset.sh says how that is measured).
# player_plays_music.sh PATH_TO_TESSARY PATH_TO_MUSIC_MATCH, from the repository root.
set -euo pipefail
player=$(readlink -f "$1")
match=$(readlink -f "$2")
. "$(dirname "$0")/../e2e/player_lib.sh"
. "$(dirname "$0")/music_offset.sh"
player_lib_init "$0" "$@"

cp "$root/data/melody5.ogg" "$work/data/"
cat > "$work/alsoft.conf" <<CONF
[general]
drivers = wave
frequency = 44100
channels = stereo
sample-type = int16
[wave]
file = $work/recorded.wav
CONF
export ALSOFT_CONF="$work/alsoft.conf" ALSOFT_DRIVERS=wave

check_music_offset "$root/data/melody5.ogg" 0 -w -magic
# Standard output holds the pause line, the --stats table and the camera file's warnings
# (-magic), nothing else.
[ -z "$(grep -v '^paused at frame\|^the player, \|^|\|^$\|^data/camera.txt:[0-9]*: warning: ' "$work/said")" ] ||
  fail "unexpected standard output: $(cat "$work/said")"
