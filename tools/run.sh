#!/usr/bin/env bash
# Builds Melodeck and starts it under Wine. Without a display it runs the screenshot tour on a private
# Xvfb instead: the program with both lists filled, its Find window, tag editor and About box, saved as
# PNG files in the build folder's screenshots/ (docs/ holds committed copies for the README).
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
    log "Building the screenshot tour"
    cmake --build "$BUILD/win" --target ScreenshotTour -j"$(nproc)"
    shots="$BUILD/screenshots"
    rm -rf "$shots"
    mkdir -p "$shots"
    log "Taking screenshots on the private display"
    # Wine shows the root file system as drive Z:.
    status=0
    wine "$BUILD/win/tools/screenshots/ScreenshotTour.exe" "Z:${shots//\//\\}" || status=$?
    # Wine's own helper processes belong to the private display, which ends with this script.
    wineserver -k || true
    [ "$status" = 0 ] || { log "The screenshot tour failed (status $status)"; exit "$status"; }
    for picture in "$shots"/*.bmp; do
        # No time stamps in the files: the same windows give the same bytes.
        convert "$picture" -strip "${picture%.bmp}.png"
        rm -f "$picture"
    done
    log "Screenshots saved to $shots"
fi
