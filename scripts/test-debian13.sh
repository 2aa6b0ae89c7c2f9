#!/usr/bin/env bash
# make test and make test QT=6, each with CI=true, and the Qt 6 package's
# checks (make test-package QT=6) in a fresh Debian 13 root:
# mmdebstrap makes it (as root) in a temporary folder, the checkout (its
# tracked and new files, not its build folders) is copied in, and the root is
# removed after, whatever the outcome. Each stage's minutes are printed.
#   scripts/test-debian13.sh [MAKE-ARGUMENTS...]   (default: both runs)
set -euo pipefail
cd "$(dirname "$0")/.."
me=test-debian13
[[ $(id -u) -eq 0 ]] || { echo "$me: needs root (mmdebstrap, chroot, network namespaces)" >&2; exit 1; }
scripts/install-deps.sh --debian13

work=$(mktemp -d /var/tmp/debian13.XXXXXX)
root=$work/root
mounted() { # anything mounted at or under the root
    findmnt --list -n -o TARGET | grep -q -e "^$root\$" -e "^$root/"
}
cleanup() {
    # Innermost first; /dev is bound recursively and unbound the same way.
    local mount
    for mount in $(findmnt --list -n -o TARGET | grep -e "^$root\$" -e "^$root/" | sort -r); do
        umount "$mount" 2>/dev/null || umount -l "$mount" 2>/dev/null || true
    done
    # Never follow a mount that is still there into the machine's own files.
    if mounted; then
        echo "$me: $root is still mounted; left in place" >&2
    else
        rm -rf --one-file-system "$work"
    fi
}
trap cleanup EXIT

stages=()
stage() { # NAME COMMAND...: runs it and keeps its minutes
    local name=$1 start=$SECONDS status=0
    shift
    echo "$me: $name" >&2
    "$@" || status=$?
    stages+=("$(awk -v n="$name" -v s=$((SECONDS - start)) 'BEGIN { printf "%-28s %5.1f min", n, s / 60 }')")
    return $status
}
report() {
    echo "$me: minutes per stage" >&2
    printf '  %s\n' "${stages[@]}" >&2
}
trap 'report; cleanup' EXIT

stage "mmdebstrap trixie" \
    mmdebstrap --quiet --variant=apt --include=git,make,ca-certificates trixie "$root"
mkdir -p "$root/src"
git ls-files -z --cached --others --exclude-standard | tar --null -T - -cf - | tar -C "$root/src" -xf -
cp /etc/resolv.conf "$root/etc/resolv.conf"
# A mount point of its own: ip netns exec remounts / inside the root.
mount --bind "$root" "$root"
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
mount -t tmpfs tmpfs "$root/run"

inside() {
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        CI=true bash -c "cd /src && $*"
}
if [[ $# -gt 0 ]]; then
    stage "make $*" inside make "$@"
else
    stage "make test (Qt 5)" inside make test
    stage "make test QT=6" inside make test QT=6
    # The Qt 6 package: lintian, then installed, run and purged in a
    # disposable root over this one.
    stage "make test-package QT=6" inside make test-package QT=6
fi
