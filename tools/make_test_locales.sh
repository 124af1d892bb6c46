#!/bin/sh
# usage: make_test_locales.sh DIR LOCALE...
# Compiles C library locales (de_DE, en_US, ...) in UTF-8 into DIR for tests that start
# processes in them (LOCPATH=DIR). localedef warns on some sources; only the result counts.
dir=$1
shift
mkdir -p "$dir" || exit 1
for name in "$@"; do
  localedef -i "$name" -f UTF-8 "$dir/$name.UTF-8" >/dev/null 2>&1
  [ -f "$dir/$name.UTF-8/LC_NUMERIC" ] || { echo "make_test_locales: $name failed" >&2; exit 1; }
done
