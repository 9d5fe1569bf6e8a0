#!/usr/bin/python3
"""Writes the workbooks the report printer's tests print into OUTDIR.

usage: make_report_fixtures.py OUTDIR

report_pages.xls  page numbers run on across the sheets (no sheet sets a first page number);
                  every sheet's header is "&L&A&C&P/&N&Rhead-right", its footer
                  "&Cfoot-page-&P"; margins 0.75 in left and right, 1 in top and bottom, A4
                  portrait, Arial 10 as the default font.
    Cover    one page: A1 "cover-marker", A2 "請求書の合計" in ＭＳ Ｐゴシック, A3 "明朝の行" in
             ＭＳ 明朝
    Wide     12 columns 20 characters wide x 100 rows, cell "w-r<row>-c<column>" (from 1):
             4 columns and 54 rows a page, 6 pages, over then down (xlwt's page order)
    Fit      the same cells as "f-r<row>-c<column>", fitted to 1 page wide and 1 tall
    Titles   150 rows: row 1 "title-row-marker" repeated as print title, then
             "t-body-<row>": 3 pages
    Empty    nothing: no page
formats.xls       one page of borders, fills, alignments, merged cells, rotation, wrapping,
                  overflowing text, a number too wide for its cell and a fill character; A1
                  "formats-marker"
merge_split.xls   one sheet of 6 columns 30 characters wide, 3 columns a page: the merged
                  range A2:F2 holds "merged-across-pages", centred, across the page break
overflow.xls      A1 alone holds a text about one and a half pages wide: the printed range
                  widens to the columns it flows into, two pages wide
spill.xls         text flowing across page breaks and where pages start; every sheet's header
                  is "&A", columns 20 characters wide (4 a page) unless said otherwise.
    Flow     "mark" in A1, E1 and I1 (row 1 of each page); then a row a case, each text
             "<case> 000…" as wide as said: 2 left-aligned in A reaching F (one break), 3 in
             A reaching J (two), 4 right-aligned in L reaching G, 5 in L reaching C, 6
             centred in D reaching C and E, 7 centred in G reaching D and J, 8 as 3 but
             stopped by "filled" in D8, 9 as 3 but stopped by the empty merged area C9:D9,
             10 as 5 but stopped by "lfilled" in I10
    Only     A1 alone, reaching F: its second page holds nothing but the text
    Titles   print area A1:N4, print titles row 1 and column A: month names in B1:N1,
             labels in A2:A3, numbers in B2:D3, and in A4 a label reaching F
    FitColumn  print area B:B fitted to 2 pages wide and 3 tall; "fc-r<row>" in B1:B200
             and more in D, outside the area
    Offset   cells in C3:F20 only: the printed range starts at A1, so C:D print on the
             first page and E:F on the second
older_picture.xls a bitmap of 48 x 24 pixels, its left half red and its right half blue,
                  inserted at B3 through insert_bitmap: the older picture form (an OBJ record
                  and IMDATA records, no drawing layer); A1 "older-picture-marker"
"""
import os
import struct
import sys
import tempfile

import xlwt
from xlwt import BIFFRecords, Workbook as WorkbookModule

MARGINS = dict(left_margin=0.75, right_margin=0.75, top_margin=1.0, bottom_margin=1.0)
HEADER = "&L&A&C&P/&N&Rhead-right"
FOOTER = "&Cfoot-page-&P"

# xlwt always marks a sheet's first page number as set; these books number automatically.
_setup_record = BIFFRecords.SetupPageRecord


class AutomaticNumberSetup(_setup_record):
    def __init__(self, paper, scaling, start_num, fit_width, fit_height, options, *rest):
        super().__init__(paper, scaling, start_num, fit_width, fit_height, options & ~0x80,
                         *rest)


PRINT_AREA = 0x06
PRINT_TITLES = 0x07


def builtin_name(code, sheet_index, ixti, areas):
    """A NAME record for a sheet's built-in name: one area (first row, last row, first column,
    last column), or the union of several."""
    parts = [struct.pack("<BHHHHH", 0x3B, ixti, *area) for area in areas]
    formula = parts[0]
    if len(parts) > 1:
        body = b"".join(parts) + b"\x10" * (len(parts) - 1)
        formula = struct.pack("<BH", 0x29, len(body)) + body
    data = struct.pack("<HBBHHHBBBB", 0x0020, 0, 1, len(formula), 0, sheet_index + 1, 0, 0, 0, 0)
    data += b"\x00" + bytes([code]) + formula
    return struct.pack("<HH", 0x0018, len(data)) + data


