#!/usr/bin/env bash
# converter-cli test --all --loopback against COUNT simulated converters in
# tcp-server mode, each with a loopback plug at 115200 8N1, on a private test
# network; then one of them alone.
#   scripts/bench-datapath.sh [BUILD_DIR] [COUNT] [BYTES]
# Last lines:
#   datapath: N of N loopback-ok in T ms; one converter alone U ms; line capacity share S
#   ratio T/U R (goal <= 1.5), share S (goal >= 0.95)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
count=${2:-200}
bytes=${3:-4096}
[[ $(id -u) -eq 0 ]] || { echo "bench-datapath: the test network needs root" >&2; exit 1; }
lab=data$$
work=$(mktemp -d)
trap 'scripts/netlab down "$lab" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
scripts/netlab up "$lab" tool "sims:$count" >/dev/null

first=$(scripts/netlab addr "$lab" sims)
python3 - "$work/sims.json" "$count" "$first" <<'PY'
import ipaddress, json, sys
path, count, first = sys.argv[1], int(sys.argv[2]), ipaddress.ip_address(sys.argv[3])
json.dump({"converters": [
    {"mac": f"02AB{i + 1:08X}", "replyFrom": str(first + i), "lip": str(first + i),
     "subnet": "255.255.0.0", "gaw": "10.77.0.1", "mode": 3, "lport": "4001",
     "baud": "115200", "serial": "loopback"} for i in range(count)]}, open(path, "w"))
PY
scripts/netlab exec "$lab" sims "$build/bin/converter-sim" --state "$work/sims.json" \
    --data-plane >"$work/sim.log" 2>&1 &
for _ in $(seq 100); do grep -q ready "$work/sim.log" 2>/dev/null && break; sleep 0.1; done

cli() {
    scripts/netlab exec "$lab" tool env CONVERTER_JOURNAL="$work/journal.jsonl" \
        "$build/bin/converter-cli" test --loopback --bytes "$bytes" --format json "$@"
}
echo "bench-datapath: $count converters, tcp-server, loopback at 115200 8N1, $bytes bytes each"
cli --all >"$work/all.json" 2>"$work/all.log" || true
cli 02AB00000001 >"$work/one.json" 2>"$work/one.log" || true
cat "$work/all.log" "$work/one.log" >&2
python3 - "$work" "$count" <<'PY'
import json, re, statistics, sys
work, count = sys.argv[1], int(sys.argv[2])
ms = lambda name: int(re.search(r"passed in (\d+) ms", open(f"{work}/{name}.log").read()).group(1))
rows = json.load(open(f"{work}/all.json"))
ok = [r for r in rows if r["result"] == "loopback-ok"]
share = statistics.median(r["line-share"] for r in ok) if ok else 0
total, alone = ms("all"), ms("one")
print(f"datapath: {len(ok)} of {count} loopback-ok in {total} ms; one converter alone {alone} ms; "
      f"line capacity share {share:.3f}")
print(f"ratio T/U {total / alone:.2f} (goal <= 1.5), share {share:.3f} (goal >= 0.95; "
      f"lowest {min((r['line-share'] for r in ok), default=0):.3f})")
PY
