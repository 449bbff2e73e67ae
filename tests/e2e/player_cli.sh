#!/usr/bin/env bash
# The player's command line, where no window is needed: player_cli.sh PATH_TO_TESSARY
set -uo pipefail
player=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; cat "$work/err" >&2; exit 1; }
# Runs the player with DISPLAY unset; sets status, and out/err in $work.
run() { (cd "$work" && env -u DISPLAY "$player" "$@" > "$work/out" 2> "$work/err"); status=$?; }
lines() { wc -l < "$work/$1"; }

run --help
[ $status -eq 0 ] && grep -q -- '--start TIME' "$work/out" || fail "--help: status $status"
run --version
[ $status -eq 0 ] && grep -q '^tessary [0-9]' "$work/out" || fail "--version: status $status"
run -w --size 640
[ $status -eq 2 ] && [ "$(lines err)" -eq 1 ] || fail "a bad --size: status $status"
run -w --start 400b
[ $status -eq 2 ] && [ "$(lines err)" -eq 1 ] || fail "--start past the end: status $status"
for sync in "-magic --sync host:" "--sync 1338"; do
  run -w $sync
  [ $status -eq 2 ] && [ "$(lines err)" -eq 1 ] || fail "$sync: status $status"
done
mkdir "$work/empty"
run -w --data "$work/empty"
[ $status -eq 2 ] && [ "$(lines err)" -eq 1 ] && grep -q "$work/empty" "$work/err" ||
  fail "--data without the files: status $status"
# No display: one line pointing to the renderer, status 1, after one warning for an argument
# the player does not know.
run -w -magic --frobnicate
[ $status -eq 1 ] || fail "no display: status $status"
[ "$(lines err)" -eq 2 ] && grep -q "frobnicate" "$work/err" && grep -q 'tessary-capture --video' "$work/err" ||
  fail "no display: expected a warning and one line naming tessary-capture --video"
[ ! -s "$work/out" ] || fail "standard output: $(cat "$work/out")"
echo "ok"
