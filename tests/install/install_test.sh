#!/usr/bin/env bash
# The show installed into a temporary prefix and run from another directory: it finds its files,
# writes where it was asked and draws a golden frame; and the .deb holds the programs and their
# files and passes lintian with no error and no warning. Usage: install_test.sh BUILD_DIR (from
# the repository root).
set -uo pipefail
build="$(realpath "$1")"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
. "$(dirname "$0")/../check_lib.sh"

prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" > "$tmp/install.log" ||
  { cat "$tmp/install.log" >&2; exit 1; }

# The first golden frame, rendered by the installed capture from an empty directory; a relative
# --png is taken against that directory. Compared as tests/capture does: mean absolute
# difference per channel value at most 2 of 255.
read -r name moment _ < <(grep -v '^#' tests/golden/frames.list | head -n 1)
mkdir "$tmp/run"
(cd "$tmp/run" && "$prefix/games/tessary-capture" --png shots --at "$moment" --size 256x192 \
  > "$tmp/out" 2> "$tmp/err") || fail "installed capture: $(cat "$tmp/err")"
[ ! -s "$tmp/err" ] && ! grep -q '^E:' "$tmp/out" || fail "installed capture: $(cat "$tmp/out" "$tmp/err")"
still="$(ls "$tmp/run/shots/"*.png 2> /dev/null | head -n 1)"
if [ -z "$still" ]; then
  fail "installed capture: no still in $tmp/run/shots"
else
  mae="$(compare -metric MAE "$still" "tests/golden/$name.png" null: 2>&1 | sed -n 's/.*(\(.*\))$/\1/p')"
  [[ "$mae" =~ ^[0-9.e+-]+$ ]] && awk -v m="$mae" 'BEGIN { exit !(m * 255 <= 2) }' ||
    fail "golden $name at $moment: mean difference $mae (of 1) against tests/golden/$name.png"
fi

# The installed files come before the source tree: without the installed fragment shader the
# capture says so, though the source tree still has one.
rm "$prefix/share/tessary/shaders/toon.frag"
(cd "$tmp/run" && "$prefix/games/tessary-capture" --png shots --at 0 --size 16x12 > "$tmp/out" 2>&1)
grep -q 'failed to open file shaders/toon.frag' "$tmp/out" ||
  fail "installed files not preferred to the source tree: $(cat "$tmp/out")"

# The .deb: the programs, their files and manual pages, dependencies read off the binaries, and
# Debian's own checks.
(cd "$build" && cpack -G DEB -B "$tmp/package" > "$tmp/cpack.log" 2>&1) ||
  fail "cpack: $(cat "$tmp/cpack.log")"
deb="$(ls "$tmp/package/"*.deb 2> /dev/null | head -n 1)"
dpkg-deb -c "$deb" > "$tmp/contents" 2>&1 || fail "dpkg-deb -c: $(cat "$tmp/contents")"
for file in usr/games/tessary usr/games/tessary-capture usr/share/tessary/data/melody5.ogg \
  usr/share/tessary/data/title_wide.png usr/share/tessary/shaders/toon.vert \
  usr/share/applications/tessary.desktop usr/share/man/man6/tessary.6.gz \
  usr/share/man/man6/tessary-capture.6.gz usr/share/icons/hicolor/128x128/apps/tessary.png \
  usr/share/doc/tessary/README.md usr/share/doc/tessary/docs/gallery.jpg \
  usr/share/doc/tessary/docs/frame-times.png; do
  grep -q " \./$file\$" "$tmp/contents" || fail ".deb: no $file"
done
dpkg-deb -f "$deb" Depends 2>&1 | grep -q 'libsfml-graphics' ||
  fail ".deb: no library dependencies: $(dpkg-deb -f "$deb" Depends 2>&1)"
lintian "$deb" > "$tmp/lintian" 2>&1 && ! grep -q '^[EW]:' "$tmp/lintian" ||
  fail "lintian: $(cat "$tmp/lintian")"
desktop-file-validate packaging/tessary.desktop > "$tmp/desktop" 2>&1 && [ ! -s "$tmp/desktop" ] ||
  fail "desktop-file-validate: $(cat "$tmp/desktop")"

finish "install and package checks passed"
