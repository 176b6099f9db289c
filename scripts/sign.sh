#!/usr/bin/env bash
# Signs a built distribution with Authenticode (osslsigncode, SHA-256): copies the distribution
# folder to a new one and signs every program and library in the copy (setup.exe, the language
# libraries, the Application folder's programs and library). The build's own dist/ stays as the
# build made it, so that it can still be compared with another build byte for byte.
#
#   scripts/sign.sh --cert FILE --key FILE [options] [DIST]
#   scripts/sign.sh --pkcs12 FILE [options] [DIST]
#
#   --cert FILE       the code-signing certificate (PEM or DER), with its chain if it has one
#   --key FILE        its private key (PEM or DER)
#   --pkcs12 FILE     certificate, chain and key in one PKCS#12 (.pfx) file instead
#   --pass-file FILE  the key's passphrase, read from FILE (never on the command line)
#   --timestamp URL   an RFC 3161 time-stamp server: the signatures stay valid after the
#                     certificate expires
#   --ca FILE         the root certificate(s) the signatures are checked against after signing
#                     (default: the system's trusted roots)
#   --tsa-ca FILE     the root certificate(s) the time stamps are checked against (default: the
#                     system's trusted roots)
#   --out DIR         where the signed copy goes (default: DIST-signed, beside DIST)
#   DIST              the distribution folder (default: build/dist)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${SETUP_BUILD_DIR:-$top/build}

usage() {
    sed -n '/^#   scripts/,/^#   DIST/s/^# \{0,1\}//p' "$0" >&2
    exit 2
}

signer=() pass=() timestamp=() ca=() tsa_ca=() out="" dist=""
while [ $# -gt 0 ]; do
    case $1 in
        --*) [ $# -ge 2 ] || [ "$1" = --help ] || usage ;;
    esac
    case $1 in
        --cert) signer+=(-certs "$2"); shift 2 ;;
        --key) signer+=(-key "$2"); shift 2 ;;
        --pkcs12) signer+=(-pkcs12 "$2"); shift 2 ;;
        --pass-file) pass=(-readpass "$2"); shift 2 ;;
        --timestamp) timestamp=(-ts "$2"); shift 2 ;;
        --ca) ca=(-CAfile "$2"); shift 2 ;;
        --tsa-ca) tsa_ca=(-TSA-CAfile "$2"); shift 2 ;;
        --out) out=$2; shift 2 ;;
        -h | --help) usage ;;
        -*) echo "sign.sh: unknown option $1" >&2; usage ;;
        *) [ -z "$dist" ] || usage; dist=$1; shift ;;
    esac
done
fail() {
    echo "sign.sh: $*" >&2
    exit 1
}
if [ ${#signer[@]} -eq 0 ]; then
    echo "sign.sh: name a certificate and key, or a PKCS#12 file" >&2
    usage
fi
dist=$(cd "${dist:-$build/dist}" && pwd)
[ -f "$dist/setup.exe" ] || fail "no setup.exe in $dist (build first)"
out=$(realpath -m "${out:-$dist-signed}")
# The signed copy replaces an earlier signed copy, never the distribution or another folder.
case $dist/ in "$out"/*) fail "--out must not hold the distribution itself" ;; esac
[ ! -e "$out" ] || [ -f "$out/setup.exe" ] || fail "$out exists and is no distribution"
command -v osslsigncode >/dev/null || "$top/scripts/bootstrap.sh"

# The description a signature carries (shown by the system's elevation prompt): the product's
# name from the distribution's settings.
name=$(sed -n 's/^AppName=//p' "$dist/setup.ini" | tr -d '\r' | head -n 1)
roots=/etc/ssl/certs/ca-certificates.crt
[ ${#tsa_ca[@]} -gt 0 ] || [ ! -f "$roots" ] || tsa_ca=(-TSA-CAfile "$roots")

rm -rf "$out"
mkdir -p "$(dirname "$out")"
cp -a "$dist" "$out"
mapfile -d '' programs < <(cd "$dist" && find . -type f \( -iname '*.exe' -o -iname '*.dll' \) \
    -print0 | sort -z)
for program in "${programs[@]}"; do
    program=${program#./}
    rm -f "$out/$program"
    osslsigncode sign "${signer[@]}" "${pass[@]}" -h sha256 ${name:+-n "$name"} \
        "${timestamp[@]}" -in "$dist/$program" -out "$out/$program" >/dev/null
    # A time stamp that does not verify leaves osslsigncode's result at success (it then checks
    # the signature at the current time): its own line says so.
    if ! log=$(osslsigncode verify "${ca[@]}" "${tsa_ca[@]}" -in "$out/$program" 2>&1) ||
        { [ ${#timestamp[@]} -gt 0 ] &&
            ! grep -q "Timestamp Server Signature verification: ok" <<<"$log"; }; then
        echo "$log" >&2
        echo "sign.sh: the signature of $program does not verify" >&2
        exit 1
    fi
    echo "signed $program"
done
echo "signed distribution: $out"
