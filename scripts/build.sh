#!/usr/bin/env bash
# Configures and builds one build folder: build.sh DIR [cmake options...]
set -euo pipefail
dir=$1; shift
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$top/$dir"
cmake -S "$top" -B "$top/$dir" -G Ninja "$@" > "$top/$dir/configure.log" 2>&1 ||
    { cat "$top/$dir/configure.log"; exit 1; }
cmake --build "$top/$dir"
