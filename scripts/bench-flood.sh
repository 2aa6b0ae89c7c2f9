#!/usr/bin/env bash
# 100,000 datagrams of junk at the window on a private test network: random
# sizes and contents, foreign source ports, frames carrying the configure tag,
# replies forged under another key. None may list a converter.
#   scripts/bench-flood.sh [BUILD_DIR] [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
count=${2:-100000}
[[ $(id -u) -eq 0 ]] || { echo "bench-flood: the test network needs root" >&2; exit 1; }
lab=flood$$
trap 'scripts/netlab down "$lab" >/dev/null 2>&1 || true' EXIT
scripts/netlab up "$lab" tool flood >/dev/null
bin=$(cd "$build/bin" && pwd)
scripts/netlab exec "$lab" tool env QT_QPA_PLATFORM=offscreen \
    "$bin/bench_flood" window "$PWD/scripts/netlab" "$lab" "$bin/bench_flood" "$count"
