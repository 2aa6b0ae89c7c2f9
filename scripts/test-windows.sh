#!/usr/bin/env bash
# The Windows programs, tested like the Linux ones: the PE checks, the same
# black-box scenario as on Linux under Wine and Xvfb in a private network
# with simulated converters, the form at four display scalings,
# converter-cli.exe on two adapters, and the installer in a fresh prefix.
# Pictures go to BUILD/screenshots/.
#   scripts/test-windows.sh [LINUX_BUILD] [WINDOWS_BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${1:-build}
windows=${2:-build-windows}
[[ -x /usr/lib/wine/wine64 ]] || { echo "test-windows: wine64 is missing" >&2; exit 1; }

scripts/build-windows.sh "$windows"
tests/check-windows-exe.sh "$windows/bin"

export WINEPREFIX=$PWD/$windows/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine creates a program's sockets in its server process, so a server left
# running from one step would carry the next step's traffic in its own
# network namespace (for the set-up below, the machine's). Every step that
# runs a Windows program starts with no server, and its first program starts
# one inside the step's private network.
stop_wine() {
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -w 2>/dev/null || true
}
trap stop_wine EXIT
stop_wine
[[ -f "$WINEPREFIX/system.reg" ]] || /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
    /usr/lib/wine/wine64 reg add "$key" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
done
stop_wine

shots=$windows/screenshots
mkdir -p "$shots"
quiet() { grep -v 'XGetInputFocus returned' || true; }
E2E_HOSTS="tool@0,1 sima simb simc@1 watcha watchb@1" \
    tests/e2e.sh tests/blackbox.sh "$shots" "$linux/bin/converter-sim" "$linux/bin/wmclose" \
    /usr/lib/wine/wine64 "$windows/bin/converter-config.exe" -platform windows:fontengine=freetype \
    2>&1 | quiet
stop_wine
scripts/netns-run.sh tests/windows-dpi.sh "$windows/bin/converter-config.exe" \
    "$linux/bin/wmclose" "$shots" 2>&1 | quiet
stop_wine
E2E_HOSTS="tool@0,1 sima:3 simb@1" tests/e2e.sh tests/windows-cli.sh "$windows/bin/converter-cli.exe" "$linux/bin/converter-sim"
stop_wine
version=$(sed -n 's/^project(ConverterConfig VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
scripts/netns-run.sh tests/windows-msi.sh "dist/converter-config-$version-windows-x64.msi" \
    "dist/converter-config-$version-windows-x64-setup.exe" "$windows"
stop_wine
E2E_HOSTS="tool sima:2" tests/e2e.sh tests/windows-installer.sh \
    "dist/converter-config-$version-windows-x64-setup.exe" "$linux/bin/converter-sim" "$windows"
stop_wine
scripts/netns-run.sh tests/windows-signing.sh "$windows"
# The unsigned build again, as the other targets expect it.
scripts/build-windows.sh "$windows" >/dev/null
echo "test-windows: passed; pictures in $shots"
