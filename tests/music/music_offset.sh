# Sourced by the tests that record the player, after player_lib.sh, with `match` set to the
# music_match program and OpenAL Soft's wave writer set up to record into $work/recorded.wav.
#
# check_music_offset TRACK FROM PLAYER_ARGS...
# starts the player with PLAYER_ARGS (-magic among them, for p) and --stats, lets it play about
# ten seconds, pauses it with p and ends it; then the recording must hold TRACK from FROM
# seconds, and the music must be within 50 ms of the picture.
#
# How the picture's clock is known against the recording: p pauses the picture and the music at
# one moment of the player's clock. The player says which step the paused picture shows
# ("paused at frame N (T s, ...)"), and the recording goes silent where the music paused; the
# matcher finds which moment of the track sounded last before that silence (M). A paused show
# holds its clock at T (the step on screen) and plays on from there, and the music from M, so
# M - T is how far the music runs ahead of the picture from then on; it must be within 50 ms.
# T is the step drawn last, which the clock had left by up to a frame (the longest is printed,
# from --stats, to tell a slow frame from a late music), and the mixer finishes the block it
# plays: both make M - T larger, so a music that starts late shows below zero.
check_music_offset() {
  local track=$1 from=$2 picture music offset_ms frame_ms
  shift 2
  start_player "$@" --stats
  sleep 9
  xdotool key --window "$window" p
  sleep 1.5
  stop_player
  tr -d '\r' < "$work/stdout" > "$work/said"
  picture=$(sed -n 's/^paused at frame [0-9]* (\([0-9.]*\) s, .*/\1/p' "$work/said" | tail -n 1)
  [ -n "$picture" ] || fail "p printed no pause line"
  # The longest frame: the largest max of the --stats table's frame rows, in whole ms.
  frame_ms=$(awk -F '|' '$4 ~ /frame/ { v = $8; sub(/\(.*/, "", v); if (v + 0 > m) m = v + 0 }
    END { printf "%d", m + 0.999 }' "$work/said")
  [ "$frame_ms" -gt 0 ] || fail "--stats printed no frame times"
  [ -s "$work/recorded.wav" ] || fail "nothing recorded"
  # TESSARY_KEEP_RECORDING=FILE keeps the recording, to listen to or look at.
  if [ -n "${TESSARY_KEEP_RECORDING:-}" ]; then cp "$work/recorded.wav" "$TESSARY_KEEP_RECORDING"; fi
  "$match" "$work/recorded.wav" "$track" --from "$from" --stopped > "$work/match" 2>&1 ||
    fail "the recording does not hold the track from $from s: $(cat "$work/match")"
  cat "$work/match"
  music=$(sed -n "s/^stopped at the track's \([0-9.]*\) s.*/\1/p" "$work/match")
  offset_ms=$(awk -v m="$music" -v p="$picture" 'BEGIN { d = (m - p) * 1000; printf "%d", d < 0 ? d - 0.5 : d + 0.5 }')
  echo "paused: the music at $music s, the picture at $picture s (frames up to $frame_ms ms):" \
    "the music $offset_ms ms ahead"
  [ "${offset_ms#-}" -le 50 ] || fail "the music is $offset_ms ms ahead of the picture (beyond 50)"
}
