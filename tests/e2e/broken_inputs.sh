#!/usr/bin/env bash
# The player with one of its files absent, empty, truncated or garbage:
#   broken_inputs.sh FILE KIND PATH_TO_TESSARY
# FILE is music, vert or frag. The player must keep running, print exactly the expected error
# lines on standard output, and end with status 0 on Escape.
set -euo pipefail
file=$1
kind=$2
player=$(readlink -f "$3")
. "$(dirname "$0")/player_lib.sh"
. "$(dirname "$0")/break_file.sh"
player_lib_init "$0" "$@"
make_music 4

case "$file" in
  music) target="$work/data/melody5.ogg" ;;
  vert) target="$work/shaders/toon.vert" ;;
  frag) target="$work/shaders/toon.frag" ;;
  *) echo "unknown file $file" >&2; exit 2 ;;
esac

# A truncated track is cut in the middle: the 4 s track then ends after about 2 s, before the
# player is stopped; a truncated shader ends in the middle of its text.
break_file "$target" "$kind"

start_player -w
sleep 2
kill -0 "$pid" 2>/dev/null || fail "player ended early"
stop_player

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
