#!/usr/bin/env bash
# Builds the Windows tree and runs the benchmarks under Wine: the folder scan (bench/ScanBench.cpp) and
# the start-up with a 10,000-entry saved play list (bench/StartupBench.cpp), and sorting and searching a
# 10,000-row play list window (bench/ListBench.cpp), and moving the player with both lists docked
# (bench/DockBench.cpp), after the processor time of the idle and the
# playing program beside a bare program (bench/IdleBench.cpp). Each prints its figures.
#   tools/bench.sh [rounds]        rounds per benchmark (default 5)
# MELODECK_BUILD picks the build folder (default build/). MELODECK_BENCH_WARM=0 leaves the processors
# alone; by default a lowest-priority busy loop per processor keeps them from sleeping between Wine's
# many inter-process round trips, which on a virtual machine otherwise slows every Wine call several
# times over and makes the figures depend on whatever else the machine happens to do.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${MELODECK_BUILD:-$ROOT/build}
. "$ROOT/tools/common.sh"
rounds=${1:-5}

ensure_packages
configure_win
log "Building the benchmarks"
cmake --build "$BUILD/win" --target IdleBench ScanBench StartupBench ListBench DockBench -j"$(nproc)"
ensure_prefix
ensure_display

warmers=()
cleanup() {
    local pid
    for pid in "${warmers[@]}"; do kill "$pid" 2>/dev/null || true; done
    stop_display
}
trap cleanup EXIT

# A persistent server and Wine's own services started now, with no pipes of ours that they could keep.
wineserver -p 2>/dev/null || true
wine cmd /c exit >/dev/null 2>&1 </dev/null || true

# Processor time is measured first, with the processors left alone: busy loops beside it would change
# what each wake-up costs. A round is 10 seconds of each of four processes, so at most 3 rounds.
log "Idle cost"
(cd "$BUILD/win/bench" && wine ./IdleBench.exe "$((rounds < 3 ? rounds : 3))" </dev/null)

if [ "${MELODECK_BENCH_WARM:-1}" != 0 ]; then
    for _ in $(seq "$(nproc)"); do
        nice -n 19 sh -c 'while :; do :; done' &
        warmers+=($!)
    done
    log "Processors kept awake by ${#warmers[@]} lowest-priority busy loops (MELODECK_BENCH_WARM=0 to skip)"
fi

cd "$BUILD/win/bench"
log "Folder scan"
wine ./ScanBench.exe "$rounds" </dev/null
log "Start-up"
wine ./StartupBench.exe "$rounds" </dev/null
log "Sorting and searching a list"
wine ./ListBench.exe "$rounds" </dev/null
log "Moving the player with both lists docked"
wine ./DockBench.exe "$rounds" </dev/null
