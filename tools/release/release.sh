#!/usr/bin/env bash
# The release folder: the zip, the MSI and SHA256SUMS.
#   release.sh --source DIR --publisher NAME --version V --epoch SECONDS --program EXE... OUT_DIR
# Signs when GLIMMER_SIGN_PKCS12 names a PKCS#12 file (GLIMMER_SIGN_PASSWORD its
# password, GLIMMER_SIGN_TIMESTAMP_URL an optional RFC 3161 time-stamp server):
# the exes before they are packed, then the MSI. The folder is made beside
# OUT_DIR and moved into place only when all of it is done; an old OUT_DIR is
# removed before anything is checked, so a refused or failed run leaves none.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
fail() { echo "release: $*" >&2; exit 1; }

. "$here/options.sh"
release_options "$@" ||
  fail "usage: release.sh --source DIR --publisher NAME --version V --epoch SECONDS --program EXE... OUT_DIR"
name=Glimmerdot-$version-win32
# An old release must not pass for the outcome of this run.
rm -rf "$out"

work=$(mktemp -d)
partial=
trap 'rm -rf "$work" ${partial:+"$partial"}' EXIT

# ---- Signing: every input checked before anything is made.
signing=()
if [[ -n ${GLIMMER_SIGN_PKCS12:-} ]]; then
  pkcs12=$GLIMMER_SIGN_PKCS12
  [[ -f $pkcs12 && -r $pkcs12 ]] || fail "GLIMMER_SIGN_PKCS12: no readable file '$pkcs12'"
  export GLIMMER_SIGN_PASSWORD=${GLIMMER_SIGN_PASSWORD:-}
  # Older PKCS#12 files use ciphers OpenSSL 3 keeps in its legacy provider.
  openssl pkcs12 -in "$pkcs12" -passin env:GLIMMER_SIGN_PASSWORD -nokeys -clcerts -out "$work/cert.pem" 2>/dev/null ||
    openssl pkcs12 -legacy -in "$pkcs12" -passin env:GLIMMER_SIGN_PASSWORD -nokeys -clcerts \
      -out "$work/cert.pem" 2>/dev/null ||
    fail "cannot open '$pkcs12' with GLIMMER_SIGN_PASSWORD (wrong password, or not a PKCS#12 file)"
  grep -q 'BEGIN CERTIFICATE' "$work/cert.pem" || fail "'$pkcs12' holds no certificate for its key"
  extensions=$(openssl x509 -in "$work/cert.pem" -noout -ext extendedKeyUsage,keyUsage 2>/dev/null)
  subject=$(openssl x509 -in "$work/cert.pem" -noout -subject -nameopt oneline)
  subject=${subject#subject=}
  # Windows takes a certificate without extended key usage as good for any.
  if grep -q 'Extended Key Usage' <<<"$extensions" && ! grep -q 'Code Signing' <<<"$extensions"; then
    fail "the certificate in '$pkcs12' ($subject) is not for code signing: $(tr -s ' \n' ' ' <<<"$extensions")"
  fi
  if grep -q 'X509v3 Key Usage' <<<"$extensions" && ! grep -q 'Digital Signature' <<<"$extensions"; then
    fail "the certificate in '$pkcs12' ($subject) may not make digital signatures"
  fi
  openssl x509 -in "$work/cert.pem" -noout -checkend 0 >/dev/null ||
    fail "the certificate in '$pkcs12' ($subject) has expired"
  # The password goes to osslsigncode in a file, not on its command line.
  (umask 077 && printf '%s' "$GLIMMER_SIGN_PASSWORD" >"$work/password")
  signing=(osslsigncode sign -pkcs12 "$pkcs12" -readpass "$work/password" -h sha256 -n Glimmerdot)
  [[ -z ${GLIMMER_SIGN_TIMESTAMP_URL:-} ]] || signing+=(-ts "$GLIMMER_SIGN_TIMESTAMP_URL")
fi

# Signs FILE in place.
sign() {
  "${signing[@]}" -in "$1" -out "$1.signed" >"$work/sign.log" 2>&1 ||
    fail "signing ${1##*/} failed: $(cat "$work/sign.log")"
  mv "$1.signed" "$1"
}

mkdir -p "$(dirname "$out")"
partial=$(mktemp -d "$out.partial.XXXXXX")
mkdir "$work/programs"
shipped=()
for program in "${programs[@]}"; do
  cp "$program" "$work/programs/"
  shipped+=("$work/programs/${program##*/}")
  if ((${#signing[@]})); then sign "${shipped[-1]}"; fi
done

python3 "$here/guide.py" "$source/README.md" "$work/Glimmerdot Guide.txt"
# With an extension Windows knows, so that a double-click opens it.
cp "$source/LICENSE" "$work/LICENSE.txt"
python3 "$here/zip.py" "$partial/$name.zip" "$epoch" "${shipped[@]}" "$work/Glimmerdot Guide.txt" "$work/LICENSE.txt"
msi_programs=()
for program in "${shipped[@]}"; do msi_programs+=(--program "$program"); done
bash "$here/make-msi.sh" --source "$source" --publisher "$publisher" --version "$version" --epoch "$epoch" \
  "${msi_programs[@]}" "$partial/$name.msi"
if ((${#signing[@]})); then sign "$partial/$name.msi"; fi
(cd "$partial" && sha256sum -- "$name.zip" "$name.msi" >SHA256SUMS)

chmod 755 "$partial"
mv "$partial" "$out"
partial=
if ((${#signing[@]})); then
  echo "release: $out, signed by $subject"
else
  echo "release: $out, unsigned (set GLIMMER_SIGN_PKCS12 and GLIMMER_SIGN_PASSWORD to sign)"
fi
