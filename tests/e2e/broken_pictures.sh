#!/usr/bin/env bash
# Every picture of the show absent, empty, truncated or garbage, one at a time and all at once:
# the whole show still renders to its last frame (offline), exits 0 and prints nothing on
# standard output (a picture that fails to load is not reported; its effect draws nothing).
#   broken_pictures.sh PATH_TO_TESSARY_CAPTURE
set -euo pipefail
capture=$(readlink -f "$1")
root=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/shaders" "$work/data"
cp "$root"/shaders/toon.* "$work/shaders/"
cp "$root/data/camera.txt" "$work/data/"
pictures=$(cd "$root/data" && ls *.png)

. "$(dirname "$0")/break_file.sh"
break_picture() { break_file "$work/data/$1" "$2" 11; }

# A frame in every part, and the show's last.
moments=12,30,50,90,100,120,150,389b
run_show() {  # LABEL
  local status=0
  (cd "$work" && "$capture" --png "$work/out" --size 64x48 --at "$moments" \
     > "$work/stdout" 2> "$work/stderr") || status=$?
  if [ "$status" -ne 0 ]; then
    echo "FAIL ($1): exit status $status" >&2; tail -n 5 "$work/stderr" >&2; exit 1
  fi
  if [ -s "$work/stdout" ] && grep -v -E '^/|\.png$' "$work/stdout" | grep -q .; then
    echo "FAIL ($1): unexpected standard output:" >&2; cat "$work/stdout" >&2; exit 1
  fi
  [ "$(ls "$work/out" | wc -l)" -eq 8 ] || { echo "FAIL ($1): stills missing" >&2; exit 1; }
  rm -rf "$work/out"
}

for kind in absent empty truncated garbage; do
  for picture in $pictures; do
    cp "$root"/data/*.png "$work/data/"
    break_picture "$picture" "$kind"
    run_show "$picture $kind"
  done
  cp "$root"/data/*.png "$work/data/"
  for picture in $pictures; do break_picture "$picture" "$kind"; done
  run_show "every picture $kind"
  echo "ok: every picture $kind, alone and all together"
done
