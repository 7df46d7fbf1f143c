#!/usr/bin/env python3
"""Builds the binary lookup tables from tables.txt.

Usage: make_tables.py TABLES_TXT OUTPUT_DIR

Writes country_table.bin, state_table.bin and first_octet_table.bin. Any
malformed row stops the build, so a typo never reaches the resources.
"""

import os
import sys

OUTPUTS = {
    "country": "country_table.bin",
    "state": "state_table.bin",
    "first-octet": "first_octet_table.bin",
}
END_OF_TABLE = 65  # a row with an empty name ends the table


def fail(path, number, message):
    sys.exit(f"{path}:{number}: {message}")


def read_sections(path):
    sections = {name: [] for name in OUTPUTS}
    current = None
    with open(path, encoding="ascii") as source:
        for number, raw in enumerate(source, 1):
            line = raw.rstrip("\r\n")
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("[") and line.endswith("]"):
                current = line[1:-1]
                if current not in sections:
                    fail(path, number, f"unknown section {line}")
                continue
            if current is None:
                fail(path, number, "row before the first section")
            sections[current].append((number, line))
    return sections


def name_table(path, rows):
    out = bytearray()
    seen = set()
    for number, line in rows:
        code, blank, name = line[:2], line[2:3], line[3:]
        if len(code) != 2 or not (code.isascii() and code.isalpha() and code.isupper()):
            fail(path, number, f"bad code {code!r}")
        if blank != " " or not name or name != name.strip():
            fail(path, number, "expected a code, one blank and a name")
        if not name.isascii() or name != name.upper() or not name.isprintable():
            fail(path, number, f"name must be upper-case printable ASCII: {name!r}")
        if END_OF_TABLE + len(name) > 255:
            fail(path, number, "name too long for its length byte")
        if code in seen:
            fail(path, number, f"code {code} occurs twice")
        seen.add(code)
        out.append(END_OF_TABLE + len(name))
        out += code.encode("ascii")
        out += name.encode("ascii")
    out.append(END_OF_TABLE)
    return bytes(out)


def first_octet_table(path, rows):
    table = bytearray(256)
    for number, line in rows:
        try:
            octets, registry = line.split()
            first, _, last = octets.partition("-")
            first, last = int(first), int(last or first)
            registry = int(registry)
        except ValueError:
            fail(path, number, "expected 'first[-last] id'")
        if not (0 <= first <= last <= 255) or not (1 <= registry <= 5):
            fail(path, number, "octet outside 0-255 or id outside 1-5")
        for octet in range(first, last + 1):
            if table[octet]:
                fail(path, number, f"octet {octet} listed twice")
            table[octet] = registry
    return bytes(table)


def write(path, data):
    with open(path, "wb") as out:
        out.write(data)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    source, outdir = sys.argv[1], sys.argv[2]
    sections = read_sections(source)
    tables = {
        "country": name_table(source, sections["country"]),
        "state": name_table(source, sections["state"]),
        "first-octet": first_octet_table(source, sections["first-octet"]),
    }
    os.makedirs(outdir, exist_ok=True)
    for name, data in tables.items():
        write(os.path.join(outdir, OUTPUTS[name]), data)


if __name__ == "__main__":
    main()
