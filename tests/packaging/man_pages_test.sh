#!/usr/bin/env bash
# Every command and option that the programs' own help lists is in their man
# page: man_pages_test.sh MAN_FOLDER ZELVOR_CLI ZELVOR_SIM [ZELVOR]
set -euo pipefail
man_folder=$1 cli=$2 sim=$3 window=${4:-}
missing=0

# roff writes a minus sign as \-.
roff() { printf '%s' "${1//-/\\-}"; }

mentions() {  # PAGE WORD
    if ! grep -qF -- "$(roff "$2")" "$man_folder/$1"; then
        echo "$1 does not mention $2"
        missing=1
    fi
}

long_options() {  # the --words at the start of the indented lines of a help text
    sed -n 's/^ *\(-[a-zA-Z], \)\{0,1\}\(--[a-z][a-z0-9-]*\).*/\2/p'
}

commands=$("$cli" --help | sed -n '/^commands:/,$ s/^  \([a-z][a-z0-9-]*\).*/\1/p')
if [ -z "$commands" ]; then
    echo "zelvor-cli --help lists no commands"
    exit 1
fi
for command in $commands; do
    # Each command has an entry of its own: a line ".B command ...".
    if ! grep -qE "^\.B $(roff "$command" | sed 's/\\/\\\\/g')( |$)" "$man_folder/zelvor-cli.1"; then
        echo "zelvor-cli.1 has no entry for the command $command"
        missing=1
    fi
    for option in $("$cli" "$command" --help | long_options); do
        mentions zelvor-cli.1 "$option"
    done
done
mentions zelvor-cli.1 --version

options=$("$sim" --help | long_options)
[ -n "$options" ] || { echo "zelvor-sim --help lists no options"; exit 1; }
for option in $options; do mentions zelvor-sim.1 "$option"; done

if [ -n "$window" ]; then
    options=$(QT_QPA_PLATFORM=offscreen "$window" --help 2>&1 | long_options)
    [ -n "$options" ] || { echo "zelvor --help lists no options"; exit 1; }
    for option in $options; do mentions zelvor.1 "$option"; done
fi

[ "$missing" -eq 0 ] && echo "man pages name every command and option"
exit "$missing"
