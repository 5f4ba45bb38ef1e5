#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: once in a
# plain build and once under AddressSanitizer and UndefinedBehaviorSanitizer;
# then runs every fuzz target for a while under both sanitizers.
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

# Each fuzz target runs this many seconds from its seeds in tests/fuzz/corpus
# and what it learnt in earlier runs. A crash, a leak or a broken check fails
# the script and leaves the input that caused it in build-fuzz/fuzz-findings/.
fuzz_seconds=20
"$top/scripts/build.sh" fuzz
findings="$top/build-fuzz/fuzz-findings"
mkdir -p "$findings"
for target in "$top"/build-fuzz/tests/fuzz/*_fuzz; do
    name=$(basename "$target")
    work="$top/build-fuzz/fuzz-work/$name"
    mkdir -p "$work"
    corpora=("$work")
    [ -d "$top/tests/fuzz/corpus/${name%_fuzz}" ] && corpora+=("$top/tests/fuzz/corpus/${name%_fuzz}")
    if ! UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 "$target" -max_total_time="$fuzz_seconds" \
            -artifact_prefix="$findings/$name-" "${corpora[@]}" > "$work.log" 2>&1; then
        tail -n 60 "$work.log"
        echo "$name failed; the input is in $findings/" >&2
        exit 1
    fi
    echo "$name: $(grep -E '^Done' "$work.log")"
done
echo "All tests passed (plain and sanitized) and no fuzz target failed."
