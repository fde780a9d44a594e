#!/usr/bin/env python3
"""Writes small ELF files for the fuzzers to start from, so that they reach the reader's ELF
section walk: 32- and 64-bit, each with a .versioninfo section holding the version block and
without one.

    make_elf_seeds.py VERSION_BLOCK OUT_DIR
"""
import struct
import sys
from pathlib import Path


def elf(is64: bool, sections: list[tuple[str, bytes]]) -> bytes:
    """An ELF file (relocatable, little-endian, x86) with the given PROGBITS sections, then
    .shstrtab; the section header table at the end."""
    names = b"\0"
    entries = []  # (name offset, type, data)
    for name, data in sections:
        entries.append((len(names), 1, data))  # SHT_PROGBITS
        names += name.encode() + b"\0"
    shstrtab_name = len(names)
    names += b".shstrtab\0"
    entries.append((shstrtab_name, 3, names))  # SHT_STRTAB

    header_size = 64 if is64 else 52
    entry_size = 64 if is64 else 40
    body = b""
    placed = []  # (name, type, offset, size)
    for name_offset, kind, data in entries:
        offset = header_size + len(body)
        body += data + b"\0" * (-len(data) % 8)
        placed.append((name_offset, kind, offset, len(data)))
    table_offset = header_size + len(body)
    count = len(placed) + 1  # section 0 is the null section
    names_index = count - 1

    ident = b"\x7fELF" + bytes([2 if is64 else 1, 1, 1]) + b"\0" * 9
    if is64:
        header = ident + struct.pack("<HHIQQQIHHHHHH", 1, 62, 1, 0, 0, table_offset, 0, header_size, 0, 0,
                                     entry_size, count, names_index)
        table = b"\0" * entry_size
        for name_offset, kind, offset, size in placed:
            table += struct.pack("<IIQQQQIIQQ", name_offset, kind, 0, 0, offset, size, 0, 0, 1, 0)
    else:
        header = ident + struct.pack("<HHIIIIIHHHHHH", 1, 3, 1, 0, 0, table_offset, 0, header_size, 0, 0,
                                     entry_size, count, names_index)
        table = b"\0" * entry_size
        for name_offset, kind, offset, size in placed:
            table += struct.pack("<IIIIIIIIII", name_offset, kind, 0, 0, offset, size, 0, 0, 1, 0)
    assert len(header) == header_size
    return header + body + table


def main() -> None:
    block = Path(sys.argv[1]).read_bytes()
    out = Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    code = b"\x31\xc0\xc3"  # a token .text
    for is64, bits in ((True, 64), (False, 32)):
        (out / f"elf{bits}-versioninfo").write_bytes(elf(is64, [(".text", code), (".versioninfo", block)]))
        (out / f"elf{bits}-plain").write_bytes(elf(is64, [(".text", code), (".data", b"data")]))


if __name__ == "__main__":
    main()
