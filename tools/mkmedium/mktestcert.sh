#!/usr/bin/env bash
# Makes a throwaway self-signed code-signing certificate for testing
# mkmedium --sign-pkcs12: a signature made with it proves nothing about who
# made the program, and Windows trusts it nowhere. Never sign a medium that
# leaves the building with it.
#
#   DIR/test-signer.p12    the certificate and its private key
#   DIR/test-signer.pass   the PKCS#12 file's password
#   DIR/test-signer.pem    the certificate alone, to verify against
#
# usage: mktestcert.sh DIR
set -eu
[ $# = 1 ] || { echo "usage: $(basename "$0") DIR" >&2; exit 2; }
dir=$1
command -v openssl >/dev/null || { echo "$(basename "$0"): needs openssl" >&2; exit 1; }
mkdir -p "$dir"
key=$(mktemp "$dir/.key.XXXXXX")
trap 'rm -f "$key"' EXIT

openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -keyout "$key" -out "$dir/test-signer.pem" \
    -subj "/CN=The Vellmor test signer (testing only)" \
    -addext "extendedKeyUsage=codeSigning" 2>/dev/null
openssl rand -hex 16 >"$dir/test-signer.pass"
openssl pkcs12 -export -inkey "$key" -in "$dir/test-signer.pem" -out "$dir/test-signer.p12" \
    -passout "file:$dir/test-signer.pass"
chmod 600 "$dir/test-signer.p12" "$dir/test-signer.pass"
