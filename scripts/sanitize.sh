#!/usr/bin/env bash
# The whole test suite once more, built with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/. A finding ends its test process
# with an error, so the run passes only when there is none.
#
#   bash scripts/sanitize.sh
#
# Knobs (environment): ZEN_JOBS (build and test jobs, default 2),
# ZEN_TEST_TIMEOUT (seconds per test without its own limit, default 300),
# ZEN_SANITIZE_BUILD (build folder).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ZEN_SANITIZE_BUILD:-$ROOT/build-asan}
JOBS=${ZEN_JOBS:-2}
TEST_TIMEOUT=${ZEN_TEST_TIMEOUT:-300}

# -O1 keeps the instrumented suite quick enough; every undefined-behaviour
# check aborts instead of printing and going on.
FLAGS="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined"
cmake -S "$ROOT" -B "$BUILD" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="$FLAGS" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DZEN_BUILD_TESTS=ON >/dev/null
cmake --build "$BUILD" --parallel "$JOBS"

# Leaks count as findings (detect_leaks). Test programs that start the
# program's own processes pass these settings on to them too.
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD" --output-on-failure --timeout "$TEST_TIMEOUT" --parallel "$JOBS"
