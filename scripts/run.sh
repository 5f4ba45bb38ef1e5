#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window connected to the
# simulated unit, so the live values move at once. Extra arguments go to the
# program (for example DEUTSCH, or --port /dev/ttyUSB0 instead of the simulator).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh" default
if [ $# -eq 0 ]; then set -- --simulate; fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found: starting on a virtual X display (xvfb-run)."
    exec xvfb-run -a "$top/build/src/app/zelvor" "$@"
fi
exec "$top/build/src/app/zelvor" "$@"
