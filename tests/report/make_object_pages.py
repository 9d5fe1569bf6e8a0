#!/usr/bin/python3
"""Writes object_pages.xls, the drawing objects the report printer's tests print, with
LibreOffice.

usage: make_object_pages.py [OUTDIR]   (default: the folder of this script)

Needs LibreOffice (soffice) and python3-uno. The tests only read the committed file.
Every sheet: A4 portrait, LibreOffice's default margins, no header or footer.

Sheet "Objects" (A1 "objects-marker"; objects start in the cells named):
- B3  a PNG picture (64 x 32 pixels), 4 x 2 cm
- E3  a rectangle, red fill, blue line 1 mm; H3 a rounded rectangle, green fill
- B9  an ellipse, yellow fill; E9 a line with an arrowhead at its end, 0.5 mm wide
- H9  a rectangle turned 30 degrees, blue fill
- B14 a text box "box-text-marker" with "bold-run" in bold after it
- E14 custom shapes: a diamond, an isosceles triangle, a right arrow (F14, G14)
- B19 a check box "Agree" ticked, E19 an option button "Choice" chosen, H19 a button "Go"
- B22 a group box "Frame", E22 a label "label-marker", H22 a combo box showing "combo-value"
- B26 a text box "noprint-marker" that does not print; E26 a rectangle that does not print
- B30 a WMF picture, 4 x 2 cm: a window of 2,000 x 1,000 units, its left half a red square
Sheet "Reach": A1 "reach-marker" only, and a text box "far-box" anchored at K70: the printed
range grows to take it in, two pages wide and two tall.
Sheet "Across": A1 "across-marker", row 1 repeated as print title, and a purple rectangle with
the text "across-box" from B45 to D60, across the first page break.
"""
import os
import struct
import sys
import tempfile

import uno
from com.sun.star.awt import Point, Size
from com.sun.star.table import CellRangeAddress

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "xls", "fixtures"))
from make_drawings import calc_document, png_bytes, prop, save_xls  # noqa: E402


def wmf_bytes():
    """A placeable WMF: a 2,000 x 1,000 window at 1,000 units an inch, its left half red."""
    def record(function, *params):
        return struct.pack("<IH%dh" % len(params), 3 + len(params), function, *params)
    records = (record(0x020B, 0, 0) + record(0x020C, 1000, 2000) +
               struct.pack("<IHHIH", 7, 0x02FC, 0, 0x0000FF, 0) + record(0x012D, 0) +
               record(0x041B, 1000, 1000, 0, 0) + record(0x0000))
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(records)) // 2, 1, 7, 0)
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 2000, 1000, 1000, 0)
    checksum = 0
    for word in struct.unpack("<10H", placeable):
        checksum ^= word
    return placeable + struct.pack("<H", checksum) + header + records


class Sheet:
    def __init__(self, doc, ctx, sheet):
        self.doc, self.ctx, self.sheet, self.page = doc, ctx, sheet, sheet.DrawPage

    def add(self, kind, cell, w, h, **props):
        shape = self.doc.createInstance("com.sun.star.drawing." + kind)
        p = self.sheet.getCellRangeByName(cell).Position
        self.page.add(shape)
        shape.Position = Point(p.X + 100, p.Y + 50)
        shape.Size = Size(w, h)
        shape.Anchor = self.sheet.getCellRangeByName(cell)
        for k, v in props.items():
            setattr(shape, k, v)
        return shape

    def custom(self, cell, kind, **props):
        shape = self.add("CustomShape", cell, 1800, 1200, **props)
        shape.CustomShapeGeometry = (prop("Type", kind),)
        return shape

    def control(self, model_kind, cell, w, h, **props):
        model = self.ctx.ServiceManager.createInstanceWithContext(
            "com.sun.star.form.component." + model_kind, self.ctx)
        for k, v in props.items():
            setattr(model, k, v)
        shape = self.add("ControlShape", cell, w, h)
        shape.Control = model
        return shape


