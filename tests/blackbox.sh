#!/usr/bin/env bash
# The real converter-config under a virtual display, driven by X input events:
# search, choose the converter, type a baud rate, configure; the simulator's
# state file must then hold the new rate. Runs on host "tool" of a test network
# (through e2e.sh); saves a picture as OUT_DIR/blackbox.png.
#
#   blackbox.sh CONVERTER_CONFIG CONVERTER_SIM OUT_DIR
set -euo pipefail
app=$1 sim=$2 out=$3
root=$(cd "$(dirname "$0")/.." && pwd)
netlab=$root/scripts/netlab
: "${E2E_LAB:?run through tests/e2e.sh}"

if [[ "${BLACKBOX_DISPLAY:-}" != 1 ]]; then
    exec env BLACKBOX_DISPLAY=1 xvfb-run -a -s "-screen 0 800x480x24 -nolisten tcp" "$0" "$@"
fi

work=$(mktemp -d)
pids=()
mkdir -p "$work" && : >"$work/sim.log"
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "blackbox: $*" >&2
    echo "--- the tool's output:" >&2
    cat "$work/app.log" >&2 || true
    echo "--- the simulator's output:" >&2
    cat "$work/sim.log" >&2 || true
    exit 1
}

"$netlab" exec "$E2E_LAB" sima "$sim" --state "$work/state.json" \
    --base-address "$("$netlab" addr "$E2E_LAB" sima)" --base-mac 02AB0000E001 >"$work/sim.log" &
pids+=($!)
for _ in $(seq 50); do grep -q ready "$work/sim.log" && break; sleep 0.1; done
grep -q ready "$work/sim.log" || fail "the simulator did not start"

QT_QPA_PLATFORM=xcb "$app" >"$work/app.log" 2>&1 &
pids+=($!)
window=$(timeout 60 xdotool search --sync --onlyvisible --name "ConfigureTool" | head -n 1 || true)
[[ -n "$window" ]] || fail "the window did not open within a minute"
sleep 0.5

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
click 73 301                      # Search Device
for _ in $(seq 100); do grep -q answered "$work/sim.log" && break; sleep 0.1; done
grep -q answered "$work/sim.log" || fail "the simulator heard no probe"
sleep 1                           # the window lists the reply
click 230 68                      # the converter's row
xdotool mousemove --window "$window" 620 269 click --repeat 3 1   # the baud rate field
xdotool key --window "$window" ctrl+a BackSpace
xdotool type --window "$window" --delay 30 38400
sleep 0.3
click 585 341                     # Configure

for _ in $(seq 200); do grep -q '"baud": "38400"' "$work/state.json" && break; sleep 0.1; done
mkdir -p "$out"
import -window "$window" "$out/blackbox.png"
grep -q '"baud": "38400"' "$work/state.json" || fail "the converter's state did not change: $(cat "$work/state.json")"
grep -q '"configureCount": 1' "$work/state.json" || fail "expected exactly one configure"
echo "blackbox: ok, picture in $out/blackbox.png"
