#!/usr/bin/env bash
# The test command: installs what is missing, builds ZenLobby with its tests
# into build/ and runs the whole suite. Exits non-zero on any failure.
#
#   bash scripts/test.sh
#
# Knobs (environment): ZEN_JOBS (build and test jobs, default 2),
# ZEN_TEST_TIMEOUT (seconds per test without its own limit, default 300).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

JOBS=${ZEN_JOBS:-2}
TEST_TIMEOUT=${ZEN_TEST_TIMEOUT:-300}

step() {
    printf '\n== %s\n' "$*"
}

# configure_and_build <build dir> [cmake options...]
configure_and_build() {
    local dir=$1
    shift
    # A folder configured with another generator cannot be reused by Ninja.
    if [[ -f $dir/CMakeCache.txt ]] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$dir/CMakeCache.txt"; then
        rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
    fi
    cmake -S "$ROOT" -B "$dir" -G Ninja -DZEN_BUILD_TESTS=ON "$@"
    cmake --build "$dir" --parallel "$JOBS"
}

# run_suite <build dir> [extra ctest options...]
run_suite() {
    local dir=$1
    shift
    ctest --test-dir "$dir" --output-on-failure --timeout "$TEST_TIMEOUT" --parallel "$JOBS" "$@"
}

# --- Benchmarks, short mode -------------------------------------------------
# scripts/bench.sh runs every benchmark briefly, so they keep building and
# running; timings are not judged here.
run_benchmarks() {
    if [[ -f $ROOT/scripts/bench.sh ]]; then
        bash "$ROOT/scripts/bench.sh"
    else
        echo "(no benchmark script)"
    fi
}

# --- Fuzzers, bounded time --------------------------------------------------
# scripts/fuzz.sh builds the fuzz targets with clang in a folder of its own and
# runs each for a bounded time from its starting corpus.
run_fuzzers() {
    if [[ -f $ROOT/scripts/fuzz.sh ]]; then
        bash "$ROOT/scripts/fuzz.sh"
    else
        echo "(no fuzz script)"
    fi
}

# --- The suite again under AddressSanitizer and UndefinedBehaviorSanitizer ---
# scripts/sanitize.sh builds everything again with -fsanitize=address,undefined
# in build-asan/ and runs the whole suite there.
run_sanitizer_suite() {
    bash "$ROOT/scripts/sanitize.sh"
}

step "setup"
bash "$ROOT/scripts/setup.sh"

step "build (RelWithDebInfo, -O2)"
configure_and_build "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

step "tests"
run_suite "$ROOT/build"

# --- The Debian package, checked as a distribution would (see the script) ---
step "package"
bash "$ROOT/scripts/check-package.sh" "$ROOT/build"

step "benchmarks"
run_benchmarks "$ROOT/build"

step "fuzzers"
run_fuzzers

step "sanitizers"
run_sanitizer_suite

step "all passed"