class NamedWorkbook(xlwt.Workbook):
    """A workbook whose sheets may have print areas and print titles: a list of (sheet index,
    PRINT_AREA or PRINT_TITLES, [areas])."""

    def __init__(self, names):
        super().__init__(encoding="utf-8")
        self.names = names

    def get_biff_data(self):
        refs = self._Workbook__sheet_refs
        if self._ownbook_supbookx is None:
            self.setup_ownbook()
        for index, _, _ in self.names:
            key = (self._ownbook_supbookx, index, index)
            if key not in refs:
                refs[key] = len(refs)
        original = self._Workbook__all_links_rec

        def links():
            # Sorted as the file format asks: by name, then by sheet.
            names = b"".join(
                builtin_name(code, index, refs[(self._ownbook_supbookx, index, index)], areas)
                for index, code, areas in sorted(self.names, key=lambda name: name[1::-1]))
            return original() + names

        self._Workbook__all_links_rec = links
        try:
            return super().get_biff_data()
        finally:
            del self._Workbook__all_links_rec


def page_setup(sheet):
    for name, value in MARGINS.items():
        setattr(sheet, name, value)
    sheet.header_margin = 0.5
    sheet.footer_margin = 0.5
    sheet.print_centered_horz = False
    sheet.paper_size_code = 9
    # xlwt's setters for these expect bytes.
    sheet._Worksheet__header_str = HEADER
    sheet._Worksheet__footer_str = FOOTER


def grid(sheet, prefix, rows, cols):
    for c in range(cols):
        sheet.col(c).width = 20 * 256
    for r in range(rows):
        for c in range(cols):
            sheet.write(r, c, "%s-r%d-c%d" % (prefix, r + 1, c + 1))


def report_pages(path):
    book = NamedWorkbook([(3, PRINT_TITLES, [(0, 0, 0, 0xFF)])])
    cover = book.add_sheet("Cover")
    page_setup(cover)
    cover.write(0, 0, "cover-marker")
    cover.write(1, 0, "請求書の合計", xlwt.easyxf("font: name ＭＳ Ｐゴシック, height 220"))
    cover.write(2, 0, "明朝の行", xlwt.easyxf("font: name ＭＳ 明朝, height 220"))

    wide = book.add_sheet("Wide")
    page_setup(wide)
    grid(wide, "w", 100, 12)

    fit = book.add_sheet("Fit")
    page_setup(fit)
    grid(fit, "f", 100, 12)
    fit.fit_num_pages = 1
    fit.fit_width_to_pages = 1
    fit.fit_height_to_pages = 1

    titles = book.add_sheet("Titles")
    page_setup(titles)
    titles.write(0, 0, "title-row-marker")
    for r in range(1, 150):
        titles.write(r, 0, "t-body-%d" % (r + 1))

    empty = book.add_sheet("Empty")
    page_setup(empty)

    BIFFRecords.SetupPageRecord = AutomaticNumberSetup
    try:
        book.save(path)
    finally:
        BIFFRecords.SetupPageRecord = _setup_record


