# Sourced by the tests that start a program which opens UDP port 1500.
# require_private_network NAME: fails unless this shell sees only loopback
# and the private test network's links, so nothing can reach a real network.
require_private_network() {
    local foreign
    foreign=$(ip -o link show | awk -F': ' '{ sub(/@.*/, "", $2); print $2 }' |
        { grep -v -E '^(lo|cvl[0-9]+)$' || true; } | tr '\n' ' ')
    if [[ -n "$foreign" ]]; then
        echo "$1: this test broadcasts on UDP port 1500, so it must run inside a private" \
            "network namespace (make test, make test-windows); interfaces seen here: $foreign" >&2
        exit 1
    fi
}
