#!/usr/bin/env bash
# Runs a command under its own Xvfb (1024x768x24): with_xvfb.sh COMMAND [ARGS...]
# Each server takes a random display number and is checked to answer before the command runs:
# tests side by side neither race for one number (as xvfb-run -a can) nor lose their socket to
# a server of a finished test that is still cleaning up the same number.
set -u
server=""
for _ in $(seq 1 20); do
  number=$(( 200 + RANDOM % 30000 ))
  [ -e "/tmp/.X$number-lock" ] && continue
  Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp -noreset 2> /dev/null &
  server=$!
  for _ in $(seq 1 50); do
    xdpyinfo -display ":$number" > /dev/null 2>&1 && break 2
    kill -0 "$server" 2> /dev/null || break
    sleep 0.1
  done
  kill "$server" 2> /dev/null
  wait "$server" 2> /dev/null
  server=""
done
if [ -z "$server" ]; then
  echo "with_xvfb: no Xvfb would start" >&2
  exit 1
fi
export DISPLAY=":$number"
"$@"
status=$?
kill "$server" 2> /dev/null
wait "$server" 2> /dev/null
exit $status
