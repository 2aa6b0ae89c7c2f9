#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix, inside the private
# network: a silent install puts the zip's files, the Start-menu shortcut,
# the "Apps & features" entry, the PATH entry and two firewall rules in place,
# and the installed converter-cli, started by name from PATH, finds the
# simulated converters on host sima; installing again leaves one of each;
# a silent uninstall takes everything away and leaves the rest of PATH as it
# was. Wine has no Windows Firewall: a stand-in netsh.exe records its calls.
# Runs on host "tool" (through e2e.sh with E2E_HOSTS="tool sima:2").
#   windows-installer.sh SETUP_EXE CONVERTER_SIM
set -euo pipefail
setup=$(realpath "$1") sim=$2
root=$(cd "$(dirname "$0")/.." && pwd)
netlab=$root/scripts/netlab
: "${E2E_LAB:?run through tests/e2e.sh}"
# shellcheck source=privatenet.sh
source "$root/tests/privatenet.sh"
require_private_network windows-installer
fail() { echo "windows-installer: $*" >&2; exit 1; }

# PE checks: a 64-bit program with the version resource.
x86_64-w64-mingw32-objdump -f "$setup" | grep -q 'file format pei-x86-64' ||
    fail "the installer is not a 64-bit program"
version=$(wrestool -x --raw --type=16 "$setup" | python3 -c '
import struct, sys
data = sys.stdin.buffer.read()
at = data.index(struct.pack("<I", 0xFEEF04BD))
_, _, ms, ls = struct.unpack_from("<4I", data, at)
print("%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF))')
[[ $version == 1.0.0.0 ]] || fail "the installer's file version is $version"

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# Our netsh.exe rather than Wine's own; no Mono or Gecko prompts.
export WINEDLLOVERRIDES="netsh.exe=n,b;mscoree,mshtml="
wine=/usr/lib/wine/wine64
stop_wine() {
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -w 2>/dev/null || true
}
sim_pid=
cleanup() {
    [[ -n $sim_pid ]] && kill "$sim_pid" 2>/dev/null
    stop_wine
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
stop_wine
"$wine" wineboot --init >/dev/null 2>&1
stop_wine
drive=$WINEPREFIX/drive_c
x86_64-w64-mingw32-gcc -municode -O2 -o "$drive/windows/system32/netsh.exe" \
    "$root/tests/netsh-standin.c"

folder="$drive/Program Files/converter-config"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Converter Configuration.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\converter-config'
environment='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
reg_value() { "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'; }
path_value() { reg_value "$environment" Path; }
entries() { "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' | grep -c 'DisplayName.*Converter Configuration' || true; }
# The firewall rules that the recorded netsh calls leave, one line each.
rules() {
    python3 - "$drive/windows/netsh-calls.txt" <<'PY'
import re, shlex, sys
rules = {}
try:
    calls = open(sys.argv[1], encoding="utf-8").read().splitlines()
except FileNotFoundError:
    calls = []
for call in calls:
    words = shlex.split(call.replace("\\", "/"))
    args = dict(w.split("=", 1) for w in words if "=" in w)
    if words[1:5] == ["advfirewall", "firewall", "add", "rule"]:
        rules[args["name"]] = " ".join(f"{k}={v}" for k, v in sorted(args.items()))
    elif words[1:5] == ["advfirewall", "firewall", "delete", "rule"]:
        rules.pop(args["name"], None)
for rule in sorted(rules.values()):
    print(rule)
PY
}
path_before=$(path_value)

install() {
    "$wine" "$setup" /S
    stop_wine
}
check_installed() {
    local listed
    listed=$(cd "$folder" && ls | sort | tr '\n' ' ')
    [[ $listed == "GPL-3.txt LGPL-3.txt LICENSE.txt QT-LICENSE-NOTICE.txt README.md converter-cli.exe converter-config.exe docs uninstall.exe " ]] ||
        fail "installed files: $listed"
    [[ -f $shortcut ]] || fail "no Start-menu shortcut"
    [[ $(reg_value "$key" DisplayName) == "Converter Configuration" ]] || fail "no Apps & features entry"
    [[ $(reg_value "$key" DisplayVersion) == 1.0.0 ]] || fail "DisplayVersion: $(reg_value "$key" DisplayVersion)"
    [[ $(reg_value "$key" QuietUninstallString) == '"C:\Program Files\converter-config\uninstall.exe" /S' ]] ||
        fail "QuietUninstallString: $(reg_value "$key" QuietUninstallString)"
    for value in Publisher DisplayIcon InstallLocation UninstallString EstimatedSize; do
        [[ -n $(reg_value "$key" $value) ]] || fail "the entry has no $value"
    done
    [[ $(entries) -eq 1 ]] || fail "$(entries) Apps & features entries"
    [[ $(path_value) == "$path_before;C:\\Program Files\\converter-config" ]] ||
        fail "PATH is '$(path_value)', was '$path_before'"
    local want
    want="action=allow dir=in enable=yes localport=1500 name=converter-cli profile=any program=C:/Program Files/converter-config/converter-cli.exe protocol=UDP
action=allow dir=in enable=yes localport=1500 name=converter-config profile=any program=C:/Program Files/converter-config/converter-config.exe protocol=UDP"
    [[ $(rules) == "$want" ]] || fail "firewall rules: $(rules)"
}

install
check_installed
echo "windows-installer: installed: files, shortcut, entry, PATH, two firewall rules"

# The installed converter-cli, by name only, from a new Command Prompt.
: >"$work/sim.log"
"$netlab" exec "$E2E_LAB" sima "$sim" --state "$work/sims.json" --count 2 \
    --base-address "$("$netlab" addr "$E2E_LAB" sima)" >"$work/sim.log" &
sim_pid=$!
for _ in $(seq 50); do grep -q ready "$work/sim.log" && break; sleep 0.1; done
"$wine" cmd /c 'cd \ && converter-cli search --format json --timeout 1500' >"$work/found.json" ||
    fail "converter-cli from PATH failed: $(cat "$work/found.json")"
stop_wine
found=$(python3 -c 'import json, sys; print(len(json.load(open(sys.argv[1]))))' "$work/found.json")
[[ $found -eq 2 ]] || fail "converter-cli from PATH found $found converters: $(cat "$work/found.json")"
echo "windows-installer: converter-cli from PATH found $found converters"

install
check_installed
echo "windows-installer: installed again: still one entry, one PATH entry, two rules"

"$wine" "C:\\Program Files\\converter-config\\uninstall.exe" /S
# The uninstaller runs on from a copy of itself: wait for it to end.
/usr/lib/wine/wineserver -w
stop_wine
[[ ! -e $folder ]] || fail "left behind: $(ls -A "$folder")"
[[ ! -e $shortcut ]] || fail "the shortcut is left"
[[ $(entries) -eq 0 ]] || fail "the Apps & features entry is left"
[[ $(path_value) == "$path_before" ]] || fail "PATH is '$(path_value)', was '$path_before'"
[[ -z $(rules) ]] || fail "firewall rules left: $(rules)"
echo "windows-installer: uninstalled: nothing left, PATH as before"
