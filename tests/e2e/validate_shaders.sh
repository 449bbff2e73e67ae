#!/usr/bin/env bash
# The toon shader must be valid GLSL 1.10 both as written and with its lines joined with nothing
# between them, which is how the shader manager reads it.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for stage in vert frag; do
  glslangValidator -d "shaders/toon.$stage" > "$work/log" || { cat "$work/log"; exit 1; }
  tr -d '\n' < "shaders/toon.$stage" > "$work/joined.$stage"
  glslangValidator -d "$work/joined.$stage" > "$work/log" || { cat "$work/log"; exit 1; }
  if grep -n -E '//|^[[:space:]]*#' "shaders/toon.$stage"; then
    echo "toon.$stage: line comments or preprocessor lines do not survive joining" >&2
    exit 1
  fi
done
echo "toon shader valid"
