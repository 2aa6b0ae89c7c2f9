#!/usr/bin/env bash
# converter-cli.exe under Wine on a host with two adapters: three converters
# on host sima (network 0, where the default route goes) and one on host simb
# (network 1). "search --format json" lists all four with the adapter each
# answered on; a verified "set" reaches simb's converter through network 1;
# an adapter name that does not exist is refused with the list of those that
# do; a program that holds port 1500 without sharing it makes it end with
# status 3 and say so. Under a Chinese locale its help is Chinese. Runs on
# host "tool" (through e2e.sh with E2E_HOSTS="tool@0,1 sima:3 simb@1").
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
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
start_sim() { # HOST COUNT MAC
    : >"$work/$1.log"
    "$netlab" exec "$E2E_LAB" "$1" "$sim" --state "$work/$1.json" --count "$2" \
        --base-address "$("$netlab" addr "$E2E_LAB" "$1")" --base-mac "$3" >"$work/$1.log" &
    pids+=($!)
    for _ in $(seq 50); do grep -q ready "$work/$1.log" && return 0; sleep 0.1; done
    echo "windows-cli: the simulator on $1 did not start" >&2
    exit 1
}
start_sim sima 3 02AB0000C001
start_sim simb 1 02AB0000D001
cli() { /usr/lib/wine/wine64 "$exe" "$@"; }

# A Chinese Windows speaks Chinese without any setting: Wine takes the user's
# display language from the locale. The server keeps a language: restarted.
wine_language() { # LANG, then the program's arguments
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    LANG=$1 LC_ALL='' LC_MESSAGES='' LANGUAGE='' cli "${@:2}"
}
wine_language zh_CN.UTF-8 --help >"$work/help-zh.txt"
wine_language C.UTF-8 --help >"$work/help-en.txt"
head -n 1 "$work/help-zh.txt" | grep -q '^用法：converter-cli' &&
    head -n 1 "$work/help-en.txt" | grep -q '^Usage: converter-cli' || {
    echo "windows-cli: converter-cli.exe did not follow the display language:" >&2
    head -n 2 "$work/help-zh.txt" "$work/help-en.txt" >&2
    exit 1
}
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w 2>/dev/null || true

cli search --format json --timeout 2000 >"$work/found.json"
for host in sima simb; do cp "$work/$host.json" "$work/$host-before.json"; done
cli set 02AB0000D001 baud=57600 remote-port=4242 --timeout 2000 >"$work/set.txt" ||
    { cat "$work/set.txt" >&2; echo "windows-cli: set through network 1 failed" >&2; exit 1; }
status=0
cli search --interface no-such-adapter >/dev/null 2>"$work/bad.txt" || status=$?
python3 - "$work" <<'PY'
import json, pathlib, sys, time
work = pathlib.Path(sys.argv[1])
def check(ok, what):  # not assert: python -O would strip it
    if not ok:
        sys.exit(f"check failed: {what}")
found = json.loads((work / "found.json").read_text())
sims = {}
for host in ("sima", "simb"):
    for c in json.loads((work / f"{host}-before.json").read_text())["converters"]:
        sims[c["mac"].replace(":", "")] = (host, c)
check(sorted(d["mac"].replace(":", "") for d in found) == sorted(sims), found)
adapters = {}
for d in found:
    host, c = sims[d["mac"].replace(":", "")]
    check((d["ip"], d["baud"], d["local-port"]) == (c["lip"], int(c["baud"]), int(c["lport"])), d)
    adapters.setdefault(host, set()).add(d["interface"])
check(len(adapters["sima"]) == 1 and len(adapters["simb"]) == 1, adapters)
check(adapters["sima"] != adapters["simb"], adapters)
check("verified" in (work / "set.txt").read_text(), (work / "set.txt").read_text())
for _ in range(30):
    c = json.loads((work / "simb.json").read_text())["converters"][0]
    if c["configureCount"] == 1:
        break
    time.sleep(0.1)
check((c["baud"], c["sport"], c["configureCount"]) == ("57600", "4242", 1), c)
for c in json.loads((work / "sima.json").read_text())["converters"]:
    check(c["configureCount"] == 0, c)
print("windows-cli: converter-cli.exe found", len(found), "converters on two adapters",
      sorted(a for s in adapters.values() for a in s), "and wrote one through its own")
PY
grep -q "no network interface named 'no-such-adapter' (there are: " "$work/bad.txt" ||
    { cat "$work/bad.txt" >&2; echo "windows-cli: unknown adapter not refused with the list" >&2; exit 1; }
[[ $status -eq 2 ]] || { echo "windows-cli: unknown adapter ended with $status, not 2" >&2; exit 1; }
echo "windows-cli: unknown adapter refused: $(cat "$work/bad.txt")"

python3 -c 'import socket, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("0.0.0.0", 1500))
print("held", flush=True)
time.sleep(60)' >"$work/held.txt" &
pids+=($!)
for _ in $(seq 50); do grep -q held "$work/held.txt" && break; sleep 0.1; done
/usr/lib/wine/wineserver -k 2>/dev/null || true
status=0
cli search --timeout 500 >/dev/null 2>"$work/held-err.txt" || status=$?
grep -q "cannot use UDP port 1500" "$work/held-err.txt" && [[ $status -eq 3 ]] ||
    { cat "$work/held-err.txt" >&2; echo "windows-cli: a held port gave status $status" >&2; exit 1; }
echo "windows-cli: port held elsewhere: $(cat "$work/held-err.txt")"
