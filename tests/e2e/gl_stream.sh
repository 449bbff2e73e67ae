#!/usr/bin/env bash
# Traces GL calls with apitrace and checks their shape (gl_stream.awk):
#   gl_stream.sh player PATH_TO_TESSARY          a few seconds of the player, ended with Escape
#   gl_stream.sh parts PATH_TO_TESSARY_CAPTURE   a few frames of every part, offline
set -euo pipefail
mode=$1
program=$(readlink -f "$2")
here=$(cd "$(dirname "$0")" && pwd)

case "$mode" in
  player)
    . "$here/player_lib.sh"
    player_lib_init "$0" "$@"
    player=apitrace
    start_player trace -o "$work/t.trace" "$program" -w
    sleep 2
    stop_player
    apitrace dump --color=never "$work/t.trace" | awk -v min_cubes=1000 -f "$here/gl_stream.awk"
    ;;
  parts)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    # Two frames (the kept one and the one before it) in each part and in the tail.
    for at in 12 30 50 90 100 120 150 165; do
      apitrace trace --api egl -o "$work/$at.trace" "$program" --png "$work/png" --size 128x96 \
        --at "$at" > /dev/null 2> "$work/stderr"
      printf '%5s s: ' "$at"
      min=100
      [ "$at" = 165 ] && min=0
      apitrace dump --color=never "$work/$at.trace" | awk -v min_cubes=$min -f "$here/gl_stream.awk"
    done
    ;;
  *) echo "unknown mode $mode" >&2; exit 2 ;;
esac
