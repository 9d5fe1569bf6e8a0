#!/usr/bin/python3
"""Writes chart benchmark workbooks with LibreOffice: COUNT files of one sheet holding a table
of twelve months x three series and two charts over it, a clustered column chart and a line
chart, placed beside the table.

usage: make_chart_workbooks.py OUTDIR COUNT

Needs LibreOffice (soffice) and python3-uno. Starting LibreOffice takes seconds, so it writes
one workbook and copies it COUNT times under different names: the files are alike, which is
what a timing of the print paths wants.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.awt import Rectangle
from com.sun.star.beans import PropertyValue
from com.sun.star.table import CellRangeAddress

MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
SERIES = ["North", "South", "West"]
# diagram service, position and size in 1/100 mm
CHARTS = [("BarDiagram", Rectangle(0, 7000, 7500, 7000)),
          ("LineDiagram", Rectangle(8000, 7000, 7500, 7000))]


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def connect(tmp):
    pipe = "tessaly_chartbench_%d" % os.getpid()
    profile = uno.systemPathToFileUrl(os.path.join(tmp, "profile"))
    office = subprocess.Popen(["soffice", "--headless", "--invisible", "--norestore",
                               "--nologo", "--nodefault", "-env:UserInstallation=" + profile,
                               "--accept=pipe,name=%s;urp;" % pipe])
    resolver = uno.getComponentContext().ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", uno.getComponentContext())
    for _ in range(120):
        try:
            return office, resolver.resolve(
                "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
        except Exception:
            time.sleep(0.5)
    office.kill()
    raise SystemExit("LibreOffice did not answer")


def fill_data(sheet):
    sheet.getCellByPosition(0, 0).setString("Month")
    for column, name in enumerate(SERIES, start=1):
        sheet.getCellByPosition(column, 0).setString(name)
    for row, month in enumerate(MONTHS, start=1):
        sheet.getCellByPosition(0, row).setString(month)
        for column in range(1, len(SERIES) + 1):
            sheet.getCellByPosition(column, row).setValue((row * 37 + column * 53) % 90 + 10)


def add_charts(sheet):
    area = CellRangeAddress(0, 0, 0, len(SERIES), len(MONTHS))
    for index, (service, place) in enumerate(CHARTS):
        name = "chart%d" % (index + 1)
        sheet.Charts.addNewByName(name, place, (area,), True, True)
        chart = sheet.Charts.getByName(name).EmbeddedObject
        chart.setDiagram(chart.createInstance("com.sun.star.chart." + service))
        chart.HasLegend = True
        chart.HasMainTitle = True
        chart.Title.String = "Sales by month"


def write_workbook(path, tmp):
    office, ctx = connect(tmp)
    try:
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0,
                                           (prop("Hidden", True),))
        sheet = doc.Sheets.getByIndex(0)
        sheet.Name = "Sales"
        fill_data(sheet)
        add_charts(sheet)
        doc.storeToURL(uno.systemPathToFileUrl(path), (prop("FilterName", "MS Excel 97"),))
        doc.close(True)
        try:
            desktop.terminate()
        except Exception:
            pass
    finally:
        try:
            office.wait(timeout=30)
        except subprocess.TimeoutExpired:
            office.kill()


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    outdir, count = sys.argv[1], int(sys.argv[2])
    os.makedirs(outdir, exist_ok=True)
    first = os.path.join(outdir, "chart001.xls")
    with tempfile.TemporaryDirectory() as tmp:
        write_workbook(first, tmp)
    for i in range(2, count + 1):
        shutil.copyfile(first, os.path.join(outdir, "chart%03d.xls" % i))


if __name__ == "__main__":
    main()
