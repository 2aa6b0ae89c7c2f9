#!/usr/bin/env bash
# Runs a command inside a private network namespace that holds nothing but
# loopback. A broadcast to 255.255.255.255 is routed onto lo, so it loops back
# to local sockets and can never reach a real network.
#
#   scripts/netns-run.sh COMMAND [ARGS...]
#   scripts/netns-run.sh --check      exit 0 when a namespace can be made
set -euo pipefail

setup='ip link set lo up && ip route add 255.255.255.255 dev lo src 127.0.0.1 && exec "$@"'

if [[ $(id -u) -eq 0 ]] && unshare --net true 2>/dev/null; then
    mode=(--net)
elif unshare --map-root-user --net true 2>/dev/null; then
    mode=(--map-root-user --net)
else
    echo "netns-run: cannot create a private network namespace (needs root, or unprivileged" \
        "user namespaces); refusing to run anything that opens a socket" >&2
    exit 3
fi

if ! command -v ip >/dev/null; then
    echo "netns-run: the 'ip' command (iproute2) is missing; run scripts/install-deps.sh" >&2
    exit 3
fi

[[ "${1:-}" == "--check" ]] && exit 0
exec unshare "${mode[@]}" bash -c "$setup" netns-run "$@"
