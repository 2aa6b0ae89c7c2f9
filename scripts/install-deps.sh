#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the benchmarks
# need, and only when one of them is missing.
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    qtbase5-dev qttools5-dev qttools5-dev-tools # Qt 5.15: widgets, network, linguist tools
    libssl-dev                                  # tests and benchmarks only: an independent AES
    iproute2 util-linux                         # private network namespaces for tests and runs
    xvfb xauth x11-utils xdotool imagemagick    # the real window under a virtual display
    libxcb1-dev fonts-wqy-microhei              # start-up benchmark; Chinese texts on screen
    binutils-mingw-w64-x86-64                   # checks the Windows resource script
    python3                                     # end-to-end tests of converter-cli; icon drawing
    help2man dpkg-dev lintian man-db locales    # manual pages, the .deb and its checks
    desktop-file-utils appstream                # desktop entry and metadata checks
    chromium poppler-utils                      # the HTML report in a real browser, its PDF's text
    tshark lua5.2 lua5.4                        # the Wireshark dissector, read by tshark and Lua
)

# Further packages by what a target does (flags may be combined):
#   --fuzz         clang with its libFuzzer and sanitizer runtimes (make fuzz)
#   --windows      the MinGW compilers, what building Qt from Debian's source
#                  takes, the zip, NSIS for the installer, Wine to run the
#                  programs, icoutils to read their resources
#   --spreadsheet  a real spreadsheet program (make test-spreadsheet)
#   --ansible      Ansible, to build the collection (make package), its
#                  linter, and what ansible-test's sanity tests use
#   --ssh          sshd and ssh for the sites of make test-ansible
#   --qt6          Qt 6 beside Qt 5 (make build QT=6)
#   --debian13     mmdebstrap, to make a fresh Debian 13 root (make test-debian13)
for flag in "$@"; do
    case $flag in
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    --windows)
        packages+=(g++-mingw-w64-x86-64-posix dpkg-dev perl python3 zip wine64 icoutils nsis osslsigncode locales
            wixl msitools)
        zh_locale=1 ;;
    --spreadsheet) packages+=(libreoffice-calc-nogui) ;;
    --ansible) packages+=(ansible-core ansible-lint git python3-voluptuous pylint pycodestyle yamllint) ;;
    --ssh) packages+=(openssh-server openssh-client) ;;
    --qt6) packages+=(qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev) ;;
    --debian13) packages+=(mmdebstrap) ;;
    *) echo "install-deps: unknown flag $flag" >&2; exit 2 ;;
    esac
done

# Wine takes a Windows program's display language from the Unix locale,
# which must exist for the test of a Chinese Windows.
make_zh_locale() {
    [[ -n ${zh_locale:-} ]] || return 0
    locale -a 2>/dev/null | grep -qx 'zh_CN.utf8' && return 0
    echo "install-deps: making the locale zh_CN.UTF-8"
    "${sudo[@]}" localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
}
sudo=()
[[ $(id -u) -ne 0 ]] && command -v sudo >/dev/null && sudo=(sudo)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -eq 0 ]]; then
    make_zh_locale
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
if [[ $(id -u) -ne 0 && ${#sudo[@]} -eq 0 ]]; then
    echo "install-deps: missing packages (${missing[*]}) and not root; install them as root" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
# A package's service (sshd, for one) is not started on this machine: the
# tests start their own inside private networks.
policy=/usr/sbin/policy-rc.d
made_policy=
if [[ ! -e $policy ]]; then
    printf '#!/bin/sh\nexit 101\n' | "${sudo[@]}" tee "$policy" >/dev/null
    "${sudo[@]}" chmod 755 "$policy"
    made_policy=1
fi
status=0
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" || status=$?
[[ -n $made_policy ]] && "${sudo[@]}" rm -f "$policy"
[[ $status -eq 0 ]] && make_zh_locale
exit $status
