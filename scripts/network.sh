#!/usr/bin/env bash
# Runs the lobby's three-server ngIRCd network on this machine: a hub and two
# leaves (server/network/), each on a port of its own, the leaves linked to
# the hub. Players may connect to any of the three.
#
#   bash scripts/network.sh start      # starts the three, returns once they are linked
#   bash scripts/network.sh stop       # stops the three this script started
#   bash scripts/network.sh status     # each one's PID, port and the servers it sees
#   bash scripts/network.sh restart hub|leaf1|leaf2|<port>
#   bash scripts/network.sh fill [<address>:]<port> [<PID>]
#                                      # fills the table of an ngIRCd of this
#                                      # machine not started by this script,
#                                      # before it gets its links (see below)
#
# Knobs (environment):
#   ZEN_NETWORK_DIR    where it keeps its state: the configs as run, the link
#                      passwords it made, PIDs and logs (default build/network)
#   ZEN_NETWORK_PORTS  the ports of hub, leaf1 and leaf2 at start (default
#                      "6664 6665 6666"); stop, status and restart use the ones
#                      the network was started with
#   ZEN_NETWORK_FILES  how many files each server may open (default 1024): it
#                      takes that many connections, less a few, and filling
#                      its table takes about 2 s per thousand
#
# It stops only the processes it started, by the PIDs it kept. Started as root,
# each server drops to the user nobody.
#
# Each server takes up to about a thousand connections (its open-file limit,
# which this script sets). Before it links, its connection table is filled to
# that size once: ngIRCd 26.1 keeps its connections in one table that it
# enlarges as connections come, the table moves in memory when it grows, and
# a zlib-compressed server link in it breaks there for good ("Compression
# error: code -2!?"), which splits the network. A table that never grows
# after the link is up keeps the link.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/scripts/freeport.sh"
DIR=${ZEN_NETWORK_DIR:-$ROOT/build/network}
NAMES=(hub leaf1 leaf2)
SHIPPED_PORTS=(6664 6665 6666)
HOST=127.0.0.1
WAIT_TENTHS=300 # how long a server gets to listen, and the network to link
FD_LIMIT=${ZEN_NETWORK_FILES:-1024} # open files per server, so connections: a few less

say() {
    printf 'network: %s\n' "$*"
}
fail() {
    say "$*" >&2
    exit 1
}

index_of() { # name or port -> 0, 1, 2
    local i
    for i in 0 1 2; do
        if [[ $1 == "${NAMES[$i]}" || $1 == "${PORTS[$i]}" ]]; then
            echo "$i"
            return
        fi
    done
    fail "no server \"$1\": name one of ${NAMES[*]} or its port (${PORTS[*]})"
}

