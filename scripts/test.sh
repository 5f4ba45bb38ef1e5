#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: once in a
# plain build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1
jobs=$(nproc)

"$top/scripts/build.sh" build -DZELVOR_BUILD_BENCH=ON
ctest --test-dir "$top/build" -j "$jobs"

"$top/scripts/build.sh" build-sanitize -DZELVOR_SANITIZE=ON -DZELVOR_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS="suppressions=$top/tests/support/lsan.supp:print_suppressions=0" \
    ctest --test-dir "$top/build-sanitize" -j "$jobs"
echo "All tests passed (plain and sanitized)."
