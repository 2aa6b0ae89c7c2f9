#!/usr/bin/env bash
# converter-cli apply on a crowd: COUNT simulated converters answering within
# JITTER_MS, one CSV giving every one new addresses and ports, written at RATE
# frames per second and verified. Runs on a private test network.
#   scripts/bench-batch.sh [BUILD_DIR] [COUNT] [JITTER_MS] [RATE]
# Last line:
#   batch: verified V of N in T ms; floor F ms (search S ms + writing W ms)
#   (ratio R); S frames sent, X retries
# where the floor is the search (a write listens for the whole --timeout, so
# that the segment check sees every converter) plus N / RATE and the answer
# window.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
count=${2:-1000}
jitter=${3:-10}
rate=${4:-1000}
[[ $(id -u) -eq 0 ]] || { echo "bench-batch: the test network needs root" >&2; exit 1; }
lab=batch$$
work=$(mktemp -d)
trap 'scripts/netlab down "$lab" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
scripts/netlab up "$lab" tool "sims:$count" >/dev/null
on_tool() { scripts/netlab exec "$lab" tool "$@"; }

scripts/netlab exec "$lab" sims "$build/bin/converter-sim" --state "$work/sims.json" \
    --count "$count" --base-address "$(scripts/netlab addr "$lab" sims)" --jitter "$jitter" \
    >"$work/sim.log" 2>&1 &
for _ in $(seq 100); do grep -q ready "$work/sim.log" 2>/dev/null && break; sleep 0.1; done

on_tool "$build/bin/converter-cli" search --format csv --timeout 2000 >"$work/fleet.csv"
found=$(($(wc -l <"$work/fleet.csv") - 1))
[[ $found -eq $count ]] || { echo "bench-batch: search found $found of $count" >&2; exit 1; }

# New address, local port and remote port for every converter (columns 8, 11, 13).
awk -F, -v OFS=, 'NR > 1 { i = NR - 2; $8 = "10.78." int(i / 250) "." (i % 250 + 1);
    $11 = 20000 + i; $13 = 30000 + i } { print }' "$work/fleet.csv" >"$work/new.csv"

echo "bench-batch: apply to $count converters at $rate frames/s, answering within $jitter ms"
# Timed inside the tool's host, so the figure is the program's own.
set +e
on_tool bash -c 'start=$(date +%s%N); "$@"; status=$?;
    echo "elapsed $((($(date +%s%N) - start) / 1000000))" >&2; exit $status' timed \
    "$build/bin/converter-cli" apply "$work/new.csv" --rate "$rate" --format csv \
    >"$work/result.csv" 2>"$work/apply.log"
status=$?
set -e
elapsed_ms=$(awk '/^elapsed/ { print $2 }' "$work/apply.log")
sed -i '/^elapsed/d' "$work/apply.log"
cat "$work/apply.log" >&2
verified=$(grep -c ',verified,' "$work/result.csv" || true)
summary=$(grep -o '[0-9]* frames sent, [0-9]* retries' "$work/apply.log" || echo "0 frames sent, 0 retries")
search_ms=1000 # apply's default --timeout
writing_ms=$((count * 1000 / rate + jitter))
floor_ms=$((search_ms + writing_ms))
ratio=$(awk -v t="$elapsed_ms" -v f="$floor_ms" 'BEGIN { printf "%.2f", t / f }')
echo "batch: verified $verified of $count in $elapsed_ms ms; floor $floor_ms ms (search $search_ms ms + writing $writing_ms ms) (ratio $ratio); $summary"
[[ $status -eq 0 ]]
