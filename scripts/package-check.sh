#!/usr/bin/env bash
# Builds the Debian package, installs it, checks it from outside as a user
# meets it, and removes it again. Runs as root (as CI does) or through sudo.
#   package-check.sh [BUILD_FOLDER]    (default: build/, as build.sh default makes it)
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

passed=0
failed=0
# check NAME COMMAND...: runs one check, shows its output, counts it.
check() {
    local name=$1
    shift
    echo "-- $name"
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "FAILED: $name"
        failed=$((failed + 1))
    fi
}
finish() {
    echo "package-check: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}

# Tools for the checks only, not for building: man and xdg-mime.
missing=()
for tool in man-db xdg-utils; do
    dpkg-query -W -f='${Status}' "$tool" 2>/dev/null | grep -q "install ok installed" || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing for the checks: ${missing[*]}"
    $sudo apt-get update -qq && $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

echo "== Building the package"
rm -f "$build"/zelvor_*.deb
if ! cmake --build "$build" --target package; then
    failed=$((failed + 1))
    finish
fi
deb=$(ls "$build"/zelvor_*_amd64.deb 2>/dev/null | head -n 1)
check "one package zelvor_<version>_amd64.deb" test -f "$deb"
[ -f "$deb" ] || finish
echo "$deb: $(du -h "$deb" | cut -f1)"

echo "== What it holds"
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
holds() {
    local path
    for path in "$@"; do
        grep -qxF ".$path" <<<"$contents" || { echo "missing: $path"; return 1; }
    done
    printf '%s\n' "$@"
}
check "the programs" holds /usr/bin/zelvor /usr/bin/zelvor-cli /usr/bin/zelvor-sim
check "the manuals" holds /usr/share/zelvor/Zelvor_{en,de,fr,cz}.pdf
check "the desktop entry" holds /usr/share/applications/zelvor.desktop
check "the icon" holds /usr/share/icons/hicolor/scalable/apps/zelvor.svg \
    /usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/zelvor.png
check "the MIME type" holds /usr/share/mime/packages/zelvor.xml
check "the man pages" holds /usr/share/man/man1/{zelvor,zelvor-cli,zelvor-sim}.1.gz
check "the bash completion" holds /usr/share/bash-completion/completions/zelvor-cli
check "libraries found from the binaries" bash -c "dpkg-deb -f '$deb' Depends | grep -q libqt6widgets6"

echo "== Installing"
installed_here=0
remove() {
    [ "$installed_here" -eq 1 ] && $sudo dpkg -r zelvor >/dev/null
}
trap remove EXIT
# Minimal Debian images leave man pages out of every installation; ours stay.
if ! $sudo dpkg --path-include='/usr/share/man/man1/zelvor*' -i "$deb"; then
    echo "Installing what the package depends on"
    $sudo apt-get update -qq && $sudo apt-get -f install -y -qq >/dev/null
fi
if ! dpkg-query -W -f='${Status}' zelvor 2>/dev/null | grep -q "install ok installed"; then
    echo "FAILED: the package did not install"
    failed=$((failed + 1))
    finish
fi
installed_here=1

check "zelvor-cli --version" zelvor-cli --version
check "zelvor-cli --help" bash -c 'zelvor-cli --help >/dev/null'
check "zelvor-sim --help" bash -c 'zelvor-sim --help >/dev/null'
# The window starts with the libraries the package brought (no display needed).
check "zelvor --help" bash -c 'QT_QPA_PLATFORM=offscreen zelvor --help 2>&1 | grep "^usage: zelvor"'
# The connection doctor on a simulated unit: the installed zelvor-sim prints
# its device line, and the installed zelvor-cli must find that the port opens
# and a unit answers with its version.
doctor_on_simulated_unit() {
    local out device status
    out=$(mktemp)
    zelvor-sim >"$out" 2>&1 &
    local sim=$!
    for _ in $(seq 50); do
        device=$(head -n 1 "$out")
        [ -n "$device" ] && break
        sleep 0.1
    done
    zelvor-cli doctor --port "$device" | tee "$out.report"
    status=${PIPESTATUS[0]}
    kill "$sim" 2>/dev/null
    wait "$sim" 2>/dev/null
    [ "$status" -eq 0 ] && grep -q "program version 63" "$out.report"
    status=$?
    rm -f "$out" "$out.report"
    return "$status"
}
check "zelvor-cli doctor --port on a simulated unit" doctor_on_simulated_unit
check "the manuals where F1 finds them" test -f /usr/share/zelvor/Zelvor_en.pdf
check "desktop-file-validate" desktop-file-validate /usr/share/applications/zelvor.desktop
check "man -w zelvor-cli" man -w zelvor-cli
check "man zelvor-cli shows the page" bash -c 'MANWIDTH=80 man zelvor-cli 2>/dev/null | head -n 4 | grep -q "zelvor-cli - "'
for page in zelvor zelvor-cli zelvor-sim; do
    check "$page(1) has no roff warnings" bash -c \
        "zcat /usr/share/man/man1/$page.1.gz | groff -t -man -ww -z -Tutf8 2>&1 | (! grep .)"
done
handler() {
    local found
    found=$(xdg-mime query default application/x-zelvor-parameters)
    echo "xdg-mime query default application/x-zelvor-parameters: $found"
    [ "$found" = zelvor.desktop ]
}
check "parameter files open with the desktop entry" handler
check "the file type is known" grep -q 'application/x-zelvor-parameters' /usr/share/mime/globs2

echo "== Removing"
trap - EXIT
$sudo dpkg -r zelvor
installed_here=0
check "removed again" bash -c '! command -v zelvor-cli && ! test -e /usr/share/applications/zelvor.desktop'
finish
