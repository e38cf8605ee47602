#!/usr/bin/env bash
# Builds everything and runs every test: the native build under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzz targets, and the Windows build under Wine, all through one CTest run.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${MELODECK_BUILD:-$ROOT/build}
. "$ROOT/tools/common.sh"
jobs=$(nproc)

ensure_packages

log "Native build (sanitizers)"
cmake -S "$ROOT" -B "$BUILD/native" -DMELODECK_SANITIZE=ON >/dev/null
cmake --build "$BUILD/native" -j"$jobs"

log "Fuzz build (clang, libFuzzer)"
cmake -S "$ROOT" -B "$BUILD/fuzz" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DMELODECK_FUZZ=ON -DMELODECK_SANITIZE=ON >/dev/null
cmake --build "$BUILD/fuzz" -j"$jobs"

log "Windows build (MinGW-w64)"
configure_win
cmake --build "$BUILD/win" -j"$jobs"

ensure_prefix
ensure_display
cleanup() { wineserver -k 2>/dev/null || true; stop_display; }
trap cleanup EXIT
# A persistent server, and Wine's own services started now with no pipes of CTest's: a service
# started by the first test would hold that test's output pipe open and hang it.
wineserver -p 2>/dev/null || true  # already running is fine
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
# Likewise Wine's sound and multimedia set-up, which the first programs to open the device window make:
# two test programs making it at once have left one of them hanging at its exit.
timeout 120 "$BUILD/win/wine-run.sh" "$BUILD/win/tests/playback/test_playback_win.exe" \
    --gtest_filter='MciWindowTest.IsAChildBar*' >/dev/null 2>&1 </dev/null || true

# One CTest run over the three build trees, so that one summary ends the output.
cat > "$BUILD/CTestTestfile.cmake" <<EOT
subdirs("native")
subdirs("fuzz")
subdirs("win")
EOT
log "Running the tests"
cd "$BUILD"
ctest --output-on-failure -j"$jobs" "$@"
