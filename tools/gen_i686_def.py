#!/usr/bin/env python3
"""Writes the decorated export list the i686 link needs.

On i686 the standard and register conventions decorate names (_Name@8, @Name@12). The
DLL must export the plain names and its import library must resolve the decorated ones,
so the link takes a .def with decorated names and --kill-at, and dlltool -k builds the
import library from the same file. This script derives that .def from the plain one
(src/tambre32.def) and the archive's symbols and dllexport directives.

usage: gen_i686_def.py PLAIN_DEF OUT_DEF NM OBJDUMP ARCHIVE
"""
import re
import subprocess
import sys


def plain_entries(path):
    entries, in_exports = [], False
    for line in open(path, encoding="ascii"):
        line = line.split(";", 1)[0].strip()
        if not line:
            continue
        if line.upper() == "EXPORTS":
            in_exports = True
        elif in_exports:
            entries.append(line)
    return entries


def decorated_names(nm, archive):
    """Maps plain names to the form a .def entry of ld takes for them."""
    out = subprocess.run([nm, "--defined-only", archive], capture_output=True, text=True, check=True).stdout
    names = {}
    for line in out.splitlines():
        parts = line.split()
        if len(parts) != 3 or parts[1] not in "TDRB":
            continue
        sym = parts[2]
        m = re.fullmatch(r"_([^@]+)@(\d+)", sym)       # __stdcall
        if m:
            names.setdefault(m.group(1), f"{m.group(1)}@{m.group(2)}")
            continue
        m = re.fullmatch(r"@([^@]+)@(\d+)", sym)       # __fastcall
        if m:
            names.setdefault(m.group(1), sym)
            continue
        if sym.startswith("_"):                         # __cdecl and data
            names.setdefault(sym[1:], sym[1:])
    return names


def dllexport_directives(objdump, archive):
    out = subprocess.run([objdump, "-s", "-j", ".drectve", archive], capture_output=True, text=True).stdout
    text = "".join(
        line[43:] for line in out.splitlines() if re.match(r"^ [0-9a-f]{4} ", line))
    return re.findall(r'-export:"?([^" ,]+)"?(,data)?', text)


def main(plain_def, out_def, nm, objdump, archive):
    names = decorated_names(nm, archive)
    lines, seen = [], set()
    for entry in plain_entries(plain_def):
        if "=" in entry:
            lines.append(entry)
            seen.add(entry.split("=")[0].strip())
            continue
        name = entry.split()[0]
        if name not in names:
            sys.exit(f"gen_i686_def: {name} is listed for export but not defined")
        lines.append(names[name])
        seen.add(name)
    for sym, data in dllexport_directives(objdump, archive):
        plain = re.sub(r"^@?([^@]+)(@\d+)?$", r"\1", sym)
        if plain not in seen:
            seen.add(plain)
            lines.append(sym + (" DATA" if data else ""))
    with open(out_def, "w", encoding="ascii") as f:
        f.write("LIBRARY tambre32.dll\nEXPORTS\n")
        f.writelines(f"  {line}\n" for line in lines)


if __name__ == "__main__":
    main(*sys.argv[1:6])
