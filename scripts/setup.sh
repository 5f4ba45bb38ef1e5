#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running need,
# skipping those already present.
set -euo pipefail

# qt6-translations-l10n: Qt's own dialog and button texts in German, French and Czech.
# qt6-charts-dev: the graph of the shown map (libqt6opengl6-dev: its CMake files need Qt6OpenGL).
# For the Debian package (cmake --build build --target package):
#   dpkg-dev and file: dpkg-shlibdeps finds the package's dependencies from its binaries;
#   librsvg2-bin: rsvg-convert draws the PNG icons from the SVG at build time;
#   desktop-file-utils: desktop-file-validate checks the desktop entry in the tests;
#   shared-mime-info: update-mime-database compiles the *.ign file type in its test.
# clang and libclang-rt-14-dev (libFuzzer's runtime, only recommended by clang):
#   the fuzz targets that scripts/test.sh runs.
packages=(cmake ninja-build g++ libgtest-dev libbenchmark-dev qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-qpa-plugins
          qt6-translations-l10n libgl-dev fonts-dejavu-core xvfb xauth xdotool imagemagick
          poppler-utils dpkg-dev file librsvg2-bin desktop-file-utils shared-mime-info
          clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