load_ports() {
    local text=${ZEN_NETWORK_PORTS:-${SHIPPED_PORTS[*]}}
    if [[ -f $DIR/ports ]] && any_running; then
        text=$(<"$DIR/ports")
    fi
    read -r -a PORTS <<<"$text"
    [[ ${#PORTS[@]} -eq 3 ]] || fail "ZEN_NETWORK_PORTS needs three ports, not \"$text\""
    local port
    for port in "${PORTS[@]}"; do
        [[ $port =~ ^[0-9]+$ && $port -ge 1 && $port -le 65535 ]] || fail "\"$port\" is not a port"
    done
}

pid_of() { # index -> the PID, when that process is still our ngircd
    local file=$DIR/${NAMES[$1]}.pid pid
    [[ -f $file ]] || return 1
    pid=$(<"$file")
    [[ $pid =~ ^[0-9]+$ && $(cat "/proc/$pid/comm" 2>/dev/null) == ngircd ]] || return 1
    echo "$pid"
}

any_running() {
    local i
    for i in 0 1 2; do
        pid_of "$i" >/dev/null && return 0
    done
    return 1
}

listening() { # port
    (exec 3<>"/dev/tcp/$HOST/$1") 2>/dev/null
}

# One password per link, made once and kept readable by the owner only.
passwords() {
    if [[ ! -s $DIR/passwords ]]; then
        (
            umask 077
            for link in LEAF1 LEAF2; do
                printf '%s %s\n' "$link" "$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')"
            done >"$DIR/passwords"
        )
    fi
}

# The shipped config of server $1 with this run's ports and passwords. With a
# second argument, the config it fills its table under: that port only, and
# no links.
render() {
    local i=$1 fill_port=${2:-} link password
    local script=()
    for j in 0 1 2; do
        local port=${PORTS[$j]}
        [[ -n $fill_port && $j -eq $i ]] && port=$fill_port
        script+=(-e "s/^\([[:space:]]*Ports\{0,1\}[[:space:]]*=[[:space:]]*\)${SHIPPED_PORTS[$j]}\$/\1${port}/")
    done
    while read -r link password; do
        script+=(-e "s/@${link}_LINK_PASSWORD@/$password/g")
    done <"$DIR/passwords"
    [[ -n $fill_port ]] && script+=(-e '/^\[Server\]/,$d')
    # It holds the link passwords: readable by the server (nobody, when
    # started as root, reads it again on SIGHUP) and its owner only.
    local config=$DIR/${NAMES[$i]}.conf
    (umask 077 && sed "${script[@]}" "$ROOT/server/network/${NAMES[$i]}.conf" >"$config")
    if [[ $(id -u) -eq 0 ]]; then
        chgrp nogroup "$config" && chmod 640 "$config"
    fi
}

# Waits until `test` succeeds, up to WAIT_TENTHS tenths of a second; fails
# at once when server $1 is gone.
wait_for() {
    local i=$1 test=$2 n
    for ((n = 0; n < WAIT_TENTHS; n++)); do
        pid_of "$i" >/dev/null || return 2
        "$test" "$i" && return 0
        sleep 0.1
    done
    return 1
}
is_listening() {
    listening "${PORTS[$1]}"
}
# A server is linked once the log of its current run shows the link to each
# of its peers up: the hub to both leaves, a leaf to the hub.
is_linked() {
    local i=$1 peer last
    local peers=(hub)
    [[ $i -eq 0 ]] && peers=(leaf1 leaf2)
    for peer in "${peers[@]}"; do
        last=$(grep -E "Server \"$peer\.zenlobby\.local\" (un)?registered" "$DIR/${NAMES[$i]}.log" | tail -n 1)
        [[ $last == *" registered"* ]] || return 1
    done
}

# Starts server $1 with no links, on a port nobody else knows, fills its
# connection table there (see the top) and prints its PID. The previous run's
# log is kept as <name>.old.log.
launch() {
    local i=$1 name=${NAMES[$1]} fill_port pid n
    fill_port=$(free_port)
    render "$i" "$fill_port"
    [[ -f $DIR/$name.log ]] && mv -f "$DIR/$name.log" "$DIR/$name.old.log"
    # Its own session, so a Ctrl+C meant for the caller leaves it running;
    # the subshell and setsid exec in place, so $! is the server's own PID.
    (
        ulimit -n "$FD_LIMIT" || exit 125
        exec setsid "$NGIRCD" --nodaemon --config "$DIR/$name.conf" </dev/null >"$DIR/$name.log" 2>&1
    ) &
    pid=$!
    # Until it has exec'd, the process still has the shell's name.
    for ((n = 0; n < WAIT_TENTHS * 10; n++)); do
        [[ -d /proc/$pid ]] || break
        [[ $(cat "/proc/$pid/comm" 2>/dev/null) == ngircd ]] && listening "$fill_port" && break
        sleep 0.01
    done
    if ! listening "$fill_port" || [[ $(cat "/proc/$pid/comm" 2>/dev/null) != ngircd ]]; then
        say "$name did not start listening on $HOST:$fill_port; its log:" >&2
        cat "$DIR/$name.log" >&2
        kill -KILL "$pid" 2>/dev/null || true
        exit 1
    fi
    fill_table "$name" "$pid" "$fill_port" || {
        kill -KILL "$pid" 2>/dev/null || true
        exit 1
    }
    echo "$pid"
}

# Holds connections to server $2 (named $1) on port $3 (of address $5) until
# all $4 files it may open are in use, so its table has grown as far as it
# ever can, then closes them all.
fill_table() {
    local name=$1 pid=$2 port=$3 limit=${4:-$FD_LIMIT} host=${5:-$HOST} count n fd
    count=$((limit - $(ls "/proc/$pid/fd" | wc -l)))
    (
        if ! ulimit -n $((count + 64)) 2>/dev/null && [[ $(ulimit -n) -lt $((count + 64)) ]]; then
            say "cannot fill $name: it takes $count connections at once, and this shell may open $(ulimit -n) files (raise ulimit -n)" >&2
            exit 1
        fi
        for ((n = 0; n < count; n++)); do
            exec {fd}<>"/dev/tcp/$host/$port" || {
                say "$name refused connection $((n + 1)) of the $count that fill its table" >&2
                exit 1
            }
            # ngIRCd's queue of connections not yet accepted holds ten.
            ((n % 8 == 7)) && sleep 0.01
        done
        for ((n = 0; n < WAIT_TENTHS; n++)); do
            [[ $(ls "/proc/$pid/fd" 2>/dev/null | wc -l) -ge $limit ]] && exit 0
            sleep 0.1
        done
        say "$name did not take $count connections in time" >&2
        exit 1
    ) # leaving the subshell closes them
}

# Gives server $1 (PID $2) its own port and its links: ngIRCd reads its
# config again on SIGHUP, keeps its table, and dials what it must.
go_live() {
    local i=$1 pid=$2
    render "$i"
    kill -HUP "$pid"
    if ! wait_for "$i" is_listening; then
        say "${NAMES[$i]} did not listen on $HOST:${PORTS[$i]} after reading its config again; its log:" >&2
        tail -n 20 "$DIR/${NAMES[$i]}.log" >&2
        exit 1
    fi
}

start_one() {
    local i=$1 name=${NAMES[$1]} pid
    if pid=$(pid_of "$i"); then
        say "$name already runs (PID $pid, port ${PORTS[$i]})"
        return
    fi
    listening "${PORTS[$i]}" && fail "something else listens on $HOST:${PORTS[$i]}: $name cannot start"
    pid=$(launch "$i") || exit 1
    echo "$pid" >"$DIR/$name.pid"
    go_live "$i" "$pid"
    say "$name runs (PID $pid, $HOST:${PORTS[$i]})"
}

wait_linked() {
    local i=$1
    if ! wait_for "$i" is_linked; then
        say "${NAMES[$i]} did not link in time; its log:" >&2
        cat "$DIR/${NAMES[$i]}.log" >&2
        exit 1
    fi
}

# Asks server $1 to stop; prints its PID (nothing when it was not running).
ask_to_stop() {
    local i=$1 pid
    if pid=$(pid_of "$i"); then
        kill -TERM "$pid" 2>/dev/null || true
        echo "$pid"
    fi
    rm -f "$DIR/${NAMES[$i]}.pid"
}

# Waits up to 5 s for process $1 to exit, then kills it.
reap() {
    local pid=$1 n
    for ((n = 0; n < 500; n++)); do
        [[ -d /proc/$pid ]] || return 0
        sleep 0.01
    done
    kill -KILL "$pid" 2>/dev/null || true
}

stop_one() {
    local i=$1 pid
    pid=$(ask_to_stop "$i")
    [[ -n $pid ]] || return 0
    reap "$pid"
    say "${NAMES[$i]} stopped (PID $pid)"
}

# Starts a new server $1, fills its table while the old one still serves,
# then stops the old one and gives the new one the port as soon as it is
# free. ngIRCd closes its port and its players' connections at once but takes
# a second or two more to exit: a player whose client tries to reconnect in
# the moment between finds no server and gives up.
restart_one() {
    local i=$1 name=${NAMES[$1]} old new n
    new=$(launch "$i") || exit 1
    old=$(ask_to_stop "$i")
    echo "$new" >"$DIR/$name.pid"
    if [[ -n $old ]]; then
        for ((n = 0; n < 500; n++)); do
            listening "${PORTS[$i]}" && [[ -d /proc/$old ]] || break
            sleep 0.005
        done
    fi
    go_live "$i" "$new"
    say "$name runs (PID $new, $HOST:${PORTS[$i]})"
    if [[ -n $old ]]; then
        reap "$old"
        say "the $name before it has exited (PID $old)"
    fi
}

# The servers that server $1 sees in the network (its LINKS reply), by name.
links_of() {
    local port=${PORTS[$1]} line seen=()
    exec 3<>"/dev/tcp/$HOST/$port" || return 1
    # A nickname of its own per server: the last one's may still be known.
    printf 'NICK netstat%sx%s\r\nUSER netstat 0 * :network.sh status\r\n' "$$" "$1" >&3
    while IFS= read -r -t 5 line <&3; do
        line=${line%$'\r'}
        case $line in
        *" 001 "*) printf 'LINKS\r\n' >&3 ;;
        *" 364 "*)
            line=${line#* 364 * }
            seen+=("${line%%.*}")
            ;;
        *" 365 "*) break ;;
        esac
    done
    printf 'QUIT\r\n' >&3
    exec 3>&-
    printf '%s\n' "${seen[@]}" | sort | tr '\n' ' '
}

status() {
    local i pid healthy=0
    for i in 0 1 2; do
        if pid=$(pid_of "$i"); then
            if listening "${PORTS[$i]}"; then
                say "${NAMES[$i]}: PID $pid, $HOST:${PORTS[$i]}, sees: $(links_of "$i" || echo '?')"
            else
                say "${NAMES[$i]}: PID $pid, not listening on $HOST:${PORTS[$i]}"
                healthy=3
            fi
        else
            say "${NAMES[$i]}: not running (port ${PORTS[$i]})"
            healthy=3
        fi
    done
    return $healthy
}

usage() {
    sed -n '2,/^set -euo/p' "${BASH_SOURCE[0]}" | sed -e '$d' -e 's/^# \{0,1\}//' >&2
    exit 2
}

[[ $# -ge 1 ]] || usage
mkdir -p "$DIR"
load_ports

case $1 in
start)
    NGIRCD=$(command -v ngircd || echo /usr/sbin/ngircd)
    if [[ ! -x $NGIRCD ]]; then
        bash "$ROOT/scripts/setup.sh"
    fi
    passwords
    if ! any_running; then
        echo "${PORTS[*]}" >"$DIR/ports"
    fi
    # The hub first: a leaf dials it as soon as it starts.
    for i in 0 1 2; do
        start_one "$i"
    done
    for i in 0 1 2; do
        wait_linked "$i"
    done
    say "the three servers are linked"
    ;;
stop)
    for i in 2 1 0; do
        stop_one "$i"
    done
    ;;
status)
    status
    ;;
