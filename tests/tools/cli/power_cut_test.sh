#!/usr/bin/env bash
# kill -9 of zelvor-cli at random moments while `normalize` writes onto an
# existing parameter file and keeps it in the history, RUNS times: the file
# must afterwards be the old one or the new one, byte for byte; a temporary
# file a killed run leaves behind must be gone after the next write; the tool
# then works on the file as usual, and the history lists every snapshot it
# kept without a damaged one.
#   power_cut_test.sh ZELVOR_CLI [RUNS] [START]
#   START fixes the random moments, so that a failing series can be repeated.
set -euo pipefail
cli=$1
runs=${2:-100}
RANDOM=${3:-$$}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# The history of snapshots lives beside the files, not in the home folder.
export XDG_DATA_HOME=$work/data

fail() {
    echo "power_cut_test: $*" >&2
    exit 1
}

now_us() {
    local t=${EPOCHREALTIME/./}
    echo $((10#$t))
}

# Old and new differ in many fields and are equally long, so a file cut short
# or mixed from both is told apart from either.
"$cli" new --bike 3 -o old.ign
"$cli" new --bike 0 -o source.ign
"$cli" normalize source.ign -o new.ign
cmp -s old.ign new.ign && fail "old and new files are the same"

# How long a whole run takes, to spread the kills over it.
span=0
for _ in 1 2 3; do
    cp old.ign target.ign
    start=$(now_us)
    "$cli" normalize source.ign -o target.ign
    span=$((span + $(now_us) - start))
done
span=$((span / 3))
cmp -s target.ign new.ign || fail "an undisturbed normalize did not write the new file"

# Waits without starting a process (sleep would take longer than the pauses):
# a read that times out on a pipe nobody writes into.
mkfifo pause
exec 3<> pause
pause_us() {
    read -r -t "$(printf '%d.%06d' $(($1 / 1000000)) $(($1 % 1000000)))" -u 3 || true
}

killed_old=0
killed_new=0
finished=0
temporaries=0
for ((run = 1; run <= runs; ++run)); do
    cp old.ign target.ign
    # Anywhere in the time a run takes, in microseconds.
    delay=$(( (RANDOM * 32768 + RANDOM) % (span + 1) ))
    "$cli" normalize source.ign -o target.ign 2> /dev/null &
    pid=$!
    pause_us "$delay"
    kill -9 "$pid" 2> /dev/null || true
    status=0
    { wait "$pid"; } 2> /dev/null || status=$?

    if cmp -s target.ign old.ign; then
        [ "$status" -eq 0 ] && fail "run $run finished but left the old file"
        killed_old=$((killed_old + 1))
    elif cmp -s target.ign new.ign; then
        if [ "$status" -eq 0 ]; then finished=$((finished + 1)); else killed_new=$((killed_new + 1)); fi
    else
        fail "run $run (killed after ${delay} us, exit $status) left a file that is neither old nor new"
    fi
    for entry in .[!.]* *; do
        case "$entry" in
            old.ign | new.ign | source.ign | target.ign | pause | '.[!.]*' | '*') ;;
            *) temporaries=$((temporaries + 1)) ;;
        esac
    done
done

# A killed run may have left a named temporary file; the next write removes it.
cp old.ign target.ign
"$cli" normalize source.ign -o target.ign
cmp -s target.ign new.ign || fail "normalize after the kills did not write the new file"
"$cli" show target.ign > /dev/null || fail "the file written last cannot be read"
left=$(find . -mindepth 1 -not -name old.ign -not -name new.ign -not -name source.ign \
    -not -name target.ign -not -name pause -not -path './data' -not -path './data/*')
[ -z "$left" ] || fail "left behind: $left"

# Snapshots cut off half way are not kept; whatever was kept is whole.
"$cli" history > history.txt 2> history.err || fail "the history cannot be listed: $(cat history.err)"
[ -s history.err ] && fail "the history has damaged snapshots: $(cat history.err)"
kept=$(grep -c 'Save' history.txt || true)
[ "$kept" -ge $((finished + 1)) ] || fail "the history lists $kept saves for $((finished + 1)) finished runs"
rm -f history.txt history.err

echo "power_cut_test: $runs runs over ${span} us each: $killed_old killed leaving the old file," \
    "$killed_new killed leaving the new file, $finished finished; $temporaries temporary files" \
    "seen after a kill, none left at the end; $kept saves in the history, all whole"
