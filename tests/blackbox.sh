#!/usr/bin/env bash
# The real window program under a virtual display, driven from outside by X
# input events, on a host with two adapters: the default route goes out to
# network 0, where sima and simb answer, and simc answers on network 1; a
# watcher on each network (watcha, watchb) hears what the program sends:
#   search; each network hears exactly one probe; the rows come in order of
#   arrival (the second row is simb's, the third simc's);
#   choose it, type a baud rate, Configure: simb's state holds the rate;
#   Factory Reset, Configure: simb holds the defaults;
#   switch the language: the window changes and still configures;
#   choose simc, Configure: simc holds the form's values, and its frame went
#   out on network 1 only, as simb's went out on network 0 only;
#   search again: one more probe on each network;
#   close the window as a window manager would: the program ends with status 0;
#   every configure frame heard, decrypted by OpenSSL, has the tag and a
#   checksum right by a CRC of the test's own;
#   with BLACKBOX_CLI naming converter-cli, its history shows each Configure
#   from the window's journal.
# The same scenario runs against the Linux program and against the Windows
# program under Wine; LAUNCH is the command that starts it. Pictures in
# English and Chinese are saved as OUT_DIR/blackbox-en.png and -zh.png.
#
#   blackbox.sh OUT_DIR CONVERTER_SIM WMCLOSE LAUNCH...
# Runs on host "tool" of a test network (through e2e.sh) with
# E2E_HOSTS="tool@0,1 sima simb simc@1 watcha watchb@1".
set -euo pipefail
out=$1 sim=$2 wmclose=$3
shift 3
root=$(cd "$(dirname "$0")/.." && pwd)
netlab=$root/scripts/netlab
# shellcheck source=closewindow.sh
source "$root/tests/closewindow.sh"
# shellcheck source=privatenet.sh
source "$root/tests/privatenet.sh"
require_private_network blackbox
: "${E2E_LAB:?run through tests/e2e.sh}"

if [[ "${BLACKBOX_DISPLAY:-}" != 1 ]]; then
    exec env BLACKBOX_DISPLAY=1 xvfb-run -a -s "-screen 0 1600x900x24 -nolisten tcp" "$0" \
        "$out" "$sim" "$wmclose" "$@"
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "blackbox: $*" >&2
    echo "--- the program's output:" >&2
    cat "$work/app.log" >&2 || true
    for host in sima simb simc watcha watchb; do
        echo "--- $host:" >&2
        cat "$work/$host.log" "$work/$host.json" >&2 || true
    done
    exit 1
}
wait_for() { # SECONDS FILE PATTERN
    for _ in $(seq $(($1 * 10))); do grep -q "$3" "$2" 2>/dev/null && return 0; sleep 0.1; done
    return 1
}

# Every datagram each network carries, one line "SENDER LENGTH".
for host in watcha watchb; do
    "$netlab" exec "$E2E_LAB" "$host" python3 "$root/tests/watch-datagrams.py" \
        "$work/$host.log" "$work/$host.hex" >"$work/$host.ready" &
    pids+=($!)
    wait_for 5 "$work/$host.ready" ready || fail "the watcher on $host did not start"