fill)
    [[ ($# -eq 2 || $# -eq 3 && $3 =~ ^[0-9]+$) && $2 =~ ^(([0-9.]+):)?([0-9]+)$ ]] || usage
    address=${BASH_REMATCH[2]:-$HOST} port=${BASH_REMATCH[3]} pid=${3:-}
    if [[ -z $pid ]]; then
        command -v ss >/dev/null || fail "fill needs ss to find the server by its port (apt-get install iproute2), or its PID"
        pid=$(ss -ltnpH "sport = :$port" 2>/dev/null | grep -o 'pid=[0-9]*' | head -n 1 | cut -d= -f2 || true)
    fi
    [[ -n $pid && $(cat "/proc/$pid/comm" 2>/dev/null) == ngircd ]] ||
        fail "no ngIRCd of this machine listens on port $port (as root, ss names every listener)"
    limit=$(awk '/^Max open files/ { print $4 }' "/proc/$pid/limits")
    [[ $limit =~ ^[0-9]+$ && $limit -le 4096 ]] ||
        fail "ngIRCd (PID $pid) may open $limit files; give it at most 4096 (LimitNOFILE= of its service) so its table can be filled"
    fill_table "ngIRCd on port $port" "$pid" "$port" "$limit" "$address"
    say "the table of ngIRCd (PID $pid) is full: $limit files; give it its links now"
    ;;
restart)
    [[ $# -eq 2 ]] || usage
    NGIRCD=$(command -v ngircd || echo /usr/sbin/ngircd)
    i=$(index_of "$2")
    restart_one "$i"
    wait_linked "$i"
    say "${NAMES[$i]} is back and linked"
    ;;
*)
    usage
    ;;
esac
