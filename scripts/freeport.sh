# Sourced by the scripts that start servers of their own on loopback.
# free_port: prints a port of 127.0.0.1 that nothing listened on a moment ago.
free_port() {
    local port
    while :; do
        port=$((20000 + RANDOM % 30000))
        (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || break
    done
    echo "$port"
}
