# Sourced by the broken-input tests: break_file PATH KIND [SEED] makes PATH absent, empty,
# truncated (its first half) or garbage (deterministic bytes that are no valid file of any kind
# the show reads).
break_file() {
  local target=$1 size
  case "$2" in
    absent) rm -f "$target" ;;
    empty) : > "$target" ;;
    truncated)
      size=$(stat -c %s "$target")
      head -c $(( size / 2 )) "$target" > "$target.part" && mv "$target.part" "$target" ;;
    garbage)
      awk -v seed="${3:-7}" 'BEGIN { srand(seed); for (i = 0; i < 6000; i++) printf "%c", 1 + int(rand() * 254) }' \
        > "$target" ;;
    *) echo "unknown kind $2" >&2; exit 2 ;;
  esac
}
