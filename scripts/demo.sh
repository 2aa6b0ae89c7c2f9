#!/usr/bin/env bash
# Tries the tool without hardware: a private network with three simulated
# converters, the tool on your display inside it, and the network taken down
# again when the tool closes. Without a display the tool runs under a virtual
# one, and pictures of a search are saved in build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
lab=demo
demo=$build/demo

if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || {
        echo "demo: the private network needs root; run 'make demo' as root" >&2
        exit 1
    }
    echo "demo: the private network needs root; asking sudo" >&2
    export XAUTHORITY=${XAUTHORITY:-$HOME/.Xauthority}
    exec sudo --preserve-env=DISPLAY,XAUTHORITY,WAYLAND_DISPLAY,XDG_RUNTIME_DIR "$0" "$@"
fi

mkdir -p "$demo"
rm -f "$demo/converters.json"
scripts/netlab down "$lab" 2>/dev/null || true
trap 'scripts/netlab down "$lab" || true' EXIT
scripts/netlab up "$lab" tool sim:3

scripts/netlab exec "$lab" sim "$build/bin/converter-sim" --state "$demo/converters.json" \
    --count 3 --base-address "$(scripts/netlab addr "$lab" sim)" --jitter 200 >"$demo/sim.log" &
for _ in $(seq 50); do grep -q ready "$demo/sim.log" 2>/dev/null && break; sleep 0.1; done
echo "demo: three converters answer from $(scripts/netlab addr "$lab" sim 1) to" \
    "$(scripts/netlab addr "$lab" sim 3); their state is in $demo/converters.json"

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    echo "demo: press 'Search Device'; close the window to end the demo"
    scripts/netlab exec "$lab" tool "$build/bin/converter-config" || true
    exit 0
fi

echo "demo: no display; running the tool under a virtual one"
scripts/netlab exec "$lab" tool env QT_QPA_PLATFORM=xcb xvfb-run -a \
    -s "-screen 0 800x480x24 -nolisten tcp" bash -c '
        set -e
        "$1" >/dev/null 2>&1 &
        app=$!
        window=$(timeout 20 xdotool search --sync --onlyvisible --name ConfigureTool | head -n 1)
        sleep 0.5
        import -window "$window" "$2/started.png"
        xdotool mousemove --window "$window" 73 301 click 1
        sleep 1
        import -window "$window" "$2/search.png"
        xdotool mousemove --window "$window" 230 68 click 1
        sleep 0.5
        import -window "$window" "$2/chosen.png"
        kill $app' demo "$build/bin/converter-config" "$demo"
echo "demo: pictures in $demo/started.png, search.png and chosen.png"
