#!/usr/bin/env bash
# kill -9 of the window at random moments while it closes and writes its
# settings file and image dump, RUNS times: each file must afterwards be the
# old one or the new one, byte for byte, with no temporary file left over, and
# the window must then start and close as usual. Needs an X display (runs
# itself under xvfb-run without one) and xdotool, which chooses File > Exit.
#   window_power_cut_test.sh ZELVOR ZELVOR_CLI [RUNS] [START]
#   START fixes the random moments, so that a failing series can be repeated.
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a "$0" "$@"; fi
window=$1
cli=$2
runs=${3:-100}
RANDOM=${4:-$$}
unset QT_QPA_PLATFORM

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
export XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
folder=$XDG_CONFIG_HOME/zelvor
files=(Zelvor.ini _Zelvor.ini)

fail() {
    echo "window_power_cut_test: $*" >&2
    exit 1
}

now_us() {
    local t=${EPOCHREALTIME/./}
    echo $((10#$t))
}

mkfifo "$work/pause"
exec 3<> "$work/pause"
pause_us() {
    read -r -t "$(printf '%d.%06d' $(($1 / 1000000)) $(($1 % 1000000)))" -u 3 || true
}

# Starts the window, waits for it and opens the File menu; leaves its process
# id in $pid. Pressing x then chooses Exit.
start_and_open_file_menu() {
    "$window" "$@" --simulate > /dev/null 2>&1 &
    pid=$!
    local id
    id=$(xdotool search --sync --onlyvisible --pid "$pid" --name Zelvor | head -n 1)
    xdotool windowfocus --sync "$id"
    xdotool key alt+f
    pause_us 300000
}

start_and_exit() {
    start_and_open_file_menu "$@"
    xdotool key x
}

# The old files: no parameter file opened; the new ones: the parameter set of
# another bike opened, which the dump and the recent files then hold.
"$cli" new --bike 3 -o "$work/other.ign"
start_and_exit ENGLISH
wait "$pid" || fail "the first window did not close normally"
mkdir -p "$work/old" "$work/new"
for f in "${files[@]}"; do cp "$folder/$f" "$work/old/$f"; done

span=0
for _ in 1 2; do
    for f in "${files[@]}"; do cp "$work/old/$f" "$folder/$f"; done
    start_and_open_file_menu ENGLISH "$work/other.ign"
    start=$(now_us)
    xdotool key x
    wait "$pid" || fail "an undisturbed window did not close normally"
    span=$((span + $(now_us) - start))
done
span=$((span / 2))
for f in "${files[@]}"; do
    cp "$folder/$f" "$work/new/$f"
    cmp -s "$work/old/$f" "$work/new/$f" && fail "old and new $f are the same"
done

old=0
new=0
mixed=0
for ((run = 1; run <= runs; ++run)); do
    for f in "${files[@]}"; do cp "$work/old/$f" "$folder/$f"; done
    start_and_open_file_menu ENGLISH "$work/other.ign"
    # The files are written early in the closing, the simulated unit is
    # stopped after them.
    delay=$(( (RANDOM * 32768 + RANDOM) % (span / 2 + 1) ))
    xdotool key x &
    pause_us "$delay"
    kill -9 "$pid" 2> /dev/null || true
    { wait "$pid"; } 2> /dev/null || true
    wait
    wrote=0
    for f in "${files[@]}"; do
        if cmp -s "$folder/$f" "$work/new/$f"; then
            wrote=$((wrote + 1))
        elif ! cmp -s "$folder/$f" "$work/old/$f"; then
            fail "run $run (killed after ${delay} us) left a $f that is neither old nor new"
        fi
    done
    case $wrote in
        0) old=$((old + 1)) ;;
        1) mixed=$((mixed + 1)) ;;
        *) new=$((new + 1)) ;;
    esac
done

# The window starts and closes as usual afterwards, and leaves no stray file.
start_and_exit ENGLISH
wait "$pid" || fail "the window did not start and close normally after the kills"
left=$(find "$folder" -mindepth 1 -not -name Zelvor.ini -not -name _Zelvor.ini)
[ -z "$left" ] || fail "left behind: $left"

echo "window_power_cut_test: $runs runs, closing takes ${span} us: both files old in $old," \
    "one of the two new in $mixed, both new in $new; none left damaged"
