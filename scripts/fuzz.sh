#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang into build-fuzz/ and runs each
# for a bounded time. The starting corpus is made at run time from the
# recorded ngIRCd sessions in tests/data and the bot.dat the program ships,
# plus the hand-picked inputs in fuzz/corpus. A crash, a leak, a sanitizer
# finding, a hang or a broken property fails the run; the input that did it is
# kept in build-fuzz/findings/.
#
#   bash scripts/fuzz.sh
#
# Knobs (environment): ZEN_FUZZ_SECONDS (per target; default 60 when CI=true,
# else 15), ZEN_JOBS (build jobs, default 2), ZEN_FUZZ_BUILD (build folder).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ZEN_FUZZ_BUILD:-$ROOT/build-fuzz}
JOBS=${ZEN_JOBS:-2}
if [[ ${CI:-} == true ]]; then
    SECONDS_EACH=${ZEN_FUZZ_SECONDS:-60}
else
    SECONDS_EACH=${ZEN_FUZZ_SECONDS:-15}
fi

cmake -S "$ROOT" -B "$BUILD" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZEN_BUILD_FUZZERS=ON -DZEN_BUILD_TESTS=OFF -DZEN_BUILD_UI=OFF >/dev/null
cmake --build "$BUILD" --parallel "$JOBS" --target inbound_fuzzer botfile_fuzzer

# --- Starting corpus ----------------------------------------------------------
# An inbound input is a header line (nickname, channel, chunk sizes) and the
# bytes the server sends; see fuzz/inbound_fuzzer.cpp. Every recorded session
# goes in whole and cut into chunks of several sizes, addressed to the
# nickname and channel it was recorded with.
STARTING=$BUILD/corpus-start
rm -rf "$STARTING"
mkdir -p "$STARTING/inbound" "$STARTING/botfile"

transcripts=("$ROOT"/tests/data/*.txt)
nick=$(grep -h -m1 -o ' 001 [^ ]*' "${transcripts[@]}" | head -n1 | cut -d' ' -f3 || true)
channel=$(grep -h -m1 -o ' 353 [^ ]* = [^ ]*' "${transcripts[@]}" | head -n1 | cut -d' ' -f5 || true)
if [[ -z $nick || -z $channel ]]; then
    echo "fuzz: no nickname or channel found in the recorded sessions" >&2
    exit 1
fi
for file in "${transcripts[@]}"; do
    name=$(basename "$file" .txt)
    for sizes in "" 1 7,13,64 512; do
        {
            printf '%s\t%s\t%s\n' "$nick" "$channel" "$sizes"
            cat "$file"
        } >"$STARTING/inbound/$name.${sizes:-whole}"
    done
done
# A chat line of 70 KB, more than the connection holds back, in TCP-sized
# reads: the header asks for the 1,100 bytes 64 times over.
{
    printf '%s\t%s\t1460\t64\n:MM_aa000Ann!~MM_aa000Ann@127.0.0.1 PRIVMSG %s :' "$nick" "$channel" "$channel"
    head -c 1050 /dev/zero | tr '\0' 'w'
} >"$STARTING/inbound/long-line"
cp "$ROOT"/fuzz/corpus/inbound/* "$STARTING/inbound/"

[[ -f $ROOT/src/ui/data/bot.dat ]] && cp "$ROOT/src/ui/data/bot.dat" "$STARTING/botfile/shipped-bot.dat"
cp "$ROOT"/fuzz/corpus/botfile/* "$STARTING/botfile/"

# --- Runs ---------------------------------------------------------------------
# The corpus a run grows stays in build-fuzz/corpus/<target> for the next run
# on this machine; a fresh clone starts from the starting corpus alone.
FINDINGS=$BUILD/findings
mkdir -p "$FINDINGS"
status=0
for target in inbound botfile; do
    corpus=$BUILD/corpus/$target
    mkdir -p "$corpus"
    log=$BUILD/$target.log
    echo "fuzz: ${target}_fuzzer for ${SECONDS_EACH} s"
    # -timeout: one input taking 10 s is a hang; -rss_limit_mb: a runaway.
    if ! "$BUILD/bin/${target}_fuzzer" \
        -max_total_time="$SECONDS_EACH" \
        -timeout=10 -rss_limit_mb=2048 \
        -dict="$ROOT/fuzz/$target.dict" \
        -artifact_prefix="$FINDINGS/$target-" \
        -print_final_stats=1 \
        "$corpus" "$STARTING/$target" >"$log" 2>&1; then
        echo "fuzz: ${target}_fuzzer found a fault; input kept in $FINDINGS:" >&2
        tail -n 60 "$log" >&2
        status=1
        continue
    fi
    # The last progress line carries the coverage and corpus; the stats the runs.
    grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n1 || true
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
done
exit $status
