#!/usr/bin/env bash
# Builds Melodeck and starts it under Wine. Without a display it runs it a few seconds on a private
# Xvfb, saves a screenshot into the build folder and ends it.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${MELODECK_BUILD:-$ROOT/build}
. "$ROOT/tools/common.sh"

ensure_packages
configure_win
log "Building Melodeck.exe"
cmake --build "$BUILD/win" --target Melodeck -j"$(nproc)"
ensure_prefix

headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then headless=1; fi
ensure_display
trap 'stop_display' EXIT

# The queue and play list files live in the working directory.
mkdir -p "$BUILD/run"
cd "$BUILD/run"
if [ "$headless" = 0 ]; then
    log "Starting Melodeck (working directory $BUILD/run)"
    wine "$BUILD/win/Melodeck.exe"
    wineserver -w
else
    log "Starting Melodeck on the private display for a few seconds"
    wine "$BUILD/win/Melodeck.exe" &
    program=$!
    sleep "${MELODECK_RUN_SECONDS:-6}"
    import -window root "$BUILD/screenshot.png"
    wineserver -k || true
    wait "$program" || true
    log "Screenshot saved to $BUILD/screenshot.png"
fi
