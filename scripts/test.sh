#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: once in a
# plain build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1
jobs=$(nproc)

cd "$top"
"$top/scripts/build.sh" default
ctest --preset default -j "$jobs"

"$top/scripts/build.sh" sanitize
ctest --preset sanitize -j "$jobs"
echo "All tests passed (plain and sanitized)."
