#!/usr/bin/env bash
# The release's Readme.txt against the README it is made from (run by make test):
# Japanese text in code page 932 with CR LF line ends, no Markdown marks, every heading of the
# README's Japanese section, the topics a player's guide needs, and the version the program
# shows wherever the guide names one.
#   scripts/check-readme-txt.sh VERSION
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
version="$1"
work=$(mktemp -d "${TMPDIR:-/tmp}/qv-readme.XXXXXX")
trap 'rm -rf "$work"' EXIT
faults=()

python3 "$root/scripts/readme_txt.py" "$root/README.md" "$version" "$work/Readme.txt"
iconv -f CP932 -t UTF-8 "$work/Readme.txt" >"$work/utf8.txt" || faults+=("not code page 932 text")
tr -d '\r' <"$work/utf8.txt" >"$work/text.txt"
lines=$(wc -l <"$work/Readme.txt")
[ "$(grep -c $'\r$' "$work/Readme.txt")" = "$lines" ] || faults+=("a line ends without CR LF")
[ "$lines" -gt 100 ] || faults+=("only $lines lines")
marks=$(grep -nE '!\[|\]\(|`|\*\*|^\||^#' "$work/text.txt" || true)
[ -z "$marks" ] || faults+=("Markdown marks left: $marks")

section=$(sed -n '/^## プレイヤーの方へ$/,/^## [^プ]/p' "$root/README.md")
while IFS= read -r heading; do
  grep -qxF "■${heading#\#\#\# }" "$work/text.txt" || faults+=("heading missing: $heading")
done < <(grep '^### ' <<<"$section")
for topic in できること はじめて使うとき 設定 作られるファイル グラフ テスト アンインストール ライセンス; do
  grep -q "^■.*$topic" "$work/text.txt" || faults+=("no section on $topic")
done
for named in $(grep -o 'Ver\.[0-9][0-9.]*[0-9]' <<<"$section" | sort -u); do
  [ "$named" = "Ver.$version" ] || faults+=("the README names $named, the program shows Ver.$version")
done
head -n1 "$work/text.txt" | grep -qxF "Quorvane Ver.$version" || faults+=("first line is not the version")

if [ ${#faults[@]} -gt 0 ]; then
  printf 'Readme.txt: %s\n' "${faults[@]}" >&2
  exit 1
fi
echo "Readme.txt: $lines lines of code page 932 text, every section of the README's Japanese part"
