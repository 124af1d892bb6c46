#!/usr/bin/env bash
# Replaces one tool's section of docs/reliability.md (between "<!-- NAME:begin -->" and
# "<!-- NAME:end -->") with the given text, appending the section when it is not there.
#
#   bash tools/reliability_section.sh NAME TEXT
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
file=$root/docs/reliability.md
name=$1
body=$2
mkdir -p "$(dirname "$file")"
[ -f "$file" ] || printf '# Reliability\n\nWhat was tried against the library and what held.\n' >"$file"
begin="<!-- $name:begin -->"
end="<!-- $name:end -->"
if ! grep -qF "$begin" "$file"; then
  printf '\n%s\n%s\n' "$begin" "$end" >>"$file"
fi
BODY=$body awk -v begin="$begin" -v end="$end" '
  $0 == begin { print; print ENVIRON["BODY"]; skip = 1; next }
  $0 == end { skip = 0 }
  !skip { print }
' "$file" >"$file.tmp"
mv "$file.tmp" "$file"
