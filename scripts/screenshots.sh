#!/usr/bin/env bash
# Pictures of the real window with three simulated converters listed, in
# English and in Chinese: build/screenshots/en.png and zh.png. Everything runs
# inside a private network namespace, under a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

if [[ "${SCREENSHOTS_INSIDE:-}" != 1 ]]; then
    exec scripts/netns-run.sh env SCREENSHOTS_INSIDE=1 \
        xvfb-run -a -s "-screen 0 800x480x24 -nolisten tcp" "$0" "$@"
fi

out=$build/screenshots
mkdir -p "$out"
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

cat >"$work/state.json" <<'JSON'
{"converters": [
  {"mac": "02AB00000101", "version": "1.2", "name": "Boiler-1", "replyFrom": "127.0.0.11",
   "mode": 1, "lip": "192.168.1.21", "sip": "192.168.1.100", "sport": "5001", "baud": "9600"},
  {"mac": "02AB00000102", "version": "1.3", "name": "Scale-B", "replyFrom": "127.0.0.12",
   "mode": 3, "lip": "192.168.1.22", "lport": "4001", "baud": "19200", "parity": 2},
  {"mac": "02AB00000103", "version": "2.0", "name": "称重仪", "replyFrom": "127.0.0.13",
   "mode": 0, "ipType": 1, "lip": "192.168.1.23", "baud": "115200"}
]}
JSON

"$build/bin/converter-sim" --state "$work/state.json" >"$work/sim.log" &
pids+=($!)
QT_QPA_PLATFORM=xcb "$build/bin/converter-config" >"$work/app.log" 2>&1 &
pids+=($!)

window=$(timeout 60 xdotool search --sync --onlyvisible --name "ConfigureTool" | head -n 1 || true)
sleep 1
# "Search Device", then the newest row.
xdotool mousemove --window "$window" 73 301 click 1
sleep 1
xdotool mousemove --window "$window" 230 62 click 1
sleep 0.5
import -window "$window" "$out/en.png"
# The language button.
xdotool mousemove --window "$window" 47 341 click 1
sleep 0.5
import -window "$window" "$out/zh.png"
echo "screenshots: $out/en.png $out/zh.png"
