#!/usr/bin/python3
"""Writes comments.xls, the comment printing fixture of the report printer's tests, with
LibreOffice.

usage: make_comment_fixture.py [OUTDIR]   (default: fixtures/ beside this script)

Needs LibreOffice (soffice), python3-uno and python3-olefile. The tests only read the
committed file. Pages are A4; "Displayed" and "AtEnd" have LibreOffice's default header (the
sheet name) and footer ("Page <n>"), "NoComments" neither.

Sheet "Displayed"  comments print as displayed. A1 "displayed-marker".
                   C4 a shown comment "Shown note bold", its last word bold;
                   F2 a hidden comment "Hidden note";
                   C30 a shown comment "Across the break" whose box, from D31, 4 cm by 2 cm,
                   straddles the manual page break above row 32: the second page holds
                   nothing but the box's lower part.
Sheet "AtEnd"      comments print at the end of the sheet. A1 "at-end-marker".
                   D2 "Note D2" hidden, B7 "Note B7" shown, A7 "Note A7" hidden, inserted in
                   that order.
Sheet "NoComments" comments do not print. A1 "none-marker".
                   B3 a shown comment "Not printed shown", D5 a hidden one "Not printed hidden".

LibreOffice has no "as displayed" choice of its own (it prints shown comments where they
stand either way), so the SETUP record of "Displayed" is set to it after saving.
"""
import os
import struct
import sys
import tempfile

import olefile
import uno
from com.sun.star.awt import Size
from com.sun.star.table import CellAddress

HERE = os.path.dirname(os.path.abspath(__file__))
# LibreOffice is started and reached as for the engine's drawing fixture.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(HERE, "..", "xls", "fixtures"))
from make_drawings import calc_document, save_xls  # noqa: E402

SETUP = 0x00A1
BOF = 0x0809
NOTES_SHOWN = 0x0020  # fNotes: comments print
NOTES_AT_END = 0x0200  # fEndNotes: ... as a list at the end


def comment(sheet, name, text, shown, bold_from=None, box_at=None):
    cell = sheet.getCellRangeByName(name)
    address = cell.CellAddress
    sheet.Annotations.insertNew(CellAddress(address.Sheet, address.Column, address.Row), text)
    cell.Annotation.IsVisible = shown
    if box_at is not None:
        box = cell.Annotation.AnnotationShape
        box.Position = sheet.getCellRangeByName(box_at).Position
        box.Size = Size(4000, 2000)
    if bold_from is not None:
        body = cell.Annotation.AnnotationShape.getText()
        cursor = body.createTextCursorByRange(body.getStart())
        cursor.goRight(bold_from, False)
        cursor.goRight(len(text) - bold_from, True)
        cursor.CharWeight = 150.0


def fill(doc):
    sheets = doc.Sheets
    sheets.getByIndex(0).Name = "Displayed"
    sheets.insertNewByName("AtEnd", 1)
    sheets.insertNewByName("NoComments", 2)
    styles = doc.StyleFamilies.getByName("PageStyles")
    # "Displayed" and "AtEnd" share the default style, header and footer included.
    styles.getByName(sheets.getByName("AtEnd").PageStyle).PrintAnnotations = True
    styles.insertByName("NoComments", doc.createInstance("com.sun.star.style.PageStyle"))
    sheets.getByName("NoComments").PageStyle = "NoComments"

    shown = sheets.getByName("Displayed")
    shown.getCellRangeByName("A1").setString("displayed-marker")
    comment(shown, "C4", "Shown note bold", True, bold_from=11)
    comment(shown, "F2", "Hidden note", False)
    comment(shown, "C30", "Across the break", True, box_at="D31")
    shown.getRows().getByIndex(31).IsStartOfNewPage = True

    end = sheets.getByName("AtEnd")
    end.getCellRangeByName("A1").setString("at-end-marker")
    comment(end, "D2", "Note D2", False)
    comment(end, "B7", "Note B7", True)
    comment(end, "A7", "Note A7", False)

    none = sheets.getByName("NoComments")
    none.getCellRangeByName("A1").setString("none-marker")
    comment(none, "B3", "Not printed shown", True)
    comment(none, "D5", "Not printed hidden", False)


def print_as_displayed(path, sheet_index):
    """Sets the comment flags of the SETUP record of the sheet at sheet_index to "as
    displayed". The record keeps its size, so the stream is rewritten in place."""
    ole = olefile.OleFileIO(path, write_mode=True)
    data = bytearray(ole.openstream("Workbook").read())
    position, sheet = 0, -1
    while position + 4 <= len(data):
        code, length = struct.unpack_from("<HH", data, position)
        if code == BOF and struct.unpack_from("<H", data, position + 6)[0] == 0x0010:
            sheet += 1
        if code == SETUP and sheet == sheet_index:
            flags_at = position + 4 + 10
            flags = struct.unpack_from("<H", data, flags_at)[0]
            flags = (flags | NOTES_SHOWN) & ~NOTES_AT_END
            struct.pack_into("<H", data, flags_at, flags)
            ole.write_stream("Workbook", bytes(data))
            ole.close()
            return
        position += 4 + length
    ole.close()
    raise SystemExit("no SETUP record for sheet %d" % sheet_index)


def main():
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "fixtures")
    path = os.path.abspath(os.path.join(outdir, "comments.xls"))
    with tempfile.TemporaryDirectory() as tmp:
        with calc_document(tmp) as (ctx, doc):
            fill(doc)
            save_xls(doc, path)
    print_as_displayed(path, 0)


if __name__ == "__main__":
    main()
