#!/usr/bin/python3
"""Writes the workbooks the tests print into OUTDIR.

usage: make_fixtures.py OUTDIR

three_sheets.xls  sheets Alpha, Beta, Gamma, one page each; A1 holds "<name>-sheet-marker"
two_sheets.xls    sheets First (one page) and Second (two pages: a manual break after row 10;
                  "second-sheet-top" above it, "second-sheet-bottom" below)
hidden_sheets.xls sheets Shown (visible), Hidden (hidden), Secret (very hidden) and Last
                  (visible), one page each; A1 holds "shown-first-marker", "hidden-sheet-marker",
                  "very-hidden-sheet-marker" and "shown-last-marker"
corrupt.xls       the first 4096 bytes of three_sheets.xls
random.xls        4096 bytes of noise
"""
import os
import random
import sys

import xlwt


def three_sheets(path):
    book = xlwt.Workbook(encoding="utf-8")
    for name in ("Alpha", "Beta", "Gamma"):
        sheet = book.add_sheet(name)
        sheet.write(0, 0, "%s-sheet-marker" % name.lower())
        for row in range(1, 6):
            sheet.write(row, 0, "行%d" % row)
            sheet.write(row, 2, row * 10)
    book.save(path)


def two_sheets(path):
    book = xlwt.Workbook(encoding="utf-8")
    first = book.add_sheet("First")
    first.write(0, 0, "first-sheet-marker")
    second = book.add_sheet("Second")
    for row in range(20):
        second.write(row, 0, "second-sheet-top" if row < 10 else "second-sheet-bottom")
        second.write(row, 2, row)
    second.horz_page_breaks = [(10, 0, 255)]
    book.save(path)


def hidden_sheets(path):
    book = xlwt.Workbook(encoding="utf-8")
    # BOUNDSHEET's visibility: 0 visible, 1 hidden, 2 very hidden.
    for name, marker, visibility in (("Shown", "shown-first-marker", 0),
                                     ("Hidden", "hidden-sheet-marker", 1),
                                     ("Secret", "very-hidden-sheet-marker", 2),
                                     ("Last", "shown-last-marker", 0)):
        sheet = book.add_sheet(name)
        sheet.write(0, 0, marker)
        sheet.visibility = visibility
    book.save(path)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    three_sheets(os.path.join(outdir, "three_sheets.xls"))
    two_sheets(os.path.join(outdir, "two_sheets.xls"))
    hidden_sheets(os.path.join(outdir, "hidden_sheets.xls"))
    with open(os.path.join(outdir, "three_sheets.xls"), "rb") as whole:
        head = whole.read(4096)
    with open(os.path.join(outdir, "corrupt.xls"), "wb") as out:
        out.write(head)
    noise = random.Random(20050401)
    with open(os.path.join(outdir, "random.xls"), "wb") as out:
        out.write(bytes(noise.randrange(256) for _ in range(4096)))


if __name__ == "__main__":
    main()
