#!/usr/bin/env python3
"""Completes the coclass of a type library that widl compiled (MSFT format).

widl can neither mark a coclass "predeclid" nor list the imported IDispatch among its
interfaces, and it drops the help context of the library itself. The IDL therefore lists a placeholder as the coclass's second interface; this
script points that entry at the library's import of IDispatch (the one its dual
interfaces inherit from) and sets TYPEFLAG_FPREDECLID on the coclass.

usage: patch_typelib.py IN_TLB OUT_TLB HELP_CONTEXT
"""
import struct
import sys
import uuid

IID_IDISPATCH = uuid.UUID("00020400-0000-0000-C000-000000000046").bytes_le
TKIND_COCLASS = 5
TYPEFLAG_FPREDECLID = 0x08
HEADER_SIZE = 0x54
TYPEINFO_SIZE = 0x64
SEGMENTS = 15
SEG_TYPEINFO, SEG_IMPINFO, SEG_REFTAB, SEG_GUIDTAB = 0, 1, 3, 5


def fail(message):
    sys.exit("patch_typelib: " + message)


def main(source, target, help_context):
    data = bytearray(open(source, "rb").read())
    magic, _, _, _, _, varflags = struct.unpack_from("<6i", data, 0)
    if magic != 0x5446534D:
        fail("not an MSFT type library")
    nrtypeinfos = struct.unpack_from("<i", data, 0x20)[0]
    # Readers differ in which of the two header fields they report: fill both.
    struct.pack_into("<2i", data, 0x28, help_context, help_context)
    pos = HEADER_SIZE + (4 if varflags & 0x100 else 0) + 4 * nrtypeinfos
    segments = [struct.unpack_from("<2i", data, pos + 16 * i) for i in range(SEGMENTS)]

    # The import entry of IDispatch: its offset, with the low bit set, is its type reference.
    guid_base = segments[SEG_GUIDTAB][0]
    imp_base, imp_len = segments[SEG_IMPINFO]
    dispatch_ref = None
    for offset in range(0, imp_len, 12):
        _, _, oguid = struct.unpack_from("<3i", data, imp_base + offset)
        if bytes(data[guid_base + oguid:guid_base + oguid + 16]) == IID_IDISPATCH:
            dispatch_ref = offset | 1
    if dispatch_ref is None:
        fail("the library imports no IDispatch")

    ti_base, ti_len = segments[SEG_TYPEINFO]
    coclasses = [ti_base + o for o in range(0, ti_len, TYPEINFO_SIZE)
                 if struct.unpack_from("<i", data, ti_base + o)[0] & 0xF == TKIND_COCLASS]
    if len(coclasses) != 1:
        fail("expected one coclass")
    coclass = coclasses[0]
    flags = struct.unpack_from("<i", data, coclass + 0x30)[0]
    struct.pack_into("<i", data, coclass + 0x30, flags | TYPEFLAG_FPREDECLID)

    # The coclass's interfaces are a chain of reference records; the second is the placeholder.
    ref_base = segments[SEG_REFTAB][0]
    first = struct.unpack_from("<i", data, coclass + 0x54)[0]
    second = struct.unpack_from("<4i", data, ref_base + first)[3]
    if second < 0:
        fail("the coclass has no second interface")
    _, _, custdata, onext = struct.unpack_from("<4i", data, ref_base + second)
    struct.pack_into("<4i", data, ref_base + second, dispatch_ref, 0, custdata, onext)
    open(target, "wb").write(data)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        fail(__doc__)
    main(sys.argv[1], sys.argv[2], int(sys.argv[3]))
