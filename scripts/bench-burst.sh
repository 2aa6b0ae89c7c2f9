#!/usr/bin/env bash
# A crowd of simulated converters answers one probe within a jitter window;
# the window's figures come from bench_burst. Runs on a private test network.
#   scripts/bench-burst.sh [BUILD_DIR] [COUNT] [JITTER_MS] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
count=${2:-1000}
jitter=${3:-10}
rounds=${4:-5}
[[ $(id -u) -eq 0 ]] || { echo "bench-burst: the test network needs root" >&2; exit 1; }
lab=burst$$
trap 'scripts/netlab down "$lab" >/dev/null 2>&1 || true' EXIT
scripts/netlab up "$lab" tool "sims:$count" >/dev/null
mkdir -p "$build/bench"
echo "bench-burst: $count converters answering within $jitter ms, $rounds rounds;" \
    "the window's debug log goes to $build/bench/burst.log"
scripts/netlab exec "$lab" tool env QT_QPA_PLATFORM=offscreen \
    "$build/bin/bench_burst" "$PWD/scripts/netlab" "$lab" "$build/bin/converter-sim" \
    "$count" "$jitter" "$rounds" 2>"$build/bench/burst.log"
