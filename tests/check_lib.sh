# Shared by the command-line checks that go on after a failure: sourced, not run. fail counts
# a failure; finish ends with status 1 after any, else prints its argument.
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
finish() {
  [ "$failures" -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
  echo "$1"
}
