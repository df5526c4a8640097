#!/usr/bin/env bash
# A signed release, in a prefix of its own:  release_signing.sh RELEASE_OPTIONS...
# (release.sh's options, less the output folder)
# With a throwaway certificate authority and code-signing certificate: the
# exes and the MSI verify against that authority (and not against the
# system's), stripping an exe's signature gives back the unsigned exe, the
# signed MSI installs and the signed exe starts. A missing file, a wrong
# password, a certificate not made for code signing and a failing time-stamp
# server are each refused, with no release folder left behind.
RELEASE_OPTIONS=("$@")

. "$GLIMMER_SOURCE/tests/wine/own_prefix.sh" signing

RELEASE=$GLIMMER_SOURCE/tools/release/release.sh
PKI=$TEST_OUT/pki
mkdir -p "$PKI"

# ---- A certificate authority, and two certificates it issues: one for code
# signing, one for a web server. Each in a PKCS#12 file with a password.
# The serial goes on the command line: OpenSSL's tools name a serial file in
# a buffer of 256 bytes, too short beside ca.pem in a deep checkout.
# issue NAME EXTENDED_KEY_USAGE SERIAL
issue() {
  openssl req -newkey rsa:2048 -nodes -keyout "$PKI/$1.key" -out "$PKI/$1.csr" -subj "/CN=Glimmerdot test $1" &&
    openssl x509 -req -in "$PKI/$1.csr" -CA "$PKI/ca.pem" -CAkey "$PKI/ca.key" -set_serial "$3" -days 2 \
      -out "$PKI/$1.pem" -extfile <(printf '%s\n' basicConstraints=CA:FALSE keyUsage=critical,digitalSignature \
        "extendedKeyUsage=$2") &&
    openssl pkcs12 -export -inkey "$PKI/$1.key" -in "$PKI/$1.pem" -certfile "$PKI/ca.pem" \
      -out "$PKI/$1.p12" -passout pass:test-secret
}
{
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$PKI/ca.key" -out "$PKI/ca.pem" -days 2 \
    -subj "/CN=Glimmerdot test CA" -addext basicConstraints=critical,CA:TRUE \
    -addext keyUsage=critical,keyCertSign,cRLSign &&
    issue signer codeSigning 1 && issue server serverAuth 2
} >"$PKI/openssl.log" 2>&1 || fail "making the test certificates: $(tail -n 5 "$PKI/openssl.log")"

# release_with NAME [ENV...]: a release into $TEST_OUT/NAME, its output in NAME.log.
release_with() {
  local name=$1
  shift
  env -u GLIMMER_SIGN_PKCS12 -u GLIMMER_SIGN_PASSWORD -u GLIMMER_SIGN_TIMESTAMP_URL "$@" \
    bash "$RELEASE" "${RELEASE_OPTIONS[@]}" "$TEST_OUT/$name" >"$TEST_OUT/$name.log" 2>&1
}
SIGNER=(GLIMMER_SIGN_PKCS12="$PKI/signer.p12" GLIMMER_SIGN_PASSWORD=test-secret)

release_with unsigned || fail "the unsigned release: $(cat "$TEST_OUT/unsigned.log")"
release_with signed "${SIGNER[@]}" || fail "the signed release: $(cat "$TEST_OUT/signed.log")"
grep -q "signed by .*Glimmerdot test signer" "$TEST_OUT/signed.log" ||
  fail "the signed release does not say who signed it: $(cat "$TEST_OUT/signed.log")"
(cd "$TEST_OUT/signed" && sha256sum --quiet -c SHA256SUMS) || fail "the signed release's SHA256SUMS does not check"
for side in unsigned signed; do
  python3 -m zipfile -e "$TEST_OUT/$side"/*.zip "$TEST_OUT/$side/unpacked"
done

# ---- Each signature verifies against the test authority only.
MSI=$(echo "$TEST_OUT/signed"/*.msi)
signed_files=("$TEST_OUT/signed/unpacked"/*.exe "$MSI")
for file in "${signed_files[@]}"; do
  osslsigncode verify -CAfile "$PKI/ca.pem" -in "$file" >"$TEST_OUT/verify.log" 2>&1 ||
    fail "${file##*/} does not verify against the test authority: $(tail -n 5 "$TEST_OUT/verify.log")"
  osslsigncode verify -CAfile /etc/ssl/certs/ca-certificates.crt -in "$file" >/dev/null 2>&1 &&
    fail "${file##*/} verifies against the system's authorities too"
done

# ---- Without its signature, a signed exe is the unsigned one, byte for byte.
for exe in "$TEST_OUT/unsigned/unpacked"/*.exe; do
  name=${exe##*/}
  cmp -s "$exe" "$TEST_OUT/signed/unpacked/$name" && fail "$name in the signed release is not signed"
  osslsigncode remove-signature -in "$TEST_OUT/signed/unpacked/$name" -out "$TEST_OUT/$name.stripped" \
    >"$TEST_OUT/strip.log" 2>&1 || fail "removing the signature of $name: $(cat "$TEST_OUT/strip.log")"
  cmp "$exe" "$TEST_OUT/$name.stripped" >&2 || fail "$name without its signature is not the unsigned $name"
done

# ---- Bad signing inputs: refused, said why, and the release folder of an
# earlier run gone too.
# refused WHAT EXPECTED_MESSAGE ENV...
refused() {
  local what=$1 message=$2
  shift 2
  rm -rf "$TEST_OUT/bad"
  cp -r "$TEST_OUT/signed" "$TEST_OUT/bad" || fail "copying a release to be replaced"
  release_with bad "$@" && fail "a release with $what succeeded"
  grep -q "$message" "$TEST_OUT/bad.log" || fail "with $what, no '$message' in: $(cat "$TEST_OUT/bad.log")"
  local left
  for left in "$TEST_OUT"/bad "$TEST_OUT"/bad.partial.*; do
    [[ ! -e $left ]] || fail "with $what, a release folder was left: $left"
  done
}
refused "a missing file" "no readable file" GLIMMER_SIGN_PKCS12="$PKI/missing.p12" GLIMMER_SIGN_PASSWORD=test-secret
refused "a wrong password" "wrong password" GLIMMER_SIGN_PKCS12="$PKI/signer.p12" GLIMMER_SIGN_PASSWORD=wrong
refused "a web server's certificate" "not for code signing" \
  GLIMMER_SIGN_PKCS12="$PKI/server.p12" GLIMMER_SIGN_PASSWORD=test-secret
# Passes every check, then fails while signing: the half-made folder goes.
refused "a time-stamp server that does not answer" "signing Glimmerdot.exe failed" \
  "${SIGNER[@]}" GLIMMER_SIGN_TIMESTAMP_URL=http://127.0.0.1:9/

# ---- The signed MSI installs; the signed exe starts from where it went.
INSTALL_DIR=$WINEPREFIX/drive_c/Program\ Files/Glimmerdot
wine_run 300 msiexec /i "$(windows_copy "$MSI")" /qn || fail "installing the signed MSI failed"
cmp -s "$INSTALL_DIR/Glimmerdot.exe" "$TEST_OUT/signed/unpacked/Glimmerdot.exe" ||
  fail "the installed Glimmerdot.exe is not the signed one"
app_start "$INSTALL_DIR/Glimmerdot.exe"
app_ended click 2

pass "signed release verified, signatures strip to the unsigned exes, bad inputs refused, signed MSI installs and its exe starts"
