#!/usr/bin/env bash
# Reads back what Windows sees of the built programs: the window is a
# GUI-subsystem program with Qt's WinMain entry, the icon group IDI_ICON1 and
# version 1.0.0.0; the command-line program is a console program; neither
# imports a DLL that Windows lacks.
#   check-windows-exe.sh BIN_DIR
set -euo pipefail
bin=$1
fail() { echo "windows exe: $*" >&2; exit 1; }
objdump=x86_64-w64-mingw32-objdump

# DLLs of every Windows installation: no MinGW runtime, no Qt DLL.
system_dlls=" msvcrt advapi32 dwmapi gdi32 imm32 iphlpapi kernel32 netapi32 ole32 oleaut32 "
system_dlls+="shell32 user32 userenv uxtheme version winmm ws2_32 wtsapi32 comdlg32 crypt32 "
for exe in converter-config converter-cli; do
    file=$bin/$exe.exe
    [[ -f $file ]] || fail "$file is missing"
    for dll in $("$objdump" -p "$file" | awk '/DLL Name:/ { print tolower($3) }'); do
        [[ "$system_dlls" == *" ${dll%.dll} "* ]] || fail "$exe.exe imports $dll, which Windows lacks"
    done
done
[[ "$("$objdump" -p "$bin/converter-config.exe")" == *$'Subsystem\t\t00000002\t(Windows GUI)'* ]] ||
    fail "converter-config.exe is not a GUI-subsystem program"
[[ "$("$objdump" -p "$bin/converter-cli.exe")" == *$'Subsystem\t\t00000003\t(Windows CUI)'* ]] ||
    fail "converter-cli.exe is not a console program"
# Qt's WinMain, which splits the command line and calls main.
cat "$bin"/../app/CMakeFiles/converter-config.dir/link*.txt "$bin"/../app/CMakeFiles/converter-config.dir/*.rsp 2>/dev/null | grep -q libqtmain ||
    fail "converter-config.exe is not linked with Qt's WinMain"
# The ICO reader: without it the search button has no icon.
cat "$bin"/../app/CMakeFiles/converter-config.dir/link*.txt "$bin"/../app/CMakeFiles/converter-config.dir/*.rsp 2>/dev/null | grep -q libqico ||
    fail "converter-config.exe lacks Qt's ICO reader, so the search button has no icon"

resources=$(wrestool -l "$bin/converter-config.exe")
grep -q -- "--type=14 --name='IDI_ICON1'" <<<"$resources" || fail "no icon group IDI_ICON1"
grep -q -- "--type=16" <<<"$resources" || fail "no version resource"
# VS_FIXEDFILEINFO: signature 0xFEEF04BD, then file and product version.
versions=$(wrestool -x --raw --type=16 "$bin/converter-config.exe" | python3 -c '
import struct, sys
data = sys.stdin.buffer.read()
at = data.index(struct.pack("<I", 0xFEEF04BD))
_, _, fms, fls, pms, pls = struct.unpack_from("<6I", data, at)
v = lambda ms, ls: "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
print(v(fms, fls), v(pms, pls))')
[[ "$versions" == "1.0.0.0 1.0.0.0" ]] || fail "file and product version are $versions, not 1.0.0.0"
# The icon group's image is the one the window shows.
icon=$(mktemp)
trap 'rm -f "$icon"' EXIT
wrestool -x --type=14 --name=IDI_ICON1 "$bin/converter-config.exe" >"$icon"
group=$(od -An -tu2 -N6 "$icon" | xargs)
[[ "$group" == "0 1 1" ]] || fail "IDI_ICON1 is not a group of one icon image: $group"
echo "windows exe: ok (GUI and console subsystems, system DLLs only, IDI_ICON1, version 1.0.0.0)"
