#!/usr/bin/env bash
# A commissioning round trip through a real spreadsheet program: converter-cli
# writes the fleet file, LibreOffice Calc opens it with its default CSV import
# and saves it as CSV, the baud column is edited, and apply writes exactly
# that edit. Names a spreadsheet would take for numbers or dates (0012, 1E5,
# 3/4), a GB18030 name, a version 1.10 and MACs of digits only must come
# back as they were. Runs on host "tool" (through e2e.sh with
# E2E_HOSTS="tool sims:5").
#   spreadsheet.sh CONVERTER_CLI CONVERTER_SIM
set -euo pipefail
cli=$1 sim=$2
root=$(cd "$(dirname "$0")/.." && pwd)
netlab=$root/scripts/netlab
: "${E2E_LAB:?run through tests/e2e.sh}"
# shellcheck source=privatenet.sh
source "$root/tests/privatenet.sh"
require_private_network spreadsheet
command -v soffice >/dev/null || { echo "spreadsheet: LibreOffice is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'kill $sim_pid 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
base=$("$netlab" addr "$E2E_LAB" sims)
python3 - "$work/sims.json" "$base" <<'PY'
import ipaddress, json, sys
path, base = sys.argv[1], ipaddress.ip_address(sys.argv[2])
names = [("name", "0012"), ("name", "1E5"), ("name", "3/4"), ("nameHex", "C9E8B1B8C3FBB3C6D2BB"),
         ("name", "TRUE")]
macs = ["001122334455", "000000000104", "000000000105", "000000000106", "000000000107"]
converters = [{"mac": mac, key: value, "version": "1.10", "replyFrom": str(base + i),
               "lip": str(base + i), "baud": "115200"}
              for i, (mac, (key, value)) in enumerate(zip(macs, names))]
json.dump({"converters": converters}, open(path, "w"))
PY
: >"$work/sim.log"
"$netlab" exec "$E2E_LAB" sims "$sim" --state "$work/sims.json" >"$work/sim.log" &
sim_pid=$!
for _ in $(seq 50); do grep -q ready "$work/sim.log" && break; sleep 0.1; done

"$cli" search --timeout 1000 --format csv --output "$work/fleet.csv"
# Calc's own import and export, in a profile of its own; UTF-8, commas.
HOME=$work soffice --headless -env:UserInstallation="file://$work/profile" \
    --infilter="CSV:44,34,76,1" --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1' \
    --outdir "$work/calc" "$work/fleet.csv" >/dev/null 2>&1
python3 - "$work" <<'PY'
import csv, pathlib, sys
work = pathlib.Path(sys.argv[1])
def check(ok, what):  # not assert: python -O would strip it
    if not ok:
        sys.exit(f"check failed: {what}")
def rows(name):
    text = (work / name).read_text(encoding="utf-8-sig")
    return list(csv.reader(text.splitlines()))
def unguard(cell):  # ="0012" is how the tool writes text a spreadsheet would change
    return cell[2:-1].replace('""', '"') if cell.startswith('="') and cell.endswith('"') else cell
written, saved = rows("fleet.csv"), rows("calc/fleet.csv")
check([[unguard(c) for c in r] for r in written] == saved, (written, saved))
names = sorted(r[1] for r in saved[1:])
check(names == sorted(["0012", "1E5", "3/4", "设备名称一", "TRUE"]), names)
check({r[0] for r in saved[1:]} >= {"00:11:22:33:44:55", "00:00:00:00:01:04"}, saved)
check({r[2] for r in saved[1:]} == {"1.10"}, saved)
# The operator changes one baud rate and saves again.
header = saved[0]
baud = header.index("baud")
for r in saved[1:]:
    if r[0] == "00:00:00:00:01:04":
        r[baud] = "9600"
with open(work / "edited.csv", "w", newline="", encoding="utf-8") as f:
    csv.writer(f).writerows(saved)
print("spreadsheet: Calc kept every column of", len(saved) - 1, "converters")
PY
"$cli" apply "$work/edited.csv" --timeout 1000 --format csv >"$work/applied.csv"
for _ in $(seq 30); do grep -q '"configureCount": 1' "$work/sims.json" && break; sleep 0.1; done
python3 - "$work" <<'PY'
import csv, json, pathlib, sys
work = pathlib.Path(sys.argv[1])
def check(ok, what):  # not assert: python -O would strip it
    if not ok:
        sys.exit(f"check failed: {what}")
results = {r["mac"]: r["result"] for r in csv.DictReader(open(work / "applied.csv"))}
check(results.pop("00:00:00:00:01:04") == "verified", results)
check(set(results.values()) == {"unchanged"}, results)
state = {c["mac"]: c for c in json.load(open(work / "sims.json"))["converters"]}
check(state["000000000104"]["baud"] == "9600", state["000000000104"])
check({m: c["configureCount"] for m, c in state.items() if c["configureCount"]} == {"000000000104": 1}, state)
check(state["000000000106"]["nameHex"] == "C9E8B1B8C3FBB3C6D2BB", state)
print("spreadsheet: apply wrote the one edited baud rate and nothing else")
PY
