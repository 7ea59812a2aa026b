# Sourced by the scripts that start servers of their own on loopback.
# free_port: prints a port of 127.0.0.1 that nothing listened on a moment ago,
# below the range the system hands out to outgoing connections: a port some
# client's connection holds cannot be listened on either.
free_port() {
    local port low=32768
    read -r low _ </proc/sys/net/ipv4/ip_local_port_range 2>/dev/null || true
    ((low > 11024)) || low=32768
    while :; do
        port=$((10000 + RANDOM % (low - 10000)))
        (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || break
    done
    echo "$port"
}
