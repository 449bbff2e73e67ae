#!/usr/bin/env bash
# Runs a command under its own Xvfb (1024x768x24): with_xvfb.sh COMMAND [ARGS...]
# The server picks a free display number itself (-displayfd), so tests run side by side never
# race for one, as xvfb-run -a can.
set -u
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$fdfile" 2> /dev/null &
server=$!
for _ in $(seq 1 100); do
  [ -s "$fdfile" ] && break
  kill -0 "$server" 2> /dev/null || break
  sleep 0.1
done
display=$(head -n 1 "$fdfile")
rm -f "$fdfile"
if [ -z "$display" ]; then
  echo "with_xvfb: Xvfb did not start" >&2
  kill "$server" 2> /dev/null
  exit 1
fi
export DISPLAY=":$display"
"$@"
status=$?
kill "$server" 2> /dev/null
wait "$server" 2> /dev/null
exit $status
