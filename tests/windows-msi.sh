#!/usr/bin/env bash
# The Windows Installer package under Wine's msiexec, in a fresh prefix with
# the stand-in netsh: msiinfo shows the tables the build meant to write; a
# silent install puts the files, the shortcut, the Apps & features entry,
# one PATH entry (converter-cli found by name in a new shell) and two
# firewall rules in place; a package of a lower version made here is
# upgraded (one entry, one PATH entry, two rules) and then refused as a
# downgrade; removal by product code leaves nothing; INSTALLFOLDER puts it
# elsewhere and an upgrade without it stays there; an INSTALLFOLDER that is a
# file fails with 1603 and changes nothing; the package and the setup
# program each refuse where the other is installed. Wine reports an exit
# status modulo 256: 1603 arrives as 67.
#   windows-msi.sh MSI SETUP_EXE WINDOWS_BUILD_DIR      (in a private network)
set -euo pipefail
msi=$(realpath "$1") setup=$(realpath "$2") built=$(realpath "$3")
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=privatenet.sh
source "$root/tests/privatenet.sh"
require_private_network windows-msi
fail() { echo "windows-msi: $*" >&2; exit 1; }
version=$(sed -n 's/^project(ConverterConfig VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
stage=$built/zip/converter-config-$version-windows-x64

# The tables, as msiinfo reads them (it writes a table's streams into a
# folder where it runs: not in the work tree).
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
table() { (cd "$work" && msiinfo export "$msi" "$1") | tr -d '\r' | tail -n +4; }
[[ $(msiinfo suminfo "$msi" | tr -d '\r' | sed -n 's/^Template: //p') == "x64;1033" ]] || fail "not a 64-bit package"
[[ $(table Property | awk -F'\t' '$1 == "UpgradeCode" { print $2 }') == "{B9008236-0519-46C5-B2AC-9936AFDF5FC6}" ]] ||
    fail "UpgradeCode"
[[ $(table Property | awk -F'\t' '$1 == "ALLUSERS" { print $2 }') == 1 ]] || fail "not per-machine"
[[ $(table Property | awk -F'\t' '$1 == "ProductVersion" { print $2 }') == "$version" ]] || fail "ProductVersion"
actions=$(table InstallExecuteSequence | sort -t$'\t' -k3 -n | awk -F'\t' '{ print $1 }' | tr '\n' ' ')
for order in "InstallValidate RemoveExistingProducts InstallInitialize" \
    "InstallFiles .* FirewallAddConfig FirewallAddCli PathAdd .* InstallFinalize"; do
    [[ $actions =~ $order ]] || fail "sequence: $actions"
done
table CustomAction | grep -q $'^FirewallAddConfig\t3106\tINSTALLFOLDER\t"\\[System64Folder\\]netsh.exe" advfirewall firewall add rule name="converter-config"' ||
    fail "the firewall action: $(table CustomAction)"
[[ $(table Binary | cut -f1) == PathEntry ]] || fail "no PATH helper in the Binary table"
echo "windows-msi: tables as meant (${actions:0:60}...)"

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="netsh.exe=n,b;mscoree,mshtml="
wine=/usr/lib/wine/wine64
# shellcheck source=wineprefix.sh
source "$root/tests/wineprefix.sh"
trap 'stop_wine; rm -rf "$work"' EXIT
fresh_prefix
cp "$msi" "$drive/package.msi"
# A lower version from the same files, as an earlier release would be.
python3 "$root/scripts/make-msi.py" "$stage" "$built/installer/pathentry.exe" 0.9.0 "$drive/older.msi"
path_before=$(path_value)
msiexec() { # LOG ARGUMENTS...: the exit status; the log stays in C:\
    local log=$1 status=0
    shift
    "$wine" msiexec "$@" /qn /l*v "C:\\$log.log" || status=$?
    stop_wine
    return "$status"
}
said() { tr -d '\r' <"$drive/$1.log"; }
product_code() { table Property | awk -F'\t' '$1 == "ProductCode" { print $2 }'; }
expect_installed() { # FOLDER (Windows), FOLDER (here)
    local listed
    listed=$(cd "$2" && find . -type f | sort | tr '\n' ' ')
    [[ $listed == "$(cd "$stage" && find . -type f | sort | tr '\n' ' ')" ]] || fail "installed files: $listed"
    [[ $(entries converter-config) == 1 ]] || fail "$(entries converter-config) Apps & features entries"
    [[ $(path_value) == "$path_before;$1" ]] || fail "PATH: $(path_value)"
    [[ $(rules | grep -c 'program=') == 2 ]] || fail "rules: $(rules)"
    rules | grep -q "name=converter-cli.*program=${1//\\//}/converter-cli.exe" || fail "rules: $(rules)"
    find "$drive" -path '*Start Menu/Programs/converter-config/converter-config.lnk' | grep -q . ||
        fail "no Start-menu shortcut"
}
expect_removed() {
    [[ $(entries converter-config) == 0 ]] || fail "an Apps & features entry is left"
    [[ $(path_value) == "$path_before" ]] || fail "PATH after removal: $(path_value)"
    [[ -z $(rules) ]] || fail "rules left: $(rules)"
    [[ ! -e "$drive/Program Files/converter-config" && ! -e "$drive/Tools/cc" ]] || fail "files left"
    ! find "$drive" -path '*Start Menu/Programs/converter-config*' | grep -q . || fail "a shortcut is left"
    ! "$wine" reg query 'HKLM\Software\converter-config' >/dev/null 2>&1 || fail "its registry key is left"
    stop_wine
}

# Install, found by name in a new shell, and removal by product code.
msiexec install /i 'C:\package.msi' || fail "install ended with $?"
expect_installed 'C:\Program Files\converter-config' "$drive/Program Files/converter-config"
[[ $("$wine" cmd /c 'cd \ && converter-cli.exe --version' | tr -d '\r') == "converter-cli $version" ]] ||
    fail "converter-cli is not found by name"
stop_wine
msiexec remove /x "$(product_code)" || fail "removal ended with $?"
expect_removed
echo "windows-msi: installed, found by name, removed by product code: nothing left"

# A major upgrade, then a downgrade refused.
msiexec older /i 'C:\older.msi' || fail "the older package ended with $?"
msiexec upgrade /i 'C:\package.msi' || fail "the upgrade ended with $?"
expect_installed 'C:\Program Files\converter-config' "$drive/Program Files/converter-config"
status=0
msiexec downgrade /i 'C:\older.msi' || status=$?
[[ $status == $((1603 % 256)) ]] || fail "a downgrade ended with $status"
# Wine's msiexec logs which refusal ended it, though not its text.
said downgrade | grep -q 'RefuseDowngrade' ||
    fail "no downgrade refusal in the log: $(said downgrade | grep -E '^Action|NEWERFOUND' | head -20)"
expect_installed 'C:\Program Files\converter-config' "$drive/Program Files/converter-config"
msiexec remove2 /x "$(product_code)"
expect_removed
echo "windows-msi: upgraded from 0.9.0 (one entry, one PATH entry, two rules); downgrade refused"

# INSTALLFOLDER, remembered by an upgrade without it.
msiexec elsewhere /i 'C:\older.msi' 'INSTALLFOLDER=C:\Tools\cc' || fail "INSTALLFOLDER ended with $?"
msiexec elsewhere-upgrade /i 'C:\package.msi' || fail "the upgrade ended with $?"
expect_installed 'C:\Tools\cc' "$drive/Tools/cc"
msiexec remove3 /x "$(product_code)"
expect_removed
echo "windows-msi: INSTALLFOLDER used, and kept by an upgrade without it"

# A folder that is a file: 1603, and nothing changed.
: >"$drive/blocker"
calls_before=$(wc -l <"$drive/windows/netsh-calls.txt")
status=0
msiexec blocked /i 'C:\package.msi' 'INSTALLFOLDER=C:\blocker' || status=$?
[[ $status == $((1603 % 256)) ]] || fail "an INSTALLFOLDER that is a file ended with $status"
[[ $(wc -l <"$drive/windows/netsh-calls.txt") == "$calls_before" ]] || fail "netsh ran"
[[ -f "$drive/blocker" ]] || fail "the file was touched"
expect_removed
echo "windows-msi: an INSTALLFOLDER that is a file: 1603, nothing changed"

# The package and the setup program refuse where the other is installed.
status=0
"$wine" "$setup" /S || status=$?
stop_wine
[[ $status == 0 ]] || fail "the setup program ended with $status"
status=0
msiexec over-nsis /i 'C:\package.msi' || status=$?
[[ $status == $((1603 % 256)) ]] || fail "the package over the setup program ended with $status"
said over-nsis | grep -q 'RefuseOverSetup' || fail "no refusal over the setup program in the log"
quiet_uninstall || fail "the setup program's uninstaller ended with $?"
stop_wine
msiexec install2 /i 'C:\package.msi' ||
    fail "install after the setup program's removal ended with $?: $(said install2 | grep -E 'Refuse|NSISINSTALL|Return value 3' | head -5)"
status=0
"$wine" "$setup" /S || status=$?
stop_wine
[[ $status == 9 ]] || fail "the setup program over the package ended with $status"
echo "windows-msi: each installer refuses where the other is"
