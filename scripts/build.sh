#!/usr/bin/env bash
# Configures and builds one preset of CMakePresets.json:
#   build.sh default|sanitize|fuzz [cmake options...]
# into build/, build-sanitize/ and build-fuzz/ respectively.
set -euo pipefail
preset=$1; shift
top=$(cd "$(dirname "$0")/.." && pwd)
case "$preset" in
    default) dir=build ;;
    sanitize) dir=build-sanitize ;;
    fuzz) dir=build-fuzz ;;
    *) echo "build.sh: unknown preset $preset (default, sanitize or fuzz)" >&2; exit 2 ;;
esac
cd "$top"
mkdir -p "$dir"
cmake --preset "$preset" "$@" > "$dir/configure.log" 2>&1 || { cat "$dir/configure.log"; exit 1; }
cmake --build --preset "$preset"
