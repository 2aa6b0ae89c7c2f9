#!/usr/bin/env bash
# converter-cli.exe under Wine finds the simulated converters: three on host
# sima, listed by "search --format json". Runs on host "tool" (through e2e.sh).
#   windows-cli.sh CLI_EXE CONVERTER_SIM
set -euo pipefail
exe=$1 sim=$2
netlab=$(cd "$(dirname "$0")/.." && pwd)/scripts/netlab
: "${E2E_LAB:?run through tests/e2e.sh}"
# shellcheck source=privatenet.sh
source "$(dirname "$0")/privatenet.sh"
require_private_network windows-cli
work=$(mktemp -d)
# Wine opens sockets in its server: one must not be left from elsewhere.
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w 2>/dev/null || true
: >"$work/sim.log"
"$netlab" exec "$E2E_LAB" sima "$sim" --state "$work/sims.json" --count 3 \
    --base-address "$("$netlab" addr "$E2E_LAB" sima)" --base-mac 02AB0000C001 >"$work/sim.log" &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do grep -q ready "$work/sim.log" && break; sleep 0.1; done
/usr/lib/wine/wine64 "$exe" search --format json --timeout 2000 >"$work/found.json"
python3 - "$work/found.json" "$work/sims.json" <<'PY'
import json, sys
found = json.load(open(sys.argv[1]))
sims = {c["mac"]: c for c in json.load(open(sys.argv[2]))["converters"]}
assert sorted(d["mac"] for d in found) == sorted(sims), found
for d in found:
    c = sims[d["mac"]]
    assert (d["ip"], d["baud"], d["local-port"]) == (c["lip"], int(c["baud"]), int(c["lport"])), d
print("windows-cli: converter-cli.exe found", len(found), "converters")
PY
