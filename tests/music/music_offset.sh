# Sourced by the tests that record the player, after player_lib.sh, with `match` set to the
# music_match program and OpenAL Soft's wave writer set up to record into $work/recorded.wav.
#
# check_music_offset TRACK FROM PLAYER_ARGS...
# starts the player with PLAYER_ARGS (-magic among them, for p), lets it play about ten seconds,
# pauses it with p and ends it; then the recording must hold TRACK from FROM seconds, and the
# music must be within 50 ms of the picture.
#
# How the picture's clock is known against the recording: p pauses the picture and the music at
# one moment of the player's clock. The player says which step the paused picture shows
# ("paused at frame N (T s, ...)"), and the recording goes silent where the music paused; the
# matcher finds which moment of the track sounded last before that silence. That moment minus T
# is how far the music runs ahead of the picture. Both readings may run late, never early: the
# paused step is the one last drawn (up to a frame behind the clock), and the mixer finishes the
# block it is playing; so a music that starts late shows as a negative offset, one that starts
# early or runs fast as a larger positive one.
check_music_offset() {
  local track=$1 from=$2 picture music offset_ms
  shift 2
  start_player "$@"
  sleep 9
  xdotool key --window "$window" p
  sleep 1.5
  stop_player
  picture=$(tr -d '\r' < "$work/stdout" |
    sed -n 's/^paused at frame [0-9]* (\([0-9.]*\) s, .*/\1/p' | tail -n 1)
  [ -n "$picture" ] || fail "p printed no pause line"
  [ -s "$work/recorded.wav" ] || fail "nothing recorded"
  # TESSARY_KEEP_RECORDING=FILE keeps the recording, to listen to or look at.
  if [ -n "${TESSARY_KEEP_RECORDING:-}" ]; then cp "$work/recorded.wav" "$TESSARY_KEEP_RECORDING"; fi
  "$match" "$work/recorded.wav" "$track" --from "$from" --stopped > "$work/match" 2>&1 ||
    fail "the recording does not hold the track from $from s: $(cat "$work/match")"
  cat "$work/match"
  music=$(sed -n "s/^stopped at the track's \([0-9.]*\) s.*/\1/p" "$work/match")
  offset_ms=$(awk -v m="$music" -v p="$picture" 'BEGIN { d = (m - p) * 1000; printf "%d", d < 0 ? d - 0.5 : d + 0.5 }')
  echo "paused: the music at $music s, the picture at $picture s: the music $offset_ms ms ahead"
  [ "${offset_ms#-}" -le 50 ] || fail "the music is $offset_ms ms off the picture (more than 50)"
}
