#!/usr/bin/env bash
# The bash completion of zelvor-cli, asked as bash asks it when Tab is
# pressed: completion_test.sh COMPLETION_SCRIPT ZELVOR_CLI
set -uo pipefail
script=$1 cli=$2
# shellcheck source=/dev/null
source "$script" || { echo "cannot load $script"; exit 1; }

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
touch "$folder/street.ign" "$folder/TRACK.IGN" "$folder/notes.txt" "$folder/unit.bin" "$folder/ride.csv"
mkdir "$folder/tunes"

failures=0
offered=""

# Completes the words (the last one is the one being typed) and keeps the
# offers, sorted, one per line.
complete_words() {
    COMP_WORDS=("$cli" "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _zelvor_cli
    offered=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort)
}

expect() {  # WHAT EXPECTED (sorted, one per line)
    if [ "$offered" != "$2" ]; then
        printf 'FAIL %s\n  expected: %s\n  offered:  %s\n' "$1" "$(echo $2)" "$(echo $offered)"
        failures=$((failures + 1))
    fi
}

expect_among() {  # WHAT WORD...: each word is among the offers
    local what=$1 word
    shift
    for word in "$@"; do
        if ! grep -qxF -- "$word" <<<"$offered"; then
            printf 'FAIL %s: %s not offered (offered: %s)\n' "$what" "$word" "$(echo $offered)"
            failures=$((failures + 1))
        fi
    done
}

lines() { printf '%s\n' "$@" | sort; }

complete_words ""
expect_among "the commands" new show normalize diff export-image import-image read verify \
    program backup restore monitor log tune-from-log --help --version

complete_words mon
expect "a command begun" "monitor"

complete_words monitor --
expect "the options of monitor" "$(lines --count --csv --fast --help --port)"

complete_words tune-from-log "$folder/street.ign" "$folder/"
expect "the logs after the tune" "$(lines "$folder/ride.csv" "$folder/tunes")"

complete_words tune-from-log "$folder/"
expect "the tune first" "$(lines "$folder/TRACK.IGN" "$folder/street.ign" "$folder/tunes")"

complete_words tune-from-log --max-step ""
expect "a step is a number" ""

complete_words new -
expect "the options of new" "$(lines --bike --help --output -o)"

complete_words read ""
expect "a command without arguments offers its options" "$(lines --help --output --port -o)"

complete_words new --bike ""
expect "a number is not completed" ""

complete_words show "$folder/"
expect "parameter files and folders" \
    "$(lines "$folder/TRACK.IGN" "$folder/street.ign" "$folder/tunes")"

complete_words diff "$folder/street.ign" "$folder/s"
expect "the second file of diff" "$folder/street.ign"

complete_words restore --port /dev/null "$folder/u"
expect "an image file is any file" "$folder/unit.bin"

complete_words new -o "$folder/n"
expect "the file to write is any file" "$folder/notes.txt"

complete_words monitor --port "$folder/u"
expect "a device given by its path" "$folder/unit.bin"

complete_words monitor --port = "$folder/u"
expect "a device after an equals sign" "$folder/unit.bin"

complete_words show -- "$folder/n"
expect "after -- every word is a file" "$folder/notes.txt"

if [ "$failures" -ne 0 ]; then
    echo "$failures completion checks failed"
    exit 1
fi
echo "completion offers what zelvor-cli takes"
