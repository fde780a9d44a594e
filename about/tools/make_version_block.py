#!/usr/bin/env python3
"""Turns a version description (see about/version/palettor.version) into the binary version-information
block (VS_VERSIONINFO: nodes of u16 wLength, u16 wValueLength, u16 wType, a UTF-16 key, padding to
4 bytes, the value, padding, the children; little-endian), or with --rc into the equivalent
resource-compiler script, so that the two can be checked against each other.

usage: make_version_block.py DESCRIPTION OUTPUT [--rc]
"""
import configparser
import struct
import sys

FIXED_SIGNATURE = 0xFEEF04BD
FIXED_STRUCT_VERSION = 0x00010000


def fail(message):
    sys.exit(f"make_version_block: {message}")


def parse_version(text, what):
    parts = text.split(".")
    if len(parts) != 4 or not all(p.isdigit() and int(p) <= 0xFFFF for p in parts):
        fail(f"{what} '{text}': expected four dot-separated numbers from 0 to 65535")
    a, b, c, d = (int(p) for p in parts)
    return (a << 16) | b, (c << 16) | d


def parse_number(text, what, limit=0xFFFFFFFF):
    try:
        value = int(text, 0)
    except ValueError:
        fail(f"{what} '{text}': expected a number")
    if not 0 <= value <= limit:
        fail(f"{what} {text} is out of range")
    return value


def read_description(path):
    config = configparser.ConfigParser(interpolation=None, delimiters=("=",), comment_prefixes=("#",),
                                       empty_lines_in_values=False)
    config.optionxform = str  # keys are case-sensitive names
    with open(path, encoding="utf-8") as f:
        config.read_file(f)
    for section in ("FixedFileInfo", "Translation", "StringFileInfo"):
        if section not in config:
            fail(f"{path}: section [{section}] is missing")
    fixed = config["FixedFileInfo"]
    d = {
        "file_version": parse_version(fixed.get("FileVersion", ""), "FileVersion"),
        "product_version": parse_version(fixed.get("ProductVersion", ""), "ProductVersion"),
        "flags_mask": parse_number(fixed.get("FileFlagsMask", "0"), "FileFlagsMask"),
        "flags": parse_number(fixed.get("FileFlags", "0"), "FileFlags"),
        "os": parse_number(fixed.get("FileOS", "0"), "FileOS"),
        "type": parse_number(fixed.get("FileType", "0"), "FileType"),
        "subtype": parse_number(fixed.get("FileSubtype", "0"), "FileSubtype"),
        "language": parse_number(config["Translation"].get("Language", ""), "Language", 0xFFFF),
        "code_page": parse_number(config["Translation"].get("CodePage", ""), "CodePage", 0xFFFF),
        "strings": list(config["StringFileInfo"].items()),
    }
    return d


def utf16z(text):
    return text.encode("utf-16-le") + b"\0\0"


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def node(key, value=b"", value_length=0, text=False, children=()):
    """One node; its wLength leaves out the padding after its last byte, as resource compilers do."""
    body = pad4(struct.pack("<HHH", 0, value_length, 1 if text else 0) + utf16z(key))
    body += value
    for child in children:
        body = pad4(body) + child
    if len(body) > 0xFFFF:
        fail("the version block is larger than 65535 bytes")
    return struct.pack("<H", len(body)) + body[2:]


def build_block(d):
    fixed = struct.pack("<13I", FIXED_SIGNATURE, FIXED_STRUCT_VERSION, *d["file_version"], *d["product_version"],
                        d["flags_mask"], d["flags"], d["os"], d["type"], d["subtype"], 0, 0)
    strings = []
    for key, value in d["strings"]:
        encoded = utf16z(value)
        strings.append(node(key, encoded, len(encoded) // 2, text=True))
    table_name = f"{d['language']:04X}{d['code_page']:04X}"
    string_info = node("StringFileInfo", text=True, children=[node(table_name, text=True, children=strings)])
    translation = struct.pack("<HH", d["language"], d["code_page"])
    var_info = node("VarFileInfo", text=True, children=[node("Translation", translation, len(translation))])
    return node("VS_VERSION_INFO", fixed, len(fixed), children=[string_info, var_info])


def rc_string(text):
    out = []
    for unit in struct.unpack(f"<{len(text.encode('utf-16-le')) // 2}H", text.encode("utf-16-le")):
        ch = chr(unit)
        if ch == '"':
            out.append('""')
        elif ch == "\\":
            out.append("\\\\")
        elif 0x20 <= unit < 0x7F:
            out.append(ch)
        else:
            out.append(f"\\x{unit:04X}")
    return 'L"' + "".join(out) + '"'


def build_rc(d):
    def ver(pair):
        ms, ls = pair
        return f"{ms >> 16},{ms & 0xFFFF},{ls >> 16},{ls & 0xFFFF}"

    lines = [
        "1 VERSIONINFO",
        f"FILEVERSION {ver(d['file_version'])}",
        f"PRODUCTVERSION {ver(d['product_version'])}",
        f"FILEFLAGSMASK 0x{d['flags_mask']:X}",
        f"FILEFLAGS 0x{d['flags']:X}",
        f"FILEOS 0x{d['os']:X}",
        f"FILETYPE 0x{d['type']:X}",
        f"FILESUBTYPE 0x{d['subtype']:X}",
        "BEGIN",
        '  BLOCK "StringFileInfo"',
        "  BEGIN",
        f'    BLOCK "{d["language"]:04X}{d["code_page"]:04X}"',
        "    BEGIN",
    ]
    lines += [f'      VALUE "{key}", {rc_string(value)}' for key, value in d["strings"]]
    lines += [
        "    END",
        "  END",
        '  BLOCK "VarFileInfo"',
        "  BEGIN",
        f'    VALUE "Translation", 0x{d["language"]:04X}, {d["code_page"]}',
        "  END",
        "END",
    ]
    return "\n".join(lines) + "\n"


def main(argv):
    if len(argv) not in (3, 4) or (len(argv) == 4 and argv[3] != "--rc"):
        sys.exit(__doc__)
    d = read_description(argv[1])
    if len(argv) == 4:
        with open(argv[2], "w", encoding="ascii") as f:
            f.write(build_rc(d))
    else:
        with open(argv[2], "wb") as f:
            f.write(build_block(d))


if __name__ == "__main__":
    main(sys.argv)
