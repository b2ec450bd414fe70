#!/usr/bin/env bash
# Checks the Windows release zip: the programs, the library, the licence,
# the example, and README-ja.txt as Notepad on Japanese Windows reads it
# (Shift_JIS, CR LF) with the window's steps.
#
#   scripts/check-release-zip.sh build/release/Quorvel-<version>-win32.zip
set -euo pipefail
zip="$1"
top="$(basename "$zip" .zip)"
fail() { echo "check-release-zip: $*" >&2; exit 1; }

listing="$(unzip -Z1 "$zip")"
for file in Quorvel.exe Quorvel_con.exe bregexp.dll README.md README-ja.txt LICENSE.txt \
            examples/menu.lst examples/footer.lst examples/site/index.html; do
  grep -qx "$top/$file" <<<"$listing" || fail "$zip lacks $top/$file"
done

unzip -p "$zip" "$top/LICENSE.txt" | grep -q 'Permission is hereby granted' || fail "LICENSE.txt is not the licence"

readme_ja="$(mktemp)"
trap 'rm -f "$readme_ja"' EXIT
unzip -p "$zip" "$top/README-ja.txt" >"$readme_ja"
iconv -f CP932 -t UTF-8 "$readme_ja" >/dev/null 2>&1 || fail "README-ja.txt is not Shift_JIS"
# Every line ends in CR LF.
[ "$(grep -c $'\r$' "$readme_ja")" -eq "$(wc -l <"$readme_ja")" ] || fail "README-ja.txt has lines without CR LF"
for step in "追加(&A)" "実行(&E)" "ﾘｽﾄ保存(&S)"; do
  iconv -f CP932 -t UTF-8 "$readme_ja" | grep -qF "$step" || fail "README-ja.txt lacks the step $step"
done
echo "check-release-zip: $zip holds every file; README-ja.txt is Shift_JIS with the window's steps"
