#!/usr/bin/env bash
# Runs a test across a private test network: the test itself on host "tool",
# converter simulators on hosts "sima", "simb", "simc" and "simf" (six
# addresses), or the hosts that E2E_HOSTS names. The network is taken down again however the test ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# Named namespaces need real root, not a root mapped into a user namespace.
if ! awk '$1 == 0 && $2 == 0 { found = 1 } END { exit !found }' /proc/self/uid_map; then
    echo "e2e: creating the test network needs root; not run" >&2
    [[ "${CI:-}" == true ]] && exit 1
    exit 77
fi

lab=e2e$$
trap '"$root/scripts/netlab" down "$lab" >/dev/null 2>&1 || true' EXIT
# E2E_HOSTS may name another set of hosts (netlab's HOST[:N][@NETS]).
# shellcheck disable=SC2086
"$root/scripts/netlab" up "$lab" ${E2E_HOSTS:-tool sima simb simc simf:6} >/dev/null
E2E_LAB=$lab "$root/scripts/netlab" exec "$lab" tool "$@"
