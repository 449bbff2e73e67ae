#!/usr/bin/env bash
# The Windows zip under wine: windows_player.sh CASE WINDOWS_BUILD_DIR TESSARY_CAPTURE [MUSIC_MATCH]
#   cli   --help and --version exit 0; without data/ beside it, the error line and status 2;
#         README.txt has CRLF line ends
#   show  unzipped elsewhere and started from another folder: plays with -magic from inside the
#         plasma part; the paused F12 shot is the Linux renderer's frame; Escape ends it with 0
#   music with OpenAL Soft's wave writer named in alsoft.ini beside the exe, --start 100 plays the
#         track from 100 s, and the music is where the picture is (see music_offset.sh)
#   camera with -magic on a copy of the data: c, a move and k write the pose into the copy's
#         camera file, which then differs from the zip's
set -u -o pipefail
case_name=$1
windows_dir=$(cd "$2" && pwd)
capture=$3
match=${4:-}
player=wine
source "$(dirname "$0")/../e2e/player_lib.sh"
player_lib_init "$0" "$@"

# A prefix of our own, made once (its first start takes seconds) and shared by the cases,
# which run one at a time (RESOURCE_LOCK).
export WINEPREFIX="$windows_dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot -i > /dev/null 2>&1 || fail "wine could not make its prefix in $WINEPREFIX"
fi
trap 'wineserver -w; player_lib_cleanup' EXIT
# A server left on the prefix by a session without this display (the build's) would give the
# player no window: end it first.
wineserver -k 2> /dev/null || true

# The player runs in $work: without data/ and shaders/ there, it must find the zip's own.
rm -r "$work/data" "$work/shaders"
unzip -q "$windows_dir/tessary-windows.zip" -d "$work/zip" || fail "cannot unzip the package"
exe="$work/zip/tessary/tessary.exe"

case "$case_name" in
  cli)
    wine "$exe" --help > "$work/stdout" 2> "$work/stderr" || fail "--help: status $?"
    grep -q -- '--start TIME' "$work/stdout" || fail "--help printed no options"
    wine "$exe" --version 2> "$work/stderr" | tr -d '\r' | grep -q '^tessary [0-9][0-9.]*$' ||
      fail "--version printed $(wine "$exe" --version), not tessary and the version, or failed"
    rm -r "$work/zip/tessary/data"
    status=0
    (cd "$work" && wine "$exe" -w > "$work/stdout" 2> "$work/stderr") || status=$?
    [ "$status" -eq 2 ] || fail "without data/: status $status, not 2"
    grep -q "^tessary: cannot find the show's data/ and shaders/ folders: looked in .*(installed)" \
      "$work/stderr" || fail "without data/: no line naming where it looked"
    [ "$(grep -c $'\r$' "$work/zip/tessary/README.txt")" -eq "$(wc -l < "$work/zip/tessary/README.txt")" ] ||
      fail "README.txt has lines without CRLF"
    ;;
  show)
    start_player "$exe" -w -magic --start 166b
    sleep 2
    xdotool key --window "$window" p; sleep 0.5
    xdotool key --window "$window" F12; sleep 1
    stop_player
    paused=$(grep 'paused at' "$work/stdout" | grep -o 'frame [0-9]*' | grep -o '[0-9]*')
    [ -n "$paused" ] || fail "no pause line"
    shot="$work/$(printf '%06d.png' "$paused")"
    [ -f "$shot" ] || fail "F12 saved no $shot"
    "$capture" --png "$work/linux" --at "${paused}f" > /dev/null || fail "the renderer failed"
    n=$(compare -metric AE -fuzz 3% "$shot" "$work/linux/$(basename "$shot")" null: 2>&1 || true)
    echo "frame $paused: $n pixels differ from the Linux renderer's"
    [ "$n" -lt 200 ] 2> /dev/null || fail "frame $paused differs from the renderer's in $n pixels"
    ;;
  music)
    # Every other case runs with OpenAL Soft's silent driver; this one records what plays, as a
    # user would set it up: alsoft.ini beside the exe (the path in it a Windows one).
    unset ALSOFT_DRIVERS
    printf '[general]\r\ndrivers = wave\r\nfrequency = 44100\r\nchannels = stereo\r\nsample-type = int16\r\n[wave]\r\nfile = %s\r\n' \
      "$(winepath -w "$work/recorded.wav")" > "$work/zip/tessary/alsoft.ini"
    source "$(dirname "$0")/../music/music_offset.sh"
    check_music_offset "$work/zip/tessary/data/melody5.ogg" 100 "$exe" -w -magic --start 100
    ;;
  camera)
    # k writes the free camera's pose into the camera file the player was given (--data), which
    # on Windows means replacing a file that exists.
    mkdir "$work/copy"
    cp -r "$work/zip/tessary/data" "$work/zip/tessary/shaders" "$work/copy/"
    start_player "$exe" -w -magic --data "$(winepath -w "$work/copy")" --start 150b
    for key in p apostrophe c; do xdotool key --window "$window" $key; sleep 0.5; done
    xdotool keydown --window "$window" Up; sleep 0.3; xdotool keyup --window "$window" Up
    sleep 0.3
    xdotool key --window "$window" k; sleep 1
    stop_player
    tr -d '\r' < "$work/stdout" > "$work/said"
    grep -q '^wrote the shot at plasma .* at .*camera.txt:[0-9]' "$work/said" ||
      fail "k did not say it wrote the shot"
    ! cmp -s "$work/copy/data/camera.txt" "$work/zip/tessary/data/camera.txt" ||
      fail "k left the camera file as it was"
    [ "$(ls "$work/copy/data")" = "$(ls "$work/zip/tessary/data")" ] ||
      fail "k left files beside the camera file: $(ls "$work/copy/data")"
    ;;
  *)
    echo "windows_player.sh: unknown case $case_name" >&2
    exit 2
    ;;
esac
echo "windows_$case_name: ok"
