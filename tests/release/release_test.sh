#!/usr/bin/env bash
# scripts/release as a vendor runs it: it refuses placeholder hosts, builds the same bytes
# in two fresh folders at two moments, signs with a certificate from a throwaway CA so
# that the signature verifies against that CA and fails after one changed byte, keeps
# the version resource intact, and the signed programs still run.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
release() { "$here/scripts/release" --arch i686 --allow-dirty "$@" >"$work/release.log" 2>&1; }
export SOURCE_DATE_EPOCH=1767225600 # fixed, so the bytes may be compared

# Placeholder hosts are no release.
if SKELVANE_APP_HOST=publish.quorrelcard.example SKELVANE_DATA_HOST=secure.vendor.test release --out "$work/refused"; then
  fail "released with a placeholder host"
fi
grep -q "placeholder" "$work/release.log" || fail "no word on the placeholder: $(cat "$work/release.log")"
[ ! -e "$work/refused" ] || fail "a refused release wrote files"

export SKELVANE_APP_HOST=apps.vendor.test SKELVANE_DATA_HOST=secure.vendor.test:8443
release --out "$work/one" || fail "release: $(cat "$work/release.log")"
sleep 1 # another moment, another build folder (each release builds in a fresh one)
release --out "$work/two" || fail "second release: $(cat "$work/release.log")"
dir=skelvane-$(sed -n 's/^#define SKELVANE_VERSION_TEXT "\(.*\)"$/\1/p' "$here/resources/version.h")
for exe in Skelvane.exe SkelvaneReport.exe; do
  cmp "$work/one/$dir/x86/$exe" "$work/two/$dir/x86/$exe" || fail "$exe differs between two builds"
  echo "reproducible: $(sha256sum "$work/one/$dir/x86/$exe")"
done
cmp "$work/one/$dir.zip" "$work/two/$dir.zip" || fail "the zip differs between two builds"
(cd "$work/one/$dir" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"
[ -f "$work/one/$dir/README.md" ] || fail "no README in the release"
for doc in $(grep -o '(docs/[a-z.-]*' "$here/README.md" | cut -c2- | sort -u); do
  [ -f "$work/one/$dir/$doc" ] || fail "the README links to $doc, which the release lacks"
done
[ -f "$work/one/$dir/report.schema.json" ] || fail "no report schema in the release"
unzip -l "$work/one/$dir.zip" >"$work/zip.txt" || fail "the zip does not open"
grep -q "$dir/x86/Skelvane.exe" "$work/zip.txt" || fail "the zip lacks the program"

# A throwaway CA and a code-signing certificate from it, in a password-protected PKCS#12.
cd "$work"
quiet() { "$@" >/dev/null 2>&1; }
quiet openssl req -x509 -newkey rsa:2048 -nodes -days 2 -keyout ca.key -out ca.pem \
  -subj "/CN=Skelvane Test Signing CA" -addext "basicConstraints=critical,CA:TRUE" \
  -addext "keyUsage=critical,keyCertSign,cRLSign"
quiet openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Vendor Test"
printf 'extendedKeyUsage=codeSigning\nkeyUsage=critical,digitalSignature\nbasicConstraints=CA:FALSE\n' >signer.ext
quiet openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 \
  -out signer.pem -extfile signer.ext
quiet openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -out signer.p12 \
  -passout pass:not-on-any-command-line
SKELVANE_SIGN_PKCS12=$work/signer.p12 SKELVANE_SIGN_PASSWORD=not-on-any-command-line \
  release --out "$work/signed" || fail "signed release: $(cat "$work/release.log")"
grep -q "not-on-any-command-line" "$work/release.log" && fail "the password was printed"

for exe in Skelvane.exe SkelvaneReport.exe; do
  signed=$work/signed/$dir/x86/$exe
  osslsigncode verify -CAfile ca.pem -in "$signed" >verify.log 2>&1 || fail "$exe: $(cat verify.log)"
  grep -q "Signature verification: ok" verify.log || fail "$exe: $(cat verify.log)"
  for section in .rsrc .text; do
    cmp <(i686-w64-mingw32-objdump -s -j "$section" "$signed" | tail -n +4) \
      <(i686-w64-mingw32-objdump -s -j "$section" "$work/one/$dir/x86/$exe" | tail -n +4) ||
      fail "$exe: signing changed $section"
  done
  # One changed byte, well inside the code, and the signature no longer holds.
  cp "$signed" tampered.exe
  printf '\x90' | dd of=tampered.exe bs=1 seek=4096 conv=notrunc status=none
  if osslsigncode verify -CAfile ca.pem -in tampered.exe >/dev/null 2>&1; then
    fail "$exe: a changed byte still verifies"
  fi
  echo "signed: $exe $(stat -c %s "$work/one/$dir/x86/$exe") bytes unsigned, $(stat -c %s "$signed") signed"
done
(cd "$work/signed/$dir" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS is not of the signed files"
out=$("$here/scripts/wine-run" "$work/signed/$dir/x86/SkelvaneReport.exe" --help | tr -d '\r') ||
  fail "the signed report does not run"
grep -q "Usage: SkelvaneReport" <<<"$out" || fail "the signed report said: $out"
echo "release test passed"
