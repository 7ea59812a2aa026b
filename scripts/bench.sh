#!/usr/bin/env bash
# Runs every benchmark of a build folder (default build/) briefly, so they
# keep building and running; the test command calls it. For the full run
# with stable figures: cmake --build build --target bench
#
#   bash scripts/bench.sh [build folder]
#
# Last comes a crowd: 300 lobbysim players over the three linked servers of
# scripts/network.sh (on free ports, with a state folder of its own), one leaf
# restarted halfway; everything due must be delivered and every roster agree.
#
# Knobs (environment): ZEN_BENCH_MIN_TIME (seconds per case, default 0.05),
# ZEN_BENCH_CLICKS (hut clicks the propagation cases measure, default 30 here,
# 100 in a full run), ZEN_BENCH_CROWD_SECONDS (how long the crowd acts, default
# 30; 120 for the figures in bench/README.md), ZEN_BENCH_STRICT=1 (a missed
# target fails the run). A benchmark that cannot run fails the script; a
# missed target only shows.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
DIR=${1:-$ROOT/build}
MIN_TIME=${ZEN_BENCH_MIN_TIME:-0.05}
export ZEN_BENCH_CLICKS=${ZEN_BENCH_CLICKS:-30}
CROWD_SECONDS=${ZEN_BENCH_CROWD_SECONDS:-30}
missed=0

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

# --- The crowd over three linked servers ---------------------------------
printf '\n-- lobbysim, 300 players over three linked servers\n'
lobbysim=$DIR/bin/lobbysim
if [[ ! -x $lobbysim ]]; then
    echo "bench.sh: $lobbysim is missing" >&2
    exit 1
fi
source "$ROOT/scripts/freeport.sh"
ZEN_NETWORK_DIR=$(mktemp -d)
chmod 755 "$ZEN_NETWORK_DIR"
ports=("$(free_port)" "$(free_port)" "$(free_port)")
export ZEN_NETWORK_DIR ZEN_NETWORK_PORTS="${ports[*]}"
stop_network() {
    bash "$ROOT/scripts/network.sh" stop >/dev/null || true
    rm -rf "$ZEN_NETWORK_DIR"
}
trap stop_network EXIT
bash "$ROOT/scripts/network.sh" start
summary=$("$lobbysim" --servers "127.0.0.1:${ports[0]},127.0.0.1:${ports[1]},127.0.0.1:${ports[2]}" \
    --players 300 --join-interval 20 --behave chat,huts,launch,away --interval 20 --time "$CROWD_SECONDS" \
    --restart-server 2 $((CROWD_SECONDS / 2)))
echo "$summary"
for target in "chat 100.0%" "launches 100.0%" "rosters        all agree and match a fresh names reply"; do
    if ! grep -q -- "$target" <<<"$summary"; then
        echo "bench.sh: the crowd missed its target: \"$target\"" >&2
        missed=1
    fi
done
if [[ $missed -ne 0 && ${ZEN_BENCH_STRICT:-0} == 1 ]]; then
    exit 1
fi
