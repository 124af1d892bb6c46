#!/usr/bin/env bash
# usage: api_reference.sh OUTPUT_DIR
# Builds the API reference (OUTPUT_DIR/html) from the public headers with Doxygen and fails,
# naming each one, when a public function, class or other name has no comment.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
cd "$root"
rm -rf "$out/html"
{
  cat tools/api_reference/Doxyfile
  echo "OUTPUT_DIRECTORY = $out"
  echo "PROJECT_NUMBER = $(bash tools/project_version.sh)"
  echo "WARN_LOGFILE = $out/warnings.log"
} | doxygen - || { echo "api_reference: doxygen failed" >&2; exit 1; }

# "include/tambre32/x.h:12: warning: Member Foo(int) (function) of class Bar is not documented."
# Functions and classes without a comment fail the build; other names are listed.
names() {
  sed -E 's#^'"$root"'/##; s#^([^:]+):([0-9]+): warning: (Member |Compound )?(.*) is not documented\.$#  \1:\2  \4#'
}
missing=$(grep "is not documented" "$out/warnings.log" | grep -E "\(function\)|Compound " | names)
notes=$(grep "is not documented" "$out/warnings.log" | grep -vE "\(function\)|Compound " | names)
other=$(grep -v "is not documented" "$out/warnings.log" | sed -E 's#^'"$root"'/##')
status=0
if [[ -n $notes ]]; then
  echo "api_reference: note, names without a comment (macros, fields, types):"
  echo "$notes"
fi
if [[ -n $missing ]]; then
  echo "api_reference: these public functions and classes have no comment in their header:" >&2
  echo "$missing" >&2
  status=1
fi
if [[ -n $other ]]; then
  echo "api_reference: doxygen warnings:" >&2
  echo "$other" >&2
  status=1
fi
((status == 0)) && echo "api_reference: $out/html/index.html"
exit $status
