#!/bin/sh
# usage: check_exports.sh OBJDUMP DLL DEF
# Fails when a name the .def lists is missing from the DLL's export table.
objdump=$1 dll=$2 def=$3
exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^.*\] //p')
missing=0
for name in $(sed -e 's/;.*//' "$def" | sed -n '/EXPORTS/,$p' | grep -v EXPORTS | awk '{print $1}'); do
  if ! printf '%s\n' "$exports" | grep -qx "$name"; then
    echo "missing export: $name"
    missing=$((missing + 1))
  fi
done
count=$(printf '%s\n' "$exports" | grep -c .)
echo "$dll: $count exports, $missing of the .def list missing"
[ "$missing" -eq 0 ] && [ "$count" -gt 0 ]
