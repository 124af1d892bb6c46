#!/usr/bin/env python3
"""Doxygen input filter: the public headers keep plain C comments, and this turns them into
documentation comments as Doxygen reads them.

- the comment that opens the file describes the file (@file);
- a comment on lines of its own documents the declaration that follows;
- a comment after code on the same line documents that line's declaration;
- comments on preprocessor lines other than #define stay plain;
- a comment above a run of declarations (no blank line between them) documents each of
  them: the run becomes a member group whose members share the first one's comment.
Line numbers stay as they are, so Doxygen's warnings point into the real header.
"""
import os
import re
import sys

LEADING_BLOCK = re.compile(r"^(\s*)/\*(?![*!])")
LEADING_LINE = re.compile(r"^(\s*)//(?![/!])")
TRAILING_BLOCK = re.compile(r"^(?P<code>\s*[^\s/].*?)/\*(?![*!<])")
TRAILING_LINE = re.compile(r"^(?P<code>\s*[^\s/].*?)//(?![/!<])")
PREPROCESSOR = re.compile(r"^\s*#\s*(\w+)")


INLINE_TAG = re.compile(r"<(?=[A-Za-z/])")


def escape(text):
    """Backslashes and <word> in the library's texts ("Software\\Brintel", "<module>") are
    text, not Doxygen commands or HTML."""
    return INLINE_TAG.sub(r"\\<", text.replace("\\", "\\\\"))


def with_body_escaped(line, start):
    end = line.find("*/", start)
    if end < 0:
        return line[:start] + escape(line[start:])
    return line[:start] + escape(line[start:end]) + line[end:]


def convert(lines, name):
    out = []
    seen_code = False
    in_block = False
    for line in lines:
        if in_block:
            out.append(with_body_escaped(line, 0))
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
            body = len(m.group(1)) + len(tag)
            line = m.group(1) + tag + line[m.end():].lstrip()
            in_block = "*/" not in line[body:]
            out.append(with_body_escaped(line, body))
            continue
        m = LEADING_LINE.match(line)
        if m:
            out.append(m.group(1) + "///" + escape(line[m.end():]))
            continue
        if line.strip():
            seen_code = True
        m = TRAILING_BLOCK.match(line)
        if m and '"' not in m.group("code"):
            body = len(m.group("code")) + 4
            line = m.group("code") + "/**<" + line[m.end():]
            in_block = "*/" not in line[body:]
            line = with_body_escaped(line, body)
        else:
            m = TRAILING_LINE.match(line)
            if m and '"' not in m.group("code"):
                line = m.group("code") + "///<" + escape(line[m.end():])
        out.append(line)
    return out


def declaration_runs(lines):
    """(first line of the comment, last line of the run) for every leading comment above
    two or more declarations."""
    runs = []
    i = 0
    while i < len(lines):
        stripped = lines[i].strip()
        if not (stripped.startswith("/*") or stripped.startswith("//")):
            i += 1
            continue
        start = i
        if stripped.startswith("/*"):
            while "*/" not in lines[i]:
                i += 1
        else:
            while i + 1 < len(lines) and lines[i + 1].strip().startswith("//"):
                i += 1
        j = i + 1
        count = 0
        last = None
        while j < len(lines):
            text = re.sub(r"/\*.*?\*/|//.*", "", lines[j]).strip()
            directive = PREPROCESSOR.match(lines[j])
            if not text or lines[j].strip().startswith(("/*", "//")) or "{" in text or "}" in text:
                break
            if directive and directive.group(1) != "define":
                break
            if text.endswith(":") and not text.endswith("::"):
                break
            if directive or text.endswith(";"):
                count += 1
                last = j
            j += 1
        if count >= 2 and start > 0:
            runs.append((start, last))
        i = max(i + 1, j)
    return runs


def grouped(raw, converted):
    for start, last in declaration_runs(raw):
        # The closing marker goes on the blank line after the run; on a #define line it
        # would become part of the macro.
        if last + 1 < len(raw) and not raw[last + 1].strip():
            close = last + 1
        elif not PREPROCESSOR.match(raw[last]):
            close = last
        else:
            continue
        converted[start] = "/**@{*/ " + converted[start]
        converted[close] = converted[close].rstrip("\n") + " /**@}*/\n"
    return converted


def main():
    with open(sys.argv[1], encoding="utf-8", errors="replace") as f:
        raw = f.readlines()
    sys.stdout.write("".join(grouped(raw, convert(raw, os.path.basename(sys.argv[1])))))


if __name__ == "__main__":
    main()
