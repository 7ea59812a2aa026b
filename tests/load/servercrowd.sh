#!/usr/bin/env bash
# A short lobbysim crowd on the servers an operator runs, from the configs in
# server/, on free ports of 127.0.0.1; it passes when the crowd's summary
# shows every chat line and launch delivered, nobody dropped, and every
# roster agreeing.
#
#   servercrowd.sh network  <lobbysim>   the three linked ngIRCd servers of
#       scripts/network.sh, one leaf restarted while the crowd acts
#   servercrowd.sh inspircd <lobbysim>   one InspIRCd whose pings come every
#       3 s, so idle players answer several of them
#
# Every server it starts it stops again by its PID.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
KIND=${1:?network or inspircd}
LOBBYSIM=${2:?the lobbysim program}
WORK=$(mktemp -d)
chmod 755 "$WORK" # a server dropped to nobody reads its config here

source "$ROOT/scripts/freeport.sh"

server_pid=
cleanup() {
    if [[ $KIND == network ]]; then
        ZEN_NETWORK_DIR=$WORK bash "$ROOT/scripts/network.sh" stop >/dev/null || true
    elif [[ -n $server_pid ]]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT

case $KIND in
network)
    ports=("$(free_port)" "$(free_port)" "$(free_port)")
    # Nine players need no thousand connections: a smaller table fills sooner.
    export ZEN_NETWORK_DIR=$WORK ZEN_NETWORK_PORTS="${ports[*]}" ZEN_NETWORK_FILES=128
    bash "$ROOT/scripts/network.sh" start
    # Players on all three; leaf2 goes down 8 s in and comes back.
    args=(--servers "127.0.0.1:${ports[0]},127.0.0.1:${ports[1]},127.0.0.1:${ports[2]}"
        --restart-server 3 8 --players 9 --behave chat,huts,launch,away --interval 250 --time 20)
    ;;
inspircd)
    port=$(free_port)
    sed -e "s/port=\"6664\"/port=\"$port\"/" -e 's/pingfreq="2m"/pingfreq="3s"/' \
        "$ROOT/server/inspircd.conf" >"$WORK/inspircd.conf"
    root=()
    if [[ $(id -u) -eq 0 ]]; then
        root=(--runasroot) # the config drops it to nobody
    else
        sed -i -e 's/runasuser="[^"]*"//' -e 's/runasgroup="[^"]*"//' "$WORK/inspircd.conf"
    fi
    inspircd --nofork --nopid "${root[@]}" --config "$WORK/inspircd.conf" >"$WORK/inspircd.log" 2>&1 &
    server_pid=$!
    for _ in $(seq 100); do
        (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
        kill -0 "$server_pid" 2>/dev/null || break
        sleep 0.1
    done
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
        echo "servercrowd: inspircd did not listen on port $port; its log:" >&2
        cat "$WORK/inspircd.log" >&2
        exit 1
    fi
    # Few actions: most players sit idle through several pings.
    args=(--port "$port" --players 6 --behave chat,huts --interval 2000 --time 12)
    ;;
*)
    echo "servercrowd: network or inspircd, not $KIND" >&2
    exit 2
    ;;
esac

"$LOBBYSIM" "${args[@]}" | tee "$WORK/summary"
summary=$(<"$WORK/summary")
status=0
expect() {
    if ! grep -q -- "$1" <<<"$summary"; then
        echo "servercrowd: the summary lacks \"$1\"" >&2
        status=1
    fi
}
players=$(sed -n 's/^lobbysim: \([0-9]*\) players .*/\1/p' <<<"$summary" | tail -1)
expect "in the lobby   $players of $players (ended: 0 kicked, 0 lost the server"
expect "delivered      chat 100.0% ([1-9][0-9]* of [1-9][0-9]*), launches 100.0%"
if [[ $KIND == inspircd ]]; then
    # InspIRCd lists members in the order they connected, not newest first as
    # ngIRCd does and the kept list does, so only the fresh reply's order differs.
    expect "rosters        all agree"
    expect "; 0 reconnected)"
else
    # Every player shows exactly what its own server lists. A restarted server
    # builds the channel anew from the others' burst, so its order of the same
    # members may differ from theirs: the servers' order, not the lobby's.
    expect "rosters        .* and match a fresh names reply"
fi
exit $status
