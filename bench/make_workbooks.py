#!/usr/bin/python3
"""Writes benchmark workbooks: COUNT files of SHEETS sheets x ROWS rows x COLS columns.

usage: make_workbooks.py OUTDIR COUNT SHEETS ROWS COLS

Cells mix texts, whole and decimal numbers and dates, so that readers and printers meet the
usual kinds of content.
"""
import datetime
import os
import sys

import xlwt


def write_workbook(path, sheets, rows, cols, seed):
    book = xlwt.Workbook(encoding="utf-8")
    date_style = xlwt.easyxf(num_format_str="yyyy/mm/dd")
    money_style = xlwt.easyxf(num_format_str="#,##0.00")
    for s in range(sheets):
        sheet = book.add_sheet("Sheet%d" % (s + 1))
        for r in range(rows):
            row = sheet.row(r)
            for c in range(cols):
                value = (seed * 7919 + s * 104729 + r * 131 + c * 17) % 100000
                kind = c % 4
                if kind == 0:
                    row.write(c, "項目%d-%d" % (r + 1, c + 1))
                elif kind == 1:
                    row.write(c, value)
                elif kind == 2:
                    row.write(c, value / 100.0, money_style)
                else:
                    row.write(c, datetime.date(2005, 1, 1) + datetime.timedelta(days=value % 3650),
                              date_style)
    book.save(path)


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    outdir = sys.argv[1]
    count, sheets, rows, cols = (int(a) for a in sys.argv[2:])
    os.makedirs(outdir, exist_ok=True)
    for i in range(count):
        write_workbook(os.path.join(outdir, "book%03d.xls" % (i + 1)), sheets, rows, cols, i)


if __name__ == "__main__":
    main()
