#!/usr/bin/env bash
# Runs every benchmark of a build folder (default build/) briefly, so they
# keep building and running; the test command calls it. For the full run
# with stable figures: cmake --build build --target bench
#
#   bash scripts/bench.sh [build folder]
#
# Knobs (environment): ZEN_BENCH_MIN_TIME (seconds per case, default 0.05),
# ZEN_BENCH_CLICKS (hut clicks the propagation case measures, default 30 here,
# 100 in a full run), ZEN_BENCH_STRICT=1 (a missed target fails the run).
# A benchmark that cannot run fails the script; a missed target only shows.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
DIR=${1:-$ROOT/build}
MIN_TIME=${ZEN_BENCH_MIN_TIME:-0.05}
export ZEN_BENCH_CLICKS=${ZEN_BENCH_CLICKS:-30}

benchmarks=(bench_core bench_network)
# The chat pane benchmark comes with the windows.
if grep -q '^ZEN_BUILD_UI:BOOL=ON$' "$DIR/CMakeCache.txt" 2>/dev/null; then
    benchmarks+=(bench_window)
fi

for name in "${benchmarks[@]}"; do
    exe=$DIR/bin/$name
    if [[ ! -x $exe ]]; then
        echo "bench.sh: $exe is missing (is libbenchmark-dev installed?)" >&2
        exit 1
    fi
    printf '\n-- %s\n' "$name"
    "$exe" --benchmark_min_time="$MIN_TIME" --benchmark_color=false
done
