#!/usr/bin/env bash
# Checks made without running anything: formatting of every C++ file, the README's layer
# picture against the build, and clang-tidy on the library's portable sources (after the
# native build, whose compile commands it reads). Exits non-zero on any finding.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
status=0

echo "== format"
if ! git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror; then
  echo "== format: run clang-format -i on the files above"
  status=1
fi

echo "== layers"
python3 tools/layers.py --check README.md || status=1

echo "== tidy"
files=$(python3 - <<'PY'
import json
commands = json.load(open("build/native/compile_commands.json"))
print("\n".join(sorted({c["file"] for c in commands if "/src/" in c["file"] and "/build/" not in c["file"]})))
PY
)
if ! run-clang-tidy -p build/native -j "$(nproc)" -quiet $files >build/native/tidy.log 2>&1; then
  grep -E "(warning|error):" build/native/tidy.log | sort -u
  echo "== tidy FAILED (build/native/tidy.log)"
  status=1
fi
exit $status
