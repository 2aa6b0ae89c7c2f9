#!/usr/bin/env bash
# converter-cli watch on a production line: COUNT simulated converters
# powering on one every STEP_MS, each with a row of a fleet file; watch
# probes every INTERVAL_MS and writes each as it appears. Runs on a private
# test network.
#   scripts/bench-watch.sh [BUILD_DIR] [COUNT] [STEP_MS] [INTERVAL_MS]
# Last line:
#   watch: N of N verified; first answer to verified: median M ms, worst W ms
#   (aim under INTERVAL + one verification); total T ms over an arrival span
#   of S ms (ratio R)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
count=${2:-200}
step=${3:-100}
interval=${4:-1000}
[[ $(id -u) -eq 0 ]] || { echo "bench-watch: the test network needs root" >&2; exit 1; }
lab=watch$$
work=$(mktemp -d)
trap 'scripts/netlab down "$lab" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
scripts/netlab up "$lab" tool "sims:$count" >/dev/null

# Every converter's row: a new remote port and baud rate.
{
    echo "mac,remote-port,baud"
    for ((i = 0; i < count; i++)); do printf '02AB%08X,%d,9600\n' $((i + 1)) $((20000 + i)); done
} >"$work/fleet.csv"

scripts/netlab exec "$lab" sims "$build/bin/converter-sim" --state "$work/sims.json" \
    --count "$count" --base-address "$(scripts/netlab addr "$lab" sims)" \
    --power-on 500 --power-on-step "$step" >"$work/sim.log" 2>&1 &
for _ in $(seq 100); do grep -q ready "$work/sim.log" 2>/dev/null && break; sleep 0.1; done

echo "bench-watch: $count converters powering on every $step ms, probes every $interval ms"
status=0
scripts/netlab exec "$lab" tool env CONVERTER_JOURNAL="$work/journal.jsonl" \
    "$build/bin/converter-cli" watch --apply "$work/fleet.csv" --interval "$interval" \
    --format json --for 600 >"$work/events.json" 2>"$work/watch.log" || status=$?
cat "$work/watch.log" >&2
python3 - "$work/events.json" "$count" "$step" "$interval" <<'PY'
import datetime, json, statistics, sys
events = [json.loads(line) for line in open(sys.argv[1])]
count, step, interval = map(int, sys.argv[2:5])
at = lambda e: datetime.datetime.fromisoformat(e["time"].replace("Z", "+00:00")).timestamp() * 1000
found = {e["mac"]: at(e) for e in events if e["event"] == "found"}
done = {e["mac"]: at(e) for e in events if e["event"] == "verified"}
waits = sorted(done[m] - found[m] for m in done)
total = max(done.values()) - min(found.values())
span = (count - 1) * step
print(f"watch: {len(done)} of {count} verified; first answer to verified: median "
      f"{statistics.median(waits):.0f} ms, worst {waits[-1]:.0f} ms (aim under {interval} ms + one "
      f"verification); total {total:.0f} ms over an arrival span of {span} ms "
      f"(ratio {total / span:.3f})")
PY
exit $status
