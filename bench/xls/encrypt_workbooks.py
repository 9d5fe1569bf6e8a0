#!/usr/bin/python3
"""Writes a copy of every workbook of a folder, encrypted with the spreadsheet's default
password by RC4 CryptoAPI with 128-bit keys (a SHA-1 and a new RC4 key for every 1,024 bytes,
the costliest scheme to read), with the algorithms of the fixture generator.

usage: encrypt_workbooks.py SOURCE_FOLDER TARGET_FOLDER
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests",
                                "xls", "fixtures"))
from make_encrypted import DEFAULT, Rc4Scheme, write_encrypted  # noqa: E402


def main():
    source, target = (os.path.abspath(folder) for folder in sys.argv[1:])
    os.makedirs(target, exist_ok=True)
    for name in sorted(os.listdir(source)):
        if name.endswith(".xls"):
            write_encrypted(source, name, os.path.join(target, name), Rc4Scheme(DEFAULT, 4, 128))


if __name__ == "__main__":
    main()
