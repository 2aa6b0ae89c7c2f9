#!/usr/bin/env bash
# The Windows window under Wine at 100, 125, 150 and 200 % display scaling:
# the form must be the 720 x 380 form scaled as a whole, and the program must
# still end with status 0 when its window is closed. Pictures in English and
# Chinese at 100 and 150 % go to OUT_DIR as en-100.png, zh-100.png, ...
#   windows-dpi.sh EXE WMCLOSE OUT_DIR      (WINEPREFIX set; in a private network)
set -euo pipefail
exe=$1 wmclose=$2 out=$3
wine=/usr/lib/wine/wine64
# shellcheck source=closewindow.sh
source "$(dirname "$0")/closewindow.sh"
# shellcheck source=privatenet.sh
source "$(dirname "$0")/privatenet.sh"
require_private_network windows-dpi
if [[ "${DPI_DISPLAY:-}" != 1 ]]; then
    exec env DPI_DISPLAY=1 xvfb-run -a -s "-screen 0 1800x1000x24 -nolisten tcp" "$0" "$@"
fi
fail() { echo "windows-dpi: $*" >&2; exit 1; }
# Wine opens sockets in its server: one must not be left from elsewhere.
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w 2>/dev/null || true
mkdir -p "$out"

for percent in 100 125 150 200; do
    dpi=$((96 * percent / 100))
    for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
        "$wine" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    done
    /usr/lib/wine/wineserver -w
    "$wine" "$exe" -platform windows:fontengine=freetype >"$out/app-$percent.log" 2>&1 &
    app=$!
    window=$(find_window 90)
    [[ -n "$window" ]] || fail "no window at $percent %"
    sleep 1
    size=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ { print $2 }')
    want="$((720 * percent / 100))x$((380 * percent / 100))"
    [[ "$size" == "$want" ]] || fail "at $percent % the window is $size, not $want"
    if [[ $percent == 100 || $percent == 150 ]]; then
        import -window "$window" "$out/en-$percent.png"
        xdotool mousemove --window "$window" $((47 * percent / 100)) $((341 * percent / 100)) click 1
        sleep 0.7
        import -window "$window" "$out/zh-$percent.png"
    fi
    status=0
    close_window "$wmclose" "$window" "$app" || status=$?
    [[ $status -eq 0 ]] || fail "at $percent % the program ended with status $status (124: not at all)"
    echo "windows-dpi: $percent % -> $size"
done
