#!/usr/bin/env bash
# A crowd of simulated converters answers one probe within a jitter window;
# the window's figures come from bench_burst. Runs on a private test network,
# twice: with this machine's receive-buffer cap and one adapter, then with a
# stock Debian kernel's cap (net.core.rmem_max 212992, set for the run and put
# back after it) and two adapters on the converters' network, where each
# converter answers twice and each answer arrives twice.
#   scripts/bench-burst.sh [BUILD_DIR] [COUNT] [JITTER_MS] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
count=${2:-1000}
jitter=${3:-10}
rounds=${4:-5}
[[ $(id -u) -eq 0 ]] || { echo "bench-burst: the test network needs root" >&2; exit 1; }
lab=burst$$
cap=$(sysctl -n net.core.rmem_max)
trap 'sysctl -qw net.core.rmem_max="$cap"; scripts/netlab down "$lab" >/dev/null 2>&1 || true' EXIT
mkdir -p "$build/bench"
run() { # TOOL_HOST WHAT
    scripts/netlab up "$lab" "$1" "sims:$count" >/dev/null
    echo "bench-burst: $count converters answering within $jitter ms, $rounds rounds, $2;" \
        "the window's debug log goes to $build/bench/burst.log"
    scripts/netlab exec "$lab" tool env QT_QPA_PLATFORM=offscreen \
        "$build/bin/bench_burst" "$PWD/scripts/netlab" "$lab" "$build/bin/converter-sim" \
        "$count" "$jitter" "$rounds" 2>"$build/bench/burst.log"
    scripts/netlab down "$lab" >/dev/null
}
run tool "this machine's buffer cap ($cap), one adapter"
# A namespace takes the cap it is made with.
sysctl -qw net.core.rmem_max=212992
run tool@0,0 "a stock kernel's buffer cap (212992), two adapters on one network"