def formats(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Formats")
    page_setup(sheet)
    sheet.print_grid = True
    sheet.write(0, 0, "formats-marker")
    for c in range(8):
        sheet.col(c).width = 10 * 256
    styles = ["thin", "medium", "dashed", "dotted", "thick", "double", "hair",
              "medium_dashed", "thin_dash_dotted", "medium_dash_dotted", "thin_dash_dot_dotted",
              "medium_dash_dot_dotted", "slanted_medium_dash_dotted"]
    for i, style in enumerate(styles):
        row = 2 + (i // 4) * 2
        col = (i % 4) * 2
        sheet.write(row, col, style, xlwt.easyxf(
            "borders: left %s, right %s, top %s, bottom %s, left_colour red, right_colour red,"
            " top_colour blue, bottom_colour blue" % ((style,) * 4)))
    fills = ["solid_pattern", "fine_dots", "alt_bars", "sparse_dots", "thick_horz_bands",
             "thick_vert_bands", "thick_backward_diag", "thick_forward_diag", "big_spots",
             "bricks", "thin_horz_bands", "thin_vert_bands", "thin_backward_diag",
             "thin_forward_diag", "squares", "diamonds"]
    for i, fill in enumerate(fills):
        sheet.write(10 + i // 8, i % 8, "", xlwt.easyxf(
            "pattern: pattern %s, fore_colour light_blue, back_colour yellow" % fill))
    sheet.write(13, 0, "left", xlwt.easyxf("align: horiz left"))
    sheet.write(13, 1, "centre", xlwt.easyxf("align: horiz center"))
    sheet.write(13, 2, "right", xlwt.easyxf("align: horiz right"))
    sheet.write(13, 3, "fill", xlwt.easyxf("align: horiz filled"))
    sheet.write(13, 4, "indent", xlwt.easyxf("align: horiz left, indent 2"))
    sheet.write(13, 5, 12345, xlwt.easyxf(num_format_str='#,##0'))
    sheet.write(13, 6, True)
    sheet.write(14, 0, "top", xlwt.easyxf("align: vert top"))
    sheet.write(14, 1, "middle", xlwt.easyxf("align: vert center"))
    sheet.write(14, 2, "bottom", xlwt.easyxf("align: vert bottom"))
    sheet.row(14).height = 600
    sheet.row(14).height_mismatch = True
    sheet.write(16, 0, "This text overflows into the empty cells to its right")
    sheet.write(17, 0, "This text stops at the next cell")
    sheet.write(17, 2, "next")
    sheet.write(18, 3, "Right-aligned text flows left", xlwt.easyxf("align: horiz right"))
    sheet.write(19, 0, 12345678901234.5, xlwt.easyxf(num_format_str='#,##0.00'))
    sheet.write(19, 1, 1234.5, xlwt.easyxf(num_format_str='_(* #,##0.00_);_(* (#,##0.00);_(* "-"??_)'))
    sheet.write(19, 2, 42, xlwt.easyxf(num_format_str='*-0'))
    sheet.write(20, 0, "Wrapped text in one cell that is long enough to wrap",
                xlwt.easyxf("align: wrap on, vert top"))
    sheet.row(20).height = 900
    sheet.row(20).height_mismatch = True
    sheet.write(20, 1, "45°", xlwt.easyxf("align: rotation 45"))
    sheet.write(20, 2, "-45°", xlwt.easyxf("align: rotation -45"))
    sheet.write(20, 3, "90°", xlwt.easyxf("align: rotation 90"))
    sheet.write(20, 4, "縦書", xlwt.easyxf("align: rotation stacked"))
    sheet.write(20, 5, "Shrink to fit this text", xlwt.easyxf("align: shrink_to_fit on"))
    sheet.write_merge(22, 23, 0, 3, "merged and centred", xlwt.easyxf(
        "align: horiz center, vert center; borders: left thick, right thick, top thick,"
        " bottom thick"))
    sheet.write(22, 4, "across", xlwt.easyxf("align: horiz centre_across_selection"))
    sheet.write(22, 5, "", xlwt.easyxf("align: horiz centre_across_selection"))
    sheet.write(24, 0, "red bold", xlwt.easyxf("font: bold on, colour red"))
    sheet.write(24, 1, "italic", xlwt.easyxf("font: italic on"))
    sheet.write(24, 2, "underline", xlwt.easyxf("font: underline single"))
    sheet.write(24, 3, "struck", xlwt.easyxf("font: struck_out on"))
    sheet.write(24, 4, "Times", xlwt.easyxf("font: name Times New Roman"))
    sheet.write(24, 5, "Courier", xlwt.easyxf("font: name Courier New"))
    sheet.write(24, 6, "ゴシック", xlwt.easyxf("font: name ＭＳ ゴシック"))
    sheet.write(24, 7, "diagonal", xlwt.easyxf("borders: diag thin, need_diag1 on, need_diag2 on"))
    book.save(path)


def merge_split(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Merge")
    page_setup(sheet)
    for c in range(6):
        sheet.col(c).width = 30 * 256
        sheet.write(0, c, "m-col-%d" % (c + 1))
    sheet.write_merge(1, 1, 0, 5, "merged-across-pages", xlwt.easyxf("align: horiz center"))
    book.save(path)


def overflow(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Overflow")
    page_setup(sheet)
    sheet.write(0, 0, "overflow-marker " + "flows on " * 15 + "overflow-end")
    book.save(path)


def text_of(case, points):
    """A text of Arial 10 about `points` wide: the case's name, then digits of 5.56 points."""
    return case + " " + "0" * int((points - len(case) * 5.6 - 2.8) / 5.56)


def spill(path):
    # A column of 20 characters is 105 points (140 pixels), 102 of them room for text:
    # a text of 575 points reaches 4.5 columns past its own, one of 992 points 8.5, one of
    # 200 points centred 0.9 each way, one of 622 points centred 2.5 each way.
    book = NamedWorkbook([(2, PRINT_AREA, [(0, 3, 0, 13)]),
                          (2, PRINT_TITLES, [(0, 0xFFFF, 0, 0), (0, 0, 0, 0xFF)]),
                          (3, PRINT_AREA, [(0, 0xFFFF, 1, 1)])])

    def sheet_of(name, columns):
        sheet = book.add_sheet(name)
        page_setup(sheet)
        sheet._Worksheet__header_str = "&A"
        sheet._Worksheet__footer_str = ""
        for c in range(columns):
            sheet.col(c).width = 20 * 256
        return sheet

    right = xlwt.easyxf("align: horiz right")
    centre = xlwt.easyxf("align: horiz center")
    flow = sheet_of("Flow", 12)
    for c in (0, 4, 8):
        flow.write(0, c, "mark")
    flow.write(1, 0, text_of("right-one", 575))
    flow.write(2, 0, text_of("right-two", 992))
    flow.write(3, 11, text_of("left-one", 575), right)
    flow.write(4, 11, text_of("left-two", 992), right)
    flow.write(5, 3, text_of("centre-one", 200), centre)
    flow.write(6, 6, text_of("centre-two", 622), centre)
    flow.write(7, 0, text_of("stop-filled", 992))
    flow.write(7, 3, "filled")
    flow.write(8, 0, text_of("stop-merged", 992))
    flow.write_merge(8, 8, 2, 3, "")
    flow.write(9, 11, text_of("stop-left", 992), right)
    flow.write(9, 8, "lfilled")

    only = sheet_of("Only", 12)
    only.write(0, 0, text_of("only-spill", 575))

    titles = sheet_of("Titles", 14)
    for c in range(1, 14):
        titles.write(0, c, "month-%d" % c)
    for r in range(1, 3):
        titles.write(r, 0, "label-%d" % r)
        for c in range(1, 4):
            titles.write(r, c, r * c)
    titles.write(3, 0, text_of("title-label", 575))

    fit = sheet_of("FitColumn", 0)
    for r in range(200):
        fit.write(r, 1, "fc-r%d" % (r + 1))
        fit.write(r, 3, "outside-%d" % (r + 1))
    fit.fit_num_pages = 1
    fit.fit_width_to_pages = 2
    fit.fit_height_to_pages = 3

    offset = sheet_of("Offset", 8)
    for r in range(2, 20):
        for c in range(2, 6):
            offset.write(r, c, "o-r%d-c%d" % (r + 1, c + 1))
    book.save(path)


def older_picture(path):
    width, height = 48, 24
    row = b"".join(b"\x00\x00\xff" if x < width // 2 else b"\xff\x00\x00" for x in range(width))
    pixels = row * height  # rows are whole words: 144 bytes
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    bmp = b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 54) + info + pixels
    book = xlwt.Workbook()
    sheet = book.add_sheet("Picture")
    sheet.write(0, 0, "older-picture-marker")
    with tempfile.NamedTemporaryFile(suffix=".bmp") as f:
        f.write(bmp)
        f.flush()
        sheet.insert_bitmap(f.name, 2, 1)
    book.save(path)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    report_pages(os.path.join(outdir, "report_pages.xls"))
    formats(os.path.join(outdir, "formats.xls"))
    merge_split(os.path.join(outdir, "merge_split.xls"))
    overflow(os.path.join(outdir, "overflow.xls"))
    spill(os.path.join(outdir, "spill.xls"))
    older_picture(os.path.join(outdir, "older_picture.xls"))


if __name__ == "__main__":
    main()
