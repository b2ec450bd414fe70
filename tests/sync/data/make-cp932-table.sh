#!/usr/bin/env bash
# Writes cp932.txt: every CP932 character the engine converts (half-width
# katakana and the double-byte rows, user-defined rows left out) with its
# code point, as the C library's iconv decodes it. Both builds' conversions
# are tested against this one table.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
out=cp932.txt
{
  echo "# CP932 code and the code point it decodes to (iconv CP932 -> UTF-32BE)."
  echo "# Made by make-cp932-table.sh; codes that do not decode are left out."
  decode() { printf "$1" | iconv -f CP932 -t UTF-32BE 2>/dev/null | od -An -tx1 | tr -d ' \n' || true; }
  for single in $(seq $((0xA1)) $((0xDF))); do
    code=$(printf '%02X' "$single")
    u=$(decode "\\x$code")
    echo "$code ${u:4:4}" | tr a-f A-F
  done
  for lead in $(seq $((0x81)) $((0x84))) $(seq $((0x87)) $((0x9F))) $(seq $((0xE0)) $((0xEA))) \
              $(seq $((0xED)) $((0xEE))) $(seq $((0xFA)) $((0xFC))); do
    for trail in $(seq $((0x40)) $((0x7E))) $(seq $((0x80)) $((0xFC))); do
      code=$(printf '%02X%02X' "$lead" "$trail")
      u=$(decode "\\x${code:0:2}\\x${code:2:2}")
      [ ${#u} -eq 8 ] && echo "$code ${u:4:4}" | tr a-f A-F
    done
  done
} > "$out"
echo "$(grep -vc '^#' "$out") codes written to $out"
