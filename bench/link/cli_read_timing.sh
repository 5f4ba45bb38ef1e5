#!/usr/bin/env bash
# Times the whole command "zelvor-cli read" (process start, Read, its verify,
# writing the file) against zelvor-sim, several runs, and prints each time,
# the median and the median's ratio to the line-rate floor of 19 request and
# answer round trips of 2 x 152 bytes at 57600 baud (1.003 s).
#
#   bench/link/cli_read_timing.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-11}
cli=$build/tools/cli/zelvor-cli
sim=$build/tools/sim/zelvor-sim
work=$(mktemp -d)
"$sim" > "$work/sim.out" 2> "$work/sim.err" &
sim_pid=$!
trap 'kill "$sim_pid" 2> /dev/null; wait "$sim_pid" 2> /dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
device=$(head -n 1 "$work/sim.out")

times=()
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$cli" read --port "$device" -o "$work/read.ign" > /dev/null
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(((runs + 1) / 2))p")
echo "runs (ms): $(echo $sorted)"
awk -v m="$median" 'BEGIN {
    floor = 19 * 2 * 152 * 10 / 57600
    printf "median %.3f s = %.2f x the line-rate floor of %.3f s\n", m / 1000, m / 1000 / floor, floor
}'
