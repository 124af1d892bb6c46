#!/usr/bin/env python3
"""Generates the library's string table from its one source, src/res/strings.txt.

Each line of the source is `<id> <NAME> "<text>"`, the text in UTF-8 with C escapes
(\\n, \\t, \\\\, \\"). Outputs, all with the text in code page 1252:
  string_ids.h        the ids as constants for C++ and the resource compiler
  string_table.rc.inc the STRINGTABLE body for the .rc file
  string_table.cpp    the same table compiled into the portable core
"""
import re
import sys

LINE = re.compile(r'^(\d+)\s+([A-Z][A-Z0-9_]*)\s+"((?:[^"\\]|\\.)*)"\s*$')


def cp1252_escaped(text, where):
    """Turns the UTF-8 source text into a C string body holding cp1252 bytes."""
    out = []
    i = 0
    while i < len(text):
        ch = text[i]
        if ch == "\\":
            out.append(text[i:i + 2])
            i += 2
            continue
        try:
            raw = ch.encode("cp1252")
        except UnicodeEncodeError:
            sys.exit(f"{where}: character {ch!r} is not in code page 1252")
        for b in raw:
            out.append(chr(b) if 0x20 <= b < 0x7F else "\\%03o" % b)
        i += 1
    return "".join(out)


def main(source, out_dir):
    entries = []
    seen = set()
    with open(source, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            m = LINE.match(line)
            where = f"{source}:{number}"
            if not m:
                sys.exit(f"{where}: expected <id> <NAME> \"<text>\"")
            sid, name, text = int(m.group(1)), m.group(2), m.group(3)
            if sid in seen or name in seen:
                sys.exit(f"{where}: id or name used twice")
            seen.update((sid, name))
            entries.append((sid, name, cp1252_escaped(text, where)))
    entries.sort()

    with open(f"{out_dir}/string_ids.h", "w", encoding="ascii") as h:
        h.write("/* Generated from src/res/strings.txt; do not edit. */\n#pragma once\n")
        for sid, name, _ in entries:
            h.write(f"#define {name} {sid}\n")
    with open(f"{out_dir}/string_table.rc.inc", "w", encoding="ascii") as rc:
        for sid, _, text in entries:
            # The resource compiler doubles quotes instead of escaping them.
            rc.write(f'  {sid}, "{text.replace(chr(92) + chr(34), chr(34) * 2)}"\n')
    with open(f"{out_dir}/string_table.cpp", "w", encoding="ascii") as cpp:
        cpp.write('// Generated from src/res/strings.txt; do not edit.\n')
        cpp.write('#include "res/string_table.h"\n\nnamespace tambre::res {\n\n')
        cpp.write("const string_entry string_table[] = {\n")
        for sid, _, text in entries:
            cpp.write(f'    {{{sid}, "{text}"}},\n')
        cpp.write("};\nconst unsigned string_table_size = sizeof string_table / sizeof string_table[0];\n")
        cpp.write("\n}  // namespace tambre::res\n")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
