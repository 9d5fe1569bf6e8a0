#!/usr/bin/python3
"""Writes the workbooks the tests print into OUTDIR.

usage: make_fixtures.py OUTDIR

three_sheets.xls  sheets Alpha, Beta, Gamma, one page each; A1 holds "<name>-sheet-marker"
two_sheets.xls    sheets First (one page) and Second (two pages: a manual break after row 10;
                  "second-sheet-top" above it, "second-sheet-bottom" below)
hidden_sheets.xls sheets Shown (visible), Hidden (hidden), Secret (very hidden) and Last
                  (visible), one page each; A1 holds "shown-first-marker", "hidden-sheet-marker",
                  "very-hidden-sheet-marker" and "shown-last-marker"
long_sheet.xls    sheet Long: 5000 rows of text, a hundred pages and more
corrupt.xls       the first 4096 bytes of three_sheets.xls
random.xls        4096 bytes of noise
japanese.xls      2009-07-01 in built-in date format 14 (A1) and in the era format
                  ggge"年"m"月"d"日" without a locale prefix, in ＭＳ 明朝 (A2); "Gothic
                  ゴシック体" in ＭＳ Ｐゴシック (A3); "Mincho 明朝体" in ＭＳ 明朝 (A4)
macro_on_open.xls an OpenDocument spreadsheet under an .xls name whose open event runs a
                  Basic macro writing "macro ran" into the file that TESSALY_MACRO_MARKER names;
                  A1 holds "macro-workbook-marker"
"""
import datetime
import os
import random
import sys
import zipfile

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


def long_sheet(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Long")
    for row in range(5000):
        sheet.write(row, 0, "long-row-%d" % row)
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


def japanese(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("和暦")
    day = datetime.date(2009, 7, 1)
    mincho = "font: name ＭＳ 明朝"
    sheet.write(0, 0, day, xlwt.easyxf(num_format_str="M/D/YY"))
    sheet.write(1, 0, day, xlwt.easyxf(mincho, num_format_str='ggge"年"m"月"d"日"'))
    sheet.write(2, 0, "Gothic ゴシック体", xlwt.easyxf("font: name ＭＳ Ｐゴシック"))
    sheet.write(3, 0, "Mincho 明朝体", xlwt.easyxf(mincho))
    sheet.col(0).width = 256 * 30
    book.save(path)


MACRO_CONTENT = """<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:script="urn:oasis:names:tc:opendocument:xmlns:script:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink" xmlns:dom="http://www.w3.org/2001/xml-events"
 xmlns:ooo="http://openoffice.org/2004/office"
 office:version="1.3">
<office:scripts><office:event-listeners>
<script:event-listener script:language="ooo:script" script:event-name="dom:load"
 xlink:type="simple"
 xlink:href="vnd.sun.star.script:Standard.Marker.WriteMarker?language=Basic&amp;location=document"/>
</office:event-listeners></office:scripts>
<office:body><office:spreadsheet><table:table table:name="Sheet1"><table:table-row>
<table:table-cell office:value-type="string"><text:p>macro-workbook-marker</text:p></table:table-cell>
</table:table-row></table:table></office:spreadsheet></office:body>
</office:document-content>
"""

MACRO_MANIFEST = """<?xml version="1.0" encoding="UTF-8"?>
<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"
 manifest:version="1.3">
<manifest:file-entry manifest:full-path="/" manifest:version="1.3"
 manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/>
<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>
<manifest:file-entry manifest:full-path="Basic/script-lc.xml" manifest:media-type="text/xml"/>
<manifest:file-entry manifest:full-path="Basic/Standard/script-lb.xml"
 manifest:media-type="text/xml"/>
<manifest:file-entry manifest:full-path="Basic/Standard/Marker.xml"
 manifest:media-type="text/xml"/>
</manifest:manifest>
"""

MACRO_LIBRARIES = """<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE library:libraries PUBLIC "-//OpenOffice.org//DTD OfficeDocument 1.0//EN" "libraries.dtd">
<library:libraries xmlns:library="http://openoffice.org/2000/library"
 xmlns:xlink="http://www.w3.org/1999/xlink">
<library:library library:name="Standard" library:link="false"/>
</library:libraries>
"""

MACRO_LIBRARY = """<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE library:library PUBLIC "-//OpenOffice.org//DTD OfficeDocument 1.0//EN" "library.dtd">
<library:library xmlns:library="http://openoffice.org/2000/library" library:name="Standard"
 library:readonly="false" library:passwordprotected="false">
<library:element library:name="Marker"/>
</library:library>
"""

MACRO_MODULE = """<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE script:module PUBLIC "-//OpenOffice.org//DTD OfficeDocument 1.0//EN" "module.dtd">
<script:module xmlns:script="http://openoffice.org/2000/script" script:name="Marker"
 script:language="StarBasic">Sub WriteMarker
  Dim n As Integer
  n = FreeFile
  Open Environ(&quot;TESSALY_MACRO_MARKER&quot;) For Output As #n
  Print #n, &quot;macro ran&quot;
  Close #n
End Sub
</script:module>
"""


def macro_on_open(path):
    # Written entry by entry with a fixed date, so that the file is the same at every build.
    def entry(name):
        return zipfile.ZipInfo(name, (1980, 1, 1, 0, 0, 0))

    with zipfile.ZipFile(path, "w") as package:
        # The media type comes first and uncompressed, as the package format requires.
        package.writestr(entry("mimetype"), "application/vnd.oasis.opendocument.spreadsheet",
                         compress_type=zipfile.ZIP_STORED)
        for name, text in (("content.xml", MACRO_CONTENT),
                           ("META-INF/manifest.xml", MACRO_MANIFEST),
                           ("Basic/script-lc.xml", MACRO_LIBRARIES),
                           ("Basic/Standard/script-lb.xml", MACRO_LIBRARY),
                           ("Basic/Standard/Marker.xml", MACRO_MODULE)):
            package.writestr(entry(name), text, compress_type=zipfile.ZIP_DEFLATED)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    three_sheets(os.path.join(outdir, "three_sheets.xls"))
    two_sheets(os.path.join(outdir, "two_sheets.xls"))
    hidden_sheets(os.path.join(outdir, "hidden_sheets.xls"))
    long_sheet(os.path.join(outdir, "long_sheet.xls"))
    japanese(os.path.join(outdir, "japanese.xls"))
    macro_on_open(os.path.join(outdir, "macro_on_open.xls"))
    with open(os.path.join(outdir, "three_sheets.xls"), "rb") as whole:
        head = whole.read(4096)
    with open(os.path.join(outdir, "corrupt.xls"), "wb") as out:
        out.write(head)
    noise = random.Random(20050401)
    with open(os.path.join(outdir, "random.xls"), "wb") as out:
        out.write(bytes(noise.randrange(256) for _ in range(4096)))


if __name__ == "__main__":
    main()
