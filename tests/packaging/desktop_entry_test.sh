#!/usr/bin/env bash
# The desktop entry passes the desktop-file checker, starts the window with
# the file it is given, shows our icon and handles the type of parameter
# files: desktop_entry_test.sh ENTRY MIME_XML ICON_SVG
set -euo pipefail
entry=$1 mime=$2 icon=$3
failures=0
fail() { echo "$*"; failures=$((failures + 1)); }

if ! command -v desktop-file-validate >/dev/null; then
    echo "desktop-file-validate is missing (Debian package desktop-file-utils; scripts/setup.sh installs it)"
    exit 1
fi
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"

value() { sed -n "s/^$1=//p" "$entry"; }

# The program, and the file the desktop hands it.
read -r -a exec <<<"$(value Exec)"
[ "${exec[0]:-}" = zelvor ] || fail "Exec starts ${exec[0]:-nothing}, not zelvor"
[ "${exec[*]:1}" = %f ] || fail "Exec passes '${exec[*]:1}', not one file (%f)"

# The icon is the one the package installs.
[ "$(value Icon)" = "$(basename "$icon" .svg)" ] || fail "Icon=$(value Icon) is not $(basename "$icon")"

# Every type the MIME file defines is handled by the entry.
types=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime")
[ -n "$types" ] || fail "$mime defines no type"
for type in $types; do
    grep -qE "^MimeType=(.*;)?$type;" "$entry" || fail "MimeType= of $entry lacks $type"
done

[ "$failures" -eq 0 ] && echo "desktop entry is valid and handles $types"
exit "$failures"
