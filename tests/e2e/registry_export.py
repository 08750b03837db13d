#!/usr/bin/env python3
"""Lists a registry export as `reg export` writes it, one value a line: SUBKEY|NAME|TYPE|DATA.
SUBKEY is relative to the first key of the file; DWORDs are signed numbers, strings as they are,
anything else hex digits.   registry_export.py FILE
"""

import re
import sys

HEX_TYPES = {"hex": "REG_BINARY", "hex(0)": "REG_NONE", "hex(2)": "REG_EXPAND_SZ",
             "hex(7)": "REG_MULTI_SZ", "hex(b)": "REG_QWORD"}
unescape = lambda text: re.sub(r"\\(.)", r"\1", text)  # noqa: E731


def main(path):
    with open(path, encoding="utf-16") as f:
        # Long hex data goes on over lines ending in a backslash.
        text = re.sub(r"\\\n\s*", "", f.read())
    root = subkey = None
    for line in text.splitlines():
        if line.startswith("["):
            root = root or line[1:-1]
            subkey = line[len(root) + 2 : -1]
        elif value := re.fullmatch(r'"((?:[^"\\]|\\.)*)"=(.*)', line):
            name, data = unescape(value.group(1)), value.group(2)
            if data.startswith('"'):
                kind, data = "REG_SZ", unescape(data[1:-1])
            elif data.startswith("dword:"):
                kind, number = "REG_DWORD", int(data[6:], 16)
                data = number - (1 << 32) if number >> 31 else number
            else:
                kind, _, digits = data.partition(":")
                kind, data = HEX_TYPES.get(kind, kind), digits.replace(",", "").upper()
            print(f"{subkey}|{name}|{kind}|{data}")


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]) if len(sys.argv) == 2 else __doc__)
