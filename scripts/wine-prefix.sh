#!/usr/bin/env bash
# Creates (once) the private Wine prefix named by QUORVEL_WINEPREFIX, set up
# for code page 932 with Japanese fonts. With --null-driver windows need no X
# server (tests); without it the prefix uses the real display (a user's run).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

null_driver=0
[ "${1:-}" = "--null-driver" ] && null_driver=1

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"${WINEPREFIX}.lock"
flock 9
if [ -f "$WINEPREFIX/.quorvel-ready" ]; then exit 0; fi

rm -rf "$WINEPREFIX"
"$WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
reg() { "$WINE" reg add "$@" /f </dev/null >/dev/null 2>&1; }
if [ "$null_driver" = 1 ]; then
  reg 'HKCU\Software\Wine\Drivers' /v Graphics /d null
fi
# The Japanese UI fonts map to the IPA fonts (proportional where the original is).
for pair in 'ＭＳ Ｐゴシック=IPAPGothic' 'ＭＳ ゴシック=IPAGothic' 'MS PGothic=IPAPGothic' \
            'MS Gothic=IPAGothic' 'MS UI Gothic=IPAPGothic' 'MS Shell Dlg=IPAPGothic' 'Tahoma=IPAPGothic'; do
  reg 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}"
done
fontdir="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fontdir"
cp -n /usr/share/wine/fonts/*.ttf "$fontdir/" 2>/dev/null || true
for f in /usr/share/fonts/opentype/ipafont-gothic/*.ttf /usr/share/fonts/truetype/fonts-japanese-gothic.ttf; do
  [ -f "$f" ] && cp -n "$f" "$fontdir/" 2>/dev/null || true
done
"$WINESERVER" -w
touch "$WINEPREFIX/.quorvel-ready"
