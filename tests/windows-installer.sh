#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix, inside the private
# network: a silent install puts the zip's files, the Start-menu shortcut,
# the "Apps & features" entry, the PATH entry and two firewall rules in place,
# and the installed converter-cli, started by name from PATH, finds the
# simulated converters on host sima; installing again leaves one of each;
# a silent uninstall takes everything away and leaves the rest of PATH as it
# was. Wine has no Windows Firewall: a stand-in netsh.exe records its calls.
# As an administrator deploying it would: an older build with other
# binaries is replaced file by file; a downgrade is refused (exit 4); with
# converter-cli running, an upgrade and an uninstall fail (exit 3) and change
# nothing; a second /D= folder moves the install; a copied uninstaller
# refuses (exit 8); a failing firewall rule fails the install (exit 7); the
# quiet uninstall with _?= waits until it is done. Each run's log is kept.
# Runs on host "tool" (through e2e.sh with E2E_HOSTS="tool sima:2").
#   windows-installer.sh SETUP_EXE CONVERTER_SIM WINDOWS_BUILD_DIR
set -euo pipefail
setup=$(realpath "$1") sim=$2 built=$(realpath "${3:-build-windows}")
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
# shellcheck source=wineprefix.sh
source "$root/tests/wineprefix.sh"
sim_pid=
cleanup() {
    [[ -n $sim_pid ]] && kill "$sim_pid" 2>/dev/null
    stop_wine
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fresh_prefix

folder="$drive/Program Files/converter-config"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Converter Configuration.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\converter-config'
path_before=$(path_value)

# The PATH helper round-trips PATH exactly and knows its folder in other
# spellings (added once, removed in any spelling). (Its refusal past Windows's limit of 32,767 characters is not
# played here: with a PATH that long every Wine program, reg.exe included,
# crashes as it starts.)
set_path() { # VALUE, as REG_EXPAND_SZ, through a .reg file (no shell quoting on the way)
    python3 - "$1" "$drive/path.reg" <<'PY'
import sys
value, out = sys.argv[1], sys.argv[2]
data = (value + "\0").encode("utf-16-le").hex(",")
open(out, "w", encoding="utf-16").write(
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment]\r\n"
    f'"Path"=hex(2):{data}\r\n')
PY
    "$wine" regedit /S 'C:\path.reg' || true # Wine's regedit may crash on leaving, the value set
}
helper="$built/installer/pathentry.exe"
ours='C:\Program Files\converter-config'
while IFS='|' read -r before added removed; do
    set_path "$before"
    "$wine" "$helper" add "$ours" >/dev/null 2>&1 || fail "pathentry add to '$before' failed"
    [[ $(path_value) == "$added" ]] || fail "pathentry add to '$before' gave '$(path_value)', not '$added'"
    "$wine" "$helper" remove "$ours" >/dev/null 2>&1 || fail "pathentry remove from '$added' failed"
    [[ $(path_value) == "$removed" ]] || fail "pathentry remove from '$added' gave '$(path_value)', not '$removed'"
done <<CASES
C:\A;C:\B;|C:\A;C:\B;$ours;|C:\A;C:\B;
C:\A;;C:\B|C:\A;;C:\B;$ours|C:\A;;C:\B
|$ours|
C:\A;%ProgramFiles%\converter-config|C:\A;%ProgramFiles%\converter-config|C:\A
"$ours";C:\A|"$ours";C:\A|C:\A
CASES
set_path "$path_before"
stop_wine
[[ $(path_value) == "$path_before" ]] || fail "PATH could not be put back: $(path_value)"
echo "windows-installer: the PATH helper round-trips PATH exactly"
install() {
    "$wine" "$setup" /S
    stop_wine
}
check_installed() {
    local listed
    listed=$(cd "$folder" && ls | sort | tr '\n' ' ')
    [[ $listed == "GPL-3.txt LGPL-3.txt LICENSE.txt QT-LICENSE-NOTICE.txt README.md README.zh-CN.md convcfg.lua converter-cli.exe converter-config.exe converter-config.ico docs uninstall-worker.exe uninstall.exe " ]] ||
        fail "installed files: $listed"
    [[ -f $folder/docs/zh-CN/converter-cli.md ]] || fail "no Chinese guides"
    [[ -f $shortcut ]] || fail "no Start-menu shortcut"
    [[ $(reg_value "$key" DisplayName) == "Converter Configuration" ]] || fail "no Apps & features entry"
    [[ $(reg_value "$key" DisplayVersion) == 1.0.0 ]] || fail "DisplayVersion: $(reg_value "$key" DisplayVersion)"
    [[ $(reg_value "$key" QuietUninstallString) == '"C:\Program Files\converter-config\uninstall.exe" /S' ]] ||
        fail "QuietUninstallString: $(reg_value "$key" QuietUninstallString)"
    for value in Publisher DisplayIcon InstallLocation UninstallString EstimatedSize URLInfoAbout HelpLink; do
        [[ -n $(reg_value "$key" $value) ]] || fail "the entry has no $value"
    done
    [[ $(entries) -eq 1 ]] || fail "$(entries) Apps & features entries"
    [[ $(path_value) == "$path_before;C:\\Program Files\\converter-config" ]] ||
        fail "PATH is '$(path_value)', was '$path_before'"
    local want
    local about="description=Serial-to-Ethernet converters answer on UDP port 1500"
    want="action=allow $about dir=in enable=yes localport=1500 name=converter-cli profile=any program=C:/Program Files/converter-config/converter-cli.exe protocol=UDP
action=allow $about dir=in enable=yes localport=1500 name=converter-config profile=any program=C:/Program Files/converter-config/converter-config.exe protocol=UDP"
    [[ $(rules) == "$want" ]] || fail "firewall rules: $(rules)"
    "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\converter-cli.exe' /ve 2>/dev/null |
        grep -qF "$(reg_value "$key" InstallLocation)\converter-cli.exe" || fail "no App Paths entry for converter-cli"
}

