#!/usr/bin/env bash
# Builds the .deb and checks it: lintian finds no error; it installs with
# apt-get into a disposable root (an overlay over / in a mount namespace of
# its own, so the machine itself is not changed); the installed programs
# start (the window offscreen, inside a private network); and it removes
# cleanly, leaving none of its files behind.
#   scripts/test-package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[[ $(id -u) -eq 0 ]] || { echo "test-package: the disposable root needs root" >&2; exit 1; }

(cd "$build" && umask 022 && cpack >/dev/null)
deb=$(ls "$build"/converter-config_*_amd64.deb)
echo "test-package: $deb"
lintian --fail-on error "$deb" 2>"$build/lintian.err" || {
    cat "$build/lintian.err" >&2
    echo "test-package: lintian found errors" >&2
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$deb" "$work/package.deb"
cat >"$work/inside.sh" <<'INSIDE'
set -euo pipefail
root=$1
mkdir -p "$root/upper" "$root/work" "$root/merged"
mount -t overlay overlay -o "lowerdir=/,upperdir=$root/upper,workdir=$root/work" "$root/merged"
for dir in proc sys dev dev/pts; do mount --rbind "/$dir" "$root/merged/$dir"; done
mount -t tmpfs tmpfs "$root/merged/tmp"
cp "$root/package.deb" "$root/merged/tmp/converter-config_1.0.0_amd64.deb"
chroot "$root/merged" /bin/bash -euo pipefail -c '
    export DEBIAN_FRONTEND=noninteractive
    cd /tmp
    apt-get install -y -q ./converter-config_1.0.0_amd64.deb >/tmp/install.log 2>&1 ||
        { cat /tmp/install.log; exit 1; }
    files=$(dpkg -L converter-config | while read -r f; do [[ -f $f ]] && echo "$f"; done)
    echo "installed: $(echo "$files" | wc -l) files"
    [[ $(converter-cli --version) == "converter-cli 1.0.0" ]] || { echo "converter-cli did not run"; exit 1; }
    # The manual pages render, with what each program is about.
    for page in converter-cli:--dry-run converter-config:converter; do
        MANWIDTH=80 man -l "/usr/share/man/man1/${page%%:*}.1.gz" 2>/dev/null | grep -q -- "${page#*:}" ||
            { echo "the manual page of ${page%%:*} does not render"; exit 1; }
    done
    echo "manual pages render"
    # On a Chinese system man finds the Chinese pages (the locale is made in
    # this disposable root only).
    localedef -i zh_CN -f UTF-8 zh_CN.UTF-8 2>/dev/null
    for page in converter-cli:退出状态 converter-config:搜索设备; do
        LANG=zh_CN.UTF-8 MANWIDTH=80 man "${page%%:*}" 2>/dev/null | grep -q -- "${page#*:}" ||
            { echo "the Chinese manual page of ${page%%:*} does not render"; exit 1; }
    done
    echo "Chinese manual pages render"
    [[ -f /usr/lib/x86_64-linux-gnu/wireshark/plugins/convcfg.lua ]] ||
        { echo "the Wireshark dissector is not where Wireshark looks"; exit 1; }
    echo "the Wireshark dissector is in the plugin folder"
    # The window in a private network of its own, offscreen: still running
    # when stopped after two seconds (status 124), not ended at once.
    status=0
    unshare --net bash -c "ip link set lo up; QT_QPA_PLATFORM=offscreen timeout 2 converter-config" ||
        status=$?
    [[ $status -eq 124 ]] || { echo "converter-config did not start (status $status)"; exit 1; }
    echo "converter-config: started and ran until stopped"
    apt-get remove -y -q --purge converter-config >/dev/null
    for f in $files; do [[ ! -e $f ]] || { echo "left behind: $f"; exit 1; }; done
    ! dpkg -s converter-config >/dev/null 2>&1 || { echo "still registered"; exit 1; }
    echo "removed cleanly"
'
INSIDE
unshare --mount --propagation private bash "$work/inside.sh" "$work"
[[ ! -e /usr/bin/converter-cli || -n "$(dpkg -S /usr/bin/converter-cli 2>/dev/null)" ]] &&
    ! dpkg -s converter-config >/dev/null 2>&1 || { echo "test-package: the machine was changed" >&2; exit 1; }
echo "test-package: passed"
