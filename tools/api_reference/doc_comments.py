#!/usr/bin/env python3
"""Doxygen input filter: the public headers keep plain C comments, and this turns them into
documentation comments as Doxygen reads them.

- the comment that opens the file describes the file (@file);
- a comment on lines of its own documents the declaration that follows;
- a comment after code on the same line documents that line's declaration;
- comments on preprocessor lines other than #define stay plain.
"""
import os
import re
import sys

LEADING_BLOCK = re.compile(r"^(\s*)/\*(?![*!])")
LEADING_LINE = re.compile(r"^(\s*)//(?![/!])")
TRAILING_BLOCK = re.compile(r"^(?P<code>\s*[^\s/].*?)/\*(?![*!<])")
TRAILING_LINE = re.compile(r"^(?P<code>\s*[^\s/].*?)//(?![/!<])")
PREPROCESSOR = re.compile(r"^\s*#\s*(\w+)")


def convert(lines, name):
    out = []
    seen_code = False
    in_block = False
    for line in lines:
        if in_block:
            out.append(line)
            if "*/" in line:
                in_block = False
            continue
        directive = PREPROCESSOR.match(line)
        if directive and directive.group(1) != "define":
            out.append(line)
            seen_code = True
            continue
        m = LEADING_BLOCK.match(line)
        if m:
            tag = "/** " if seen_code else "/** @file " + name + " "
            line = m.group(1) + tag + line[m.end():].lstrip()
            in_block = "*/" not in line[m.end():]
            out.append(line)
            continue
        m = LEADING_LINE.match(line)
        if m:
            out.append(m.group(1) + "///" + line[m.end():])
            continue
        if line.strip():
            seen_code = True
        m = TRAILING_BLOCK.match(line)
        if m and '"' not in m.group("code"):
            line = m.group("code") + "/**<" + line[m.end():]
            in_block = "*/" not in line[len(m.group("code")) :]
        else:
            m = TRAILING_LINE.match(line)
            if m and '"' not in m.group("code"):
                line = m.group("code") + "///<" + line[m.end():]
        out.append(line)
    return out


def main():
    with open(sys.argv[1], encoding="utf-8", errors="replace") as f:
        sys.stdout.write("".join(convert(f.readlines(), os.path.basename(sys.argv[1]))))


if __name__ == "__main__":
    main()
