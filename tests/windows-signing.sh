#!/usr/bin/env bash
# Signing: with a throwaway certificate made here, the Windows build signs
# both programs, the installer and the uninstaller it writes, the Windows
# Installer package, and
# osslsigncode verifies every signature against that certificate's CA.
#   windows-signing.sh WINDOWS_BUILD_DIR    (in a private network)
set -euo pipefail
built=${1:-build-windows}
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=privatenet.sh
source "$root/tests/privatenet.sh"
require_private_network windows-signing
fail() { echo "windows-signing: $*" >&2; exit 1; }
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="netsh.exe=n,b;mscoree,mshtml="
wine=/usr/lib/wine/wine64
# shellcheck source=wineprefix.sh
source "$root/tests/wineprefix.sh"
trap 'stop_wine; rm -rf "$work"' EXIT

# A CA and a code-signing certificate under it, the key in a PKCS#12 file
# with a password.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/ca.key" -out "$work/ca.pem" -days 2 \
    -subj "/CN=Throwaway test CA" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout "$work/sign.key" -out "$work/sign.csr" \
    -subj "/CN=Converter Configuration test signer" 2>/dev/null
printf 'extendedKeyUsage=codeSigning\nkeyUsage=digitalSignature\n' >"$work/ext"
openssl x509 -req -in "$work/sign.csr" -CA "$work/ca.pem" -CAkey "$work/ca.key" -CAcreateserial \
    -out "$work/sign.pem" -days 2 -extfile "$work/ext" 2>/dev/null
openssl pkcs12 -export -inkey "$work/sign.key" -in "$work/sign.pem" -certfile "$work/ca.pem" \
    -out "$work/sign.p12" -passout pass:throwaway

DIST=$work/dist SIGN_PKCS12=$work/sign.p12 SIGN_PASSWORD=throwaway \
    "$root/scripts/build-windows.sh" "$built" >"$work/build.log" 2>&1 || fail "$(tail "$work/build.log")"
verify() { # FILE WHAT
    osslsigncode verify -CAfile "$work/ca.pem" -in "$1" >"$work/verify.log" 2>&1 &&
        grep -q "Signature verification: ok" "$work/verify.log" ||
        fail "$2 is not signed: $(tail -n 5 "$work/verify.log")"
}
(cd "$work" && unzip -q dist/converter-config-*-windows-x64.zip)
for exe in "$work"/converter-config-*-windows-x64/*.exe; do verify "$exe" "$(basename "$exe")"; done
setup=$(ls "$work"/dist/*-setup.exe)
verify "$setup" "the installer"
verify "$(ls "$work"/dist/*.msi)" "the Windows Installer package"

# The uninstaller exists once installed: install in a fresh prefix.
fresh_prefix
/usr/lib/wine/wine64 "$setup" /S || fail "the signed installer failed"
stop_wine
verify "$WINEPREFIX/drive_c/Program Files/converter-config/uninstall.exe" "the uninstaller"
verify "$WINEPREFIX/drive_c/Program Files/converter-config/uninstall-worker.exe" "the uninstaller proper"
echo "windows-signing: both programs, the installer, the uninstaller and the package are signed and verify"
