#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh" build
out="${TMPDIR:-/tmp}/zelvor-default.ign"
"$top/build/tools/cli/zelvor-cli" new --bike 0 -o "$out"
echo "Wrote the default parameter set of bike 0 to $out:"
exec "$top/build/tools/cli/zelvor-cli" show "$out"
