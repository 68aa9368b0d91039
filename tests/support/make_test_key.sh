#!/usr/bin/env bash
# Makes a throwaway P-256 key pair for the tests that sign version files, in the formats of the
# system's cryptography: <folder>/version_file_key.private (BCRYPT_ECCPRIVATE_BLOB) and
# <folder>/version_file_key.public (BCRYPT_ECCPUBLIC_BLOB). It is made at build time and is never
# a key of the product.
set -euo pipefail
folder=${1:?folder}
mkdir -p "$folder"
hex=$(openssl ecparam -name prime256v1 -genkey -noout -outform DER | od -An -tx1 -v | tr -d ' \n')
# SEC1 ECPrivateKey of P-256: 30 77 02 01 01 04 20 <d> a0 0a 06 08 <curve> a1 44 03 42 00 04 <x> <y>
if [[ ${#hex} -ne 242 || ${hex:0:14} != 30770201010420 || ${hex:78:36} != a00a06082a8648ce3d030107a14403420004 ]]; then
  echo "make_test_key: openssl gave a key of another layout" >&2
  exit 1
fi
d=${hex:14:64}
xy=${hex:114:128}
bytes() { printf "$(sed 's/../\\x&/g' <<<"$1")"; }
{ bytes 4543533120000000; bytes "$xy"; } >"$folder/version_file_key.public"
{ bytes 4543533220000000; bytes "$xy"; bytes "$d"; } >"$folder/version_file_key.private"