def objects_sheet(s, tmp):
    provider = s.ctx.ServiceManager.createInstanceWithContext(
        "com.sun.star.graphic.GraphicProvider", s.ctx)
    png = os.path.join(tmp, "picture.png")
    with open(png, "wb") as f:
        f.write(png_bytes(64, 32))
    graphic = provider.queryGraphic((prop("URL", uno.systemPathToFileUrl(png)),))
    s.add("GraphicObjectShape", "B3", 4000, 2000, Graphic=graphic)
    metafile = os.path.join(tmp, "picture.wmf")
    with open(metafile, "wb") as f:
        f.write(wmf_bytes())
    s.add("GraphicObjectShape", "B30", 4000, 2000, Graphic=provider.queryGraphic(
        (prop("URL", uno.systemPathToFileUrl(metafile)),)))
    s.add("RectangleShape", "E3", 3000, 1500, FillColor=0xFF0000, LineColor=0x0000FF,
          LineWidth=100)
    s.add("RectangleShape", "H3", 3000, 1500, FillColor=0x00C000, CornerRadius=400)
    s.add("EllipseShape", "B9", 3000, 1500, FillColor=0xFFFF00)
    s.add("LineShape", "E9", 4000, 1000, LineEndName="Arrow", LineEndWidth=300,
          LineWidth=50)
    turned = s.add("RectangleShape", "H9", 3000, 1000, FillColor=0x0000FF)
    turned.RotateAngle = 3000
    box = s.add("TextShape", "B14", 5000, 1200)
    box.setString("box-text-marker ")
    end = box.getText().createTextCursor()
    end.gotoEnd(False)
    box.getText().insertString(end, "bold-run", False)
    run = box.getText().createTextCursor()
    run.gotoEnd(False)
    run.goLeft(8, True)
    run.CharWeight = 150.0
    s.custom("E14", "diamond", FillColor=0xFF8000)
    s.custom("F14", "isosceles-triangle", FillColor=0x808080)
    s.custom("G14", "right-arrow", FillColor=0x00FFFF)
    s.control("CheckBox", "B19", 3000, 600, Label="Agree", State=1, DefaultState=1)
    s.control("RadioButton", "E19", 3000, 600, Label="Choice", State=1, DefaultState=1)
    s.control("CommandButton", "H19", 2500, 800, Label="Go", Printable=True)
    s.control("GroupBox", "B22", 4000, 1500, Label="Frame")
    s.control("FixedText", "E22", 3000, 600, Label="label-marker")
    s.control("ComboBox", "H22", 3000, 600, Text="combo-value", DefaultText="combo-value",
              Dropdown=True)
    hidden = s.add("TextShape", "B26", 4000, 1000, Printable=False)
    hidden.setString("noprint-marker")
    s.add("RectangleShape", "E26", 3000, 1000, FillColor=0xFF00FF, Printable=False)


def reach_sheet(s):
    box = s.add("TextShape", "K70", 3000, 1000)
    box.setString("far-box")


def across_sheet(doc, s):
    first = s.sheet.getCellRangeByName("B45").Position
    last = s.sheet.getCellRangeByName("D60").Position
    box = s.add("RectangleShape", "B45", last.X - first.X, last.Y - first.Y,
                FillColor=0x800080)
    box.setString("across-box")
    s.sheet.setTitleRows(CellRangeAddress(s.sheet.RangeAddress.Sheet, 0, 0, 1023, 0))
    s.sheet.PrintTitleRows = True
    s.sheet.getRows().getByIndex(70).getCellByPosition(0, 0).setString("across-end")


def main():
    outdir = sys.argv[1] if len(sys.argv) > 1 else HERE
    with tempfile.TemporaryDirectory() as tmp:
        with calc_document(tmp) as (ctx, doc):
            sheets = doc.Sheets
            sheets.getByIndex(0).Name = "Objects"
            sheets.insertNewByName("Reach", 1)
            sheets.insertNewByName("Across", 2)
            default = doc.StyleFamilies.getByName("PageStyles").getByName("Default")
            default.HeaderIsOn = False
            default.FooterIsOn = False
            for name in ("Objects", "Reach", "Across"):
                sheets.getByName(name).getCellByPosition(0, 0).setString(
                    name.lower() + "-marker")
            objects_sheet(Sheet(doc, ctx, sheets.getByName("Objects")), tmp)
            reach_sheet(Sheet(doc, ctx, sheets.getByName("Reach")))
            across_sheet(doc, Sheet(doc, ctx, sheets.getByName("Across")))
            save_xls(doc, os.path.join(outdir, "object_pages.xls"))


if __name__ == "__main__":
    main()
