#!/usr/bin/env bash
# Signs a Windows program in place with osslsigncode when a certificate is
# given, and does nothing otherwise:
#   SIGN_PKCS12=cert.p12 [SIGN_PASSWORD=...] [SIGN_TIMESTAMP=URL] scripts/sign-windows.sh FILE
# The password goes to osslsigncode through a file only this user can read,
# never on a command line.
set -euo pipefail
[[ -n "${SIGN_PKCS12:-}" ]] || exit 0
file=$1
args=(sign -pkcs12 "$SIGN_PKCS12" -h sha256 -n "Converter Configuration"
    -i "https://example.org/converter-config")
secret=
if [[ -n "${SIGN_PASSWORD:-}" ]]; then
    secret=$(mktemp)
    chmod 600 "$secret"
    printf '%s' "$SIGN_PASSWORD" >"$secret"
    args+=(-readpass "$secret")
fi
trap '[[ -n "$secret" ]] && rm -f "$secret"; rm -f "$file.signed"' EXIT
[[ -n "${SIGN_TIMESTAMP:-}" ]] && args+=(-ts "$SIGN_TIMESTAMP")
osslsigncode "${args[@]}" -in "$file" -out "$file.signed" >/dev/null
mv "$file.signed" "$file"
