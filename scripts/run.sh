#!/usr/bin/env bash
# Runs ZenLobby against a lobby server on this machine:
#
#   bash scripts/run.sh
#
# Installs what is missing (scripts/setup.sh), builds the program into build/,
# starts ngIRCd with server/ngircd.conf on 127.0.0.1:6664 unless something
# already listens there, and starts ZenLobby, which connects there by
# default. When ZenLobby ends, the server this script started is stopped
# (by its PID); a server that was already running is left alone.
#
# ZEN_BUILD_DIR builds somewhere else than build/; ZEN_JOBS sets the build jobs.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ZEN_BUILD_DIR:-$ROOT/build}
HOST=127.0.0.1
PORT=6664
JOBS=${ZEN_JOBS:-2}

say() {
    printf 'run: %s\n' "$*"
}

# ZenLobby is a desktop program: without a display it cannot open a window.
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    say "no display: ZenLobby opens windows and needs a graphical session, but neither" >&2
    say "DISPLAY nor WAYLAND_DISPLAY is set. Run this from a terminal on the desktop," >&2
    say "over 'ssh -X', or on a virtual display: xvfb-run -a bash scripts/run.sh" >&2
    exit 1
fi

say "installing what is missing"
bash "$ROOT/scripts/setup.sh"

say "building ZenLobby into $BUILD"
# The same configuration as the test command, so both share one build.
if [[ -f $BUILD/CMakeCache.txt ]] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$BUILD/CMakeCache.txt"; then
    rm -rf "$BUILD/CMakeCache.txt" "$BUILD/CMakeFiles"
fi
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DZEN_BUILD_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target zenlobby --parallel "$JOBS"

listening() {
    (exec 3<>"/dev/tcp/$HOST/$PORT") 2>/dev/null
}

server_pid=
stop_server() {
    if [[ -n $server_pid ]] && kill -0 "$server_pid" 2>/dev/null; then
        say "stopping the lobby server (PID $server_pid)"
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
}
trap stop_server EXIT
trap 'exit 130' INT TERM

if listening; then
    say "a server already listens on $HOST:$PORT: using it"
else
    ngircd=$(command -v ngircd || echo /usr/sbin/ngircd)
    log=$BUILD/ngircd.log
    say "starting the lobby server on $HOST:$PORT (log: $log)"
    "$ngircd" --nodaemon --config "$ROOT/server/ngircd.conf" >"$log" 2>&1 &
    server_pid=$!
    # Ready once it accepts connections; it may also fail to start at all.
    for _ in $(seq 100); do
        listening && break
        if ! kill -0 "$server_pid" 2>/dev/null; then
            server_pid=
            say "the lobby server did not start:" >&2
            cat "$log" >&2
            exit 1
        fi
        sleep 0.1
    done
    if ! listening; then
        say "the lobby server does not answer on $HOST:$PORT:" >&2
        cat "$log" >&2
        exit 1
    fi
fi

say "starting ZenLobby"
status=0
"$BUILD/bin/zenlobby" || status=$?
if [[ $status -ne 0 ]]; then
    say "ZenLobby ended with status $status" >&2
    if [[ -n ${DISPLAY:-} ]]; then
        say "(if it could not open its window: is the display $DISPLAY reachable?)" >&2
    fi
fi
exit "$status"