# An older build, with other binaries: the newer one replaces every file.
stage=$(ls -d "$built"/zip/converter-config-*-windows-x64)
cp -r "$stage" "$work/old-stage"
for f in "$work/old-stage"/*.exe "$work/old-stage/README.md"; do printf 'older build' >>"$f"; done
makensis -V1 -DVERSION=0.9.0 -DSTAGE="$work/old-stage" -DOUTFILE="$work/old-setup.exe" \
    -DICON="$root/resources/ico/log.ico" -DLICENSE="$built/installer/licence.txt" \
    -DPATHENTRY="$built/installer/pathentry.exe" -DUNINSTALLWAIT="$built/installer/uninstall.exe" \
    "$root/packaging/windows/installer.nsi"
"$wine" "$work/old-setup.exe" /S
stop_wine
[[ $(reg_value "$key" DisplayVersion) == 0.9.0 ]] || fail "the older build did not install"
install
check_installed
for f in "$stage"/*; do
    [[ -d $f ]] || cmp -s "$f" "$folder/$(basename "$f")" || fail "$(basename "$f") is still the older build's"
done
echo "windows-installer: an older build replaced file by file: files, shortcut, entry, PATH, two firewall rules"

# Silent runs end with an exit code of their own on every failure.
status=0
"$wine" "$work/old-setup.exe" /S || status=$?
stop_wine
[[ $status -eq 4 && $(reg_value "$key" DisplayVersion) == 1.0.0 ]] ||
    fail "a downgrade ended with $status and left version $(reg_value "$key" DisplayVersion)"
echo "windows-installer: a downgrade is refused (exit 4)"

# converter-cli running from the install: upgrade and uninstall fail, nothing changed.
"$wine" "$folder/converter-cli.exe" search --timeout 30000 >/dev/null 2>&1 &
running=$!
sleep 3
before=$(cd "$folder" && sha256sum ./*.exe | sha256sum)
status=0
"$wine" "$setup" /S || status=$?
[[ $status -eq 3 ]] || fail "with the program running, the upgrade ended with $status, not 3"
status=0
quiet_uninstall || status=$?
[[ $status -eq 3 ]] || fail "with the program running, the uninstall ended with $status, not 3"
# The registered commands, as a deployment tool runs them, wait for the
# real uninstall and return its status (no waiting for Wine here).
quiet=$(reg_value "$key" QuietUninstallString)
plain=$(reg_value "$key" UninstallString)
for command in "$quiet" "$plain /S"; do
    status=0
    run_raw "$command" || status=$?
    [[ $status -eq 3 ]] || fail "with the program running, '$command' ended with $status, not 3"
    [[ -f $folder/uninstall.exe ]] || fail "'$command' did not put uninstall.exe back"
done
[[ $(cd "$folder" && sha256sum ./*.exe | sha256sum) == "$before" ]] || fail "a file changed while the program ran"
kill "$running" 2>/dev/null || true
stop_wine
check_installed
grep -q "running: converter-cli.exe" "$drive/users/root/Temp/converter-config-setup.log" 2>/dev/null ||
    grep -rqs "running: converter-cli.exe" "$drive/users" || fail "the log does not say what was running"
echo "windows-installer: with the program running, upgrade and uninstall fail (exit 3) and change nothing; the log says why"

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

# Another folder moves the install: one copy, one PATH entry, one entry.
"$wine" "$setup" /S '/D=C:\Tools\converter-config'
stop_wine
[[ ! -e $folder && -f "$drive/Tools/converter-config/converter-cli.exe" ]] || fail "the install did not move"
[[ $(reg_value "$key" InstallLocation) == 'C:\Tools\converter-config' && $(entries) -eq 1 ]] ||
    fail "after the move: $(reg_value "$key" InstallLocation), $(entries) entries"
[[ $(path_value) == "$path_before;C:\Tools\converter-config" ]] || fail "PATH after the move: $(path_value)"
# A copy of the uninstaller elsewhere refuses and touches nothing.
mkdir -p "$drive/Copy"
cp "$drive/Tools/converter-config/uninstall.exe" "$drive/Copy/"
: >"$drive/Copy/keep.txt"
status=0
"$wine" 'C:\Copy\uninstall.exe' /S '_?=C:\Copy' || status=$?
stop_wine
[[ $status -eq 8 && -e "$drive/Copy/keep.txt" && $(entries) -eq 1 ]] || fail "a copied uninstaller ended with $status"
cp "$setup" "$drive/setup.exe"
run_raw 'C:\setup.exe /S /D=C:\Program Files\converter-config'
stop_wine
check_installed
echo "windows-installer: a second folder moves the install; a copied uninstaller refuses (exit 8)"

# /D= naming a file: nothing installed there, exit 5.
: >"$drive/AFile"
status=0
"$wine" "$setup" /S '/D=C:\AFile' || status=$?
stop_wine
[[ $status -eq 5 && -f "$drive/AFile" && $(reg_value "$key" InstallLocation) == 'C:\Program Files\converter-config' ]] ||
    fail "/D= naming a file ended with $status"

# A firewall rule that cannot be added fails the install (exit 7).
: >"$drive/windows/netsh-fail"
status=0
"$wine" "$setup" /S || status=$?
stop_wine
rm -f "$drive/windows/netsh-fail"
[[ $status -eq 7 ]] || fail "a failing firewall rule ended with $status, not 7"
"$wine" "$setup" /S
stop_wine
check_installed
echo "windows-installer: a failing firewall rule fails the install (exit 7)"

# The documented quiet uninstall waits for the uninstaller itself (_?=),
# then removes the uninstaller and the folder; no waiting for Wine here.
quiet_uninstall
[[ $(entries) -eq 0 && ! -e "$folder/converter-cli.exe" ]] || fail "the quiet uninstall returned before it was done"
rm -f "$folder/uninstall.exe" "$folder/uninstall-worker.exe"
rmdir "$folder"
stop_wine
[[ ! -e $folder ]] || fail "left behind: $(ls -A "$folder")"
# The registered quiet uninstall returns when it is done, with nothing left.
install
status=0
run_raw "$(reg_value "$key" QuietUninstallString)" || status=$?
[[ $status -eq 0 ]] || fail "the registered quiet uninstall ended with $status"
[[ $(entries) -eq 0 && ! -e $folder ]] ||
    fail "the registered quiet uninstall returned before it was done: $(ls -A "$folder" 2>&1)"
stop_wine
[[ ! -e $folder ]] || fail "left behind: $(ls -A "$folder")"
[[ ! -e $shortcut ]] || fail "the shortcut is left"
[[ $(entries) -eq 0 ]] || fail "the Apps & features entry is left"
[[ $(path_value) == "$path_before" ]] || fail "PATH is '$(path_value)', was '$path_before'"
[[ -z $(rules) ]] || fail "firewall rules left: $(rules)"
echo "windows-installer: uninstalled: nothing left, PATH as before"

# On a Chinese system the installer speaks Chinese (language 2052, kept for
# the uninstaller); interactively it would offer the choice.
LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$wine" "$setup" /S
stop_wine
[[ $(reg_value "$key" InstallerLanguage) == 2052 ]] ||
    fail "on a Chinese system the installer's language is $(reg_value "$key" InstallerLanguage)"
# Its own messages are Chinese there too; a refused downgrade still ends with 4.
status=0
LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$wine" "$work/old-setup.exe" /S || status=$?
stop_wine
[[ $status -eq 4 ]] || fail "a downgrade on a Chinese system ended with $status"
quiet_uninstall
stop_wine
echo "windows-installer: on a Chinese system the installer runs in Chinese"