done
tool_a=$("$netlab" addr "$E2E_LAB" tool)
tool_b=10.78.${tool_a#10.77.}
# sent WATCHER LENGTH: how many datagrams of that length the tool sent there
sent() {
    local address=$tool_a
    [[ $1 == watchb ]] && address=$tool_b
    grep -c "^$address $2\$" "$work/$1.log" || true
}
expect_sent() { # WATCHER LENGTH COUNT WHAT
    for _ in $(seq 30); do [[ $(sent "$1" "$2") -eq $3 ]] && return 0; sleep 0.1; done
    fail "$1 heard $(sent "$1" "$2") $4 from the program, not $3"
}

# Converters answering 0, 300 and 600 ms after the probe.
delay=0 mac=1
for host in sima simb simc; do
    "$netlab" exec "$E2E_LAB" "$host" "$sim" --state "$work/$host.json" \
        --base-address "$("$netlab" addr "$E2E_LAB" "$host")" --base-mac "02AB0000E00$mac" \
        --delay "$delay" >"$work/$host.log" &
    pids+=($!)
    wait_for 5 "$work/$host.log" ready || fail "the simulator on $host did not start"
    delay=$((delay + 300)) mac=$((mac + 1))
done

# The window journals every Configure in the platform's state folder.
export XDG_STATE_HOME=$work/state
"$@" >"$work/app.log" 2>&1 &
app=$!
pids+=($app)
window=$(find_window 90)
[[ -n "$window" ]] || fail "the window did not open within 90 s"
sleep 1
size=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ { print $2 }')
[[ "$size" == 720x380 ]] || fail "the window is $size, not 720x380"

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.4; }
type_baud_and_configure() { # RATE
    xdotool mousemove --window "$window" 620 269 click --repeat 3 1 # the baud rate field
    xdotool key --window "$window" ctrl+a BackSpace
    xdotool type --window "$window" --delay 30 "$1"
    sleep 0.3
    click 585 341 # Configure
}
state() { cat "$work/$1.json"; }
configured() { # HOST COUNT: the converter has taken COUNT frames
    wait_for 10 "$work/$1.json" "\"configureCount\": $2" || fail "$1 did not take frame $2"
}

click 73 301 # Search Device
for host in sima simb simc; do
    wait_for 10 "$work/$host.log" answered || fail "$host heard no probe"
done
sleep 1
expect_sent watcha 4 1 probes
expect_sent watchb 4 1 probes
click 230 98 # the second converter's row
type_baud_and_configure 38400
configured simb 1
state simb | grep -q '"baud": "38400"' || fail "simb did not get the typed baud rate"
for host in sima simc; do
    state "$host" | grep -q '"configureCount": 0' || fail "$host was configured, not simb"
done

click 375 301 # Factory Reset
click 585 341 # Configure
configured simb 2
for expected in '"lip": "192.168.1.8"' '"baud": "9600"' '"sport": "1234"' '"mode": 0'; do
    state simb | grep -q "$expected" || fail "after Factory Reset simb lacks $expected"
done

mkdir -p "$out"
import -window "$window" "$out/blackbox-en.png"
click 47 341 # the language button
sleep 0.5
import -window "$window" "$out/blackbox-zh.png"
changed=$(compare -metric AE "$out/blackbox-en.png" "$out/blackbox-zh.png" null: 2>&1 || true)
[[ "${changed%% *}" -gt 1000 ]] || fail "the language switch changed only $changed pixels"
click 585 341 # Configure, in Chinese
configured simb 3
expect_sent watcha 64 3 "configure frames"

click 230 130 # the third converter's row: simc, on network 1
type_baud_and_configure 57600
configured simc 1
state simc | grep -q '"baud": "57600"' || fail "simc did not get the typed baud rate"
expect_sent watchb 64 1 "configure frames"
sleep 0.5
expect_sent watcha 64 3 "configure frames"
state simb | grep -q '"configureCount": 3' || fail "simc's frame reached simb"

click 73 301 # Search Device, in Chinese
expect_sent watcha 4 2 probes
expect_sent watchb 4 2 probes

status=0
close_window "$wmclose" "$window" "$app" || status=$?
[[ $status -eq 0 ]] || fail "the program ended with status $status after closing its window (124: not at all)"
# Every frame the program sent, judged outside our code: OpenSSL decrypts it,
# a CRC of the judge's own checks it.
judged=$(cat "$work/watcha.hex" "$work/watchb.hex" >"$work/all.hex" &&
    python3 "$root/tests/judge-frames.py" "$work/all.hex" "$tool_a" "$tool_b") ||
    fail "a frame on the wire is wrong: $judged"
[[ $judged -eq 4 ]] || fail "the judge saw $judged configure frames, not 4"
if [[ -n "${BLACKBOX_CLI:-}" ]]; then
    history=$("$BLACKBOX_CLI" history --format csv --journal "$XDG_STATE_HOME/converter-config/journal.jsonl")
    [[ $(grep -c ',converter-config,02:AB:00:00:E0:02,sent,' <<<"$history") -ge 3 ]] &&
        grep -q ',converter-config,02:AB:00:00:E0:03,sent,,baud,115200,57600' <<<"$history" ||
        fail "the journal's history does not show the window's writes: $history"
fi
echo "blackbox: ok, pictures in $out"
