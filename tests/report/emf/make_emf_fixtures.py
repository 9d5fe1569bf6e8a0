#!/usr/bin/python3
"""Writes the EMF pictures the EMF player's tests paint and compare with LibreOffice's
rendering of the same files.

usage: make_emf_fixtures.py [OUTDIR]   (default: the folder of this script)

- hand.emf          written record by record here, 100 x 50 mm, a reference device of
                    1,000 x 500 pixels; an anisotropic mapping makes the logical picture
                    2,000 x 1,000 units, in eight squares of 500 units:
                    top row: a red rectangle with a black pen; a green cross-hatched ellipse on
                    an opaque white background; a yellow triangle (16-bit polygon) moved into
                    place by the world transform; a magenta path of Béziers, filled;
                    bottom row: a cyan pie of the top-right quarter; a black square clipped to
                    its left half inside a saved and restored device context; an 8 x 8 bitmap
                    (red, green over blue, white) stretched over the square; the Japanese text
                    "日本語" in a large font.
- libreoffice.emf   a LibreOffice Draw page of shapes exported as EMF (needs soffice and
                    python3-uno): a red rectangle, a blue ellipse, a green triangle, a thick
                    black line and the text "日本語テキスト", on a page of 160 x 80 mm.
The files are committed; this script tells how they were made.
"""
import os
import struct
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def rec(kind, body=b""):
    return struct.pack("<II", kind, 8 + len(body)) + body


def rect(l, t, r, b):
    return struct.pack("<4i", l, t, r, b)


def color(r, g, b):
    return struct.pack("<4B", r, g, b, 0)


def hand_records():
    out = []
    add = out.append
    add(rec(17, struct.pack("<I", 8)))                           # SETMAPMODE anisotropic
    add(rec(9, struct.pack("<ii", 2000, 1000)))                  # SETWINDOWEXTEX
    add(rec(11, struct.pack("<ii", 1000, 500)))                  # SETVIEWPORTEXTEX
    add(rec(18, struct.pack("<I", 2)))                           # SETBKMODE opaque
    add(rec(38, struct.pack("<II", 1, 0) + struct.pack("<ii", 10, 0) + color(0, 0, 0)))
    add(rec(39, struct.pack("<II", 2, 0) + color(255, 0, 0) + struct.pack("<I", 0)))
    add(rec(37, struct.pack("<I", 1)))
    add(rec(37, struct.pack("<I", 2)))
    add(rec(43, rect(50, 50, 450, 450)))                         # RECTANGLE
    add(rec(39, struct.pack("<II", 3, 2) + color(0, 160, 0) + struct.pack("<I", 4)))
    add(rec(37, struct.pack("<I", 3)))
    add(rec(40, struct.pack("<I", 2)))                           # DELETEOBJECT red brush
    add(rec(42, rect(550, 50, 950, 450)))                        # ELLIPSE, hatched
    add(rec(37, struct.pack("<I", 0x80000008)))                  # NULL_PEN
    add(rec(39, struct.pack("<II", 4, 0) + color(255, 255, 0) + struct.pack("<I", 0)))
    add(rec(37, struct.pack("<I", 4)))
    add(rec(35, struct.pack("<6f", 1, 0, 0, 1, 1000, 0)))        # SETWORLDTRANSFORM
    add(rec(86, rect(0, 0, 0, 0) + struct.pack("<I", 3) +
            struct.pack("<6h", 50, 450, 250, 50, 450, 450)))     # POLYGON16
    add(rec(36, struct.pack("<6f", 1, 0, 0, 1, 0, 0) + struct.pack("<I", 1)))  # identity
    add(rec(39, struct.pack("<II", 5, 0) + color(255, 0, 255) + struct.pack("<I", 0)))
    add(rec(37, struct.pack("<I", 5)))
    add(rec(59))                                                 # BEGINPATH
    add(rec(27, struct.pack("<ii", 1550, 50)))                   # MOVETOEX
    add(rec(5, rect(0, 0, 0, 0) + struct.pack("<I", 6) +
            struct.pack("<12i", 1950, 50, 1950, 50, 1950, 450,
                        1550, 450, 1550, 450, 1550, 50)))        # POLYBEZIERTO
    add(rec(61))                                                 # CLOSEFIGURE
    add(rec(60))                                                 # ENDPATH
    add(rec(62, rect(0, 0, 0, 0)))                               # FILLPATH
    add(rec(39, struct.pack("<II", 6, 0) + color(0, 255, 255) + struct.pack("<I", 0)))
    add(rec(37, struct.pack("<I", 6)))
    add(rec(47, rect(0, 500, 500, 1000) + struct.pack("<4i", 500, 750, 250, 500)))  # PIE
    add(rec(33))                                                 # SAVEDC
    add(rec(30, rect(500, 500, 750, 1000)))                      # INTERSECTCLIPRECT
    add(rec(37, struct.pack("<I", 0x80000004)))                  # BLACK_BRUSH
    add(rec(43, rect(500, 500, 1000, 1000)))
    add(rec(34, struct.pack("<i", -1)))                          # RESTOREDC
    # 8 x 8 pixels in four quadrants (red, green over blue, white): LibreOffice smooths a
    # stretched bitmap, which blurs only a narrow band between quadrants this way.
    header = struct.pack("<IiiHHIIiiII", 40, 8, 8, 1, 24, 0, 192, 0, 0, 0, 0)
    blue, white, red, green = b"\xff\0\0", b"\xff\xff\xff", b"\0\0\xff", b"\0\xff\0"
    bits = (blue * 4 + white * 4) * 4 + (red * 4 + green * 4) * 4   # bottom-up rows
    fields = rect(0, 0, 0, 0) + struct.pack("<6i", 1000, 500, 0, 0, 8, 8)
    offset = 8 + len(fields) + 8 * 4
    fields += struct.pack("<8I", offset, len(header), offset + len(header), len(bits), 0,
                          0x00CC0020, 500, 500)
    add(rec(81, fields + header + bits))                         # STRETCHDIBITS
    face = "MS Gothic".encode("utf-16le").ljust(64, b"\0")
    logfont = struct.pack("<5i8B", -200, 0, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 0) + face
    add(rec(82, struct.pack("<I", 7) + logfont + bytes(320 - 92)))  # EXTCREATEFONTINDIRECTW
    add(rec(37, struct.pack("<I", 7)))
    add(rec(18, struct.pack("<I", 1)))                           # transparent
    add(rec(22, struct.pack("<I", 0)))                           # top left
    text = "日本語".encode("utf-16le")
    body = rect(0, 0, 0, 0) + struct.pack("<Iff", 1, 1, 1) + struct.pack("<ii", 1520, 650)
    offset = 8 + len(body) + 4 * 3 + 16 + 4
    body += struct.pack("<III", 3, offset, 0) + rect(0, 0, 0, 0)
    body += struct.pack("<I", offset + 8) + text + b"\0\0" + struct.pack("<3i", 160, 160, 160)
    add(rec(84, body))                                           # EXTTEXTOUTW
    add(rec(14, struct.pack("<III", 0, 16, 16)))                 # EOF
    return out


def emf_file(records):
    body = b"".join(records)
    head = rect(0, 0, 999, 499) + rect(0, 0, 10000, 5000) + struct.pack(
        "<IIIIHHIIIiiii", 0x464D4520, 0x10000, 0, 0, 8, 0, 0, 0, 0, 1000, 500, 100, 50)
    header = rec(1, head)
    total = len(header) + len(body)
    header = header[:8 + 40] + struct.pack("<III", 0x10000, total, len(records) + 1) + \
        header[8 + 52:]
    return header + body


def libreoffice_emf(path):
    sys.path.insert(0, os.path.join(HERE, "..", "..", "xls", "fixtures"))
    import uno
    from com.sun.star.awt import Point, Size
    from make_drawings import connect, prop
    with tempfile.TemporaryDirectory() as tmp:
        office, ctx = connect(tmp)
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        doc = desktop.loadComponentFromURL("private:factory/sdraw", "_blank", 0,
                                           (prop("Hidden", True),))
        page = doc.DrawPages.getByIndex(0)
        page.Width, page.Height = 16000, 8000
        page.BorderLeft = page.BorderRight = page.BorderTop = page.BorderBottom = 0

        def shape(kind, x, y, w, h, **props):
            s = doc.createInstance("com.sun.star.drawing." + kind)
            page.add(s)
            s.Position = Point(x, y)
            s.Size = Size(w, h)
            for key, value in props.items():
                setattr(s, key, value)
            return s
        shape("RectangleShape", 500, 500, 4000, 3000, FillColor=0xFF0000, LineStyle=0)
        shape("EllipseShape", 5500, 500, 4000, 3000, FillColor=0x0000FF, LineStyle=0)
        tri = shape("PolyPolygonShape", 10500, 500, 5000, 3000, FillColor=0x00A000,
                    LineStyle=0)
        tri.PolyPolygon = ((Point(10500, 3500), Point(13000, 500), Point(15500, 3500)),)
        shape("LineShape", 500, 5000, 6000, 0, LineWidth=200, LineColor=0)
        text = shape("TextShape", 8000, 4500, 7500, 3000)
        text.String = "日本語テキスト"
        text.CharHeight = 28
        text.CharHeightAsian = 28
        doc.storeToURL(uno.systemPathToFileUrl(os.path.abspath(path)),
                       (prop("FilterName", "draw_emf_Export"),))
        doc.close(True)
        try:
            desktop.terminate()
        except Exception:
            pass
        office.wait(timeout=30)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else HERE
    with open(os.path.join(out, "hand.emf"), "wb") as f:
        f.write(emf_file(hand_records()))
    libreoffice_emf(os.path.join(out, "libreoffice.emf"))


if __name__ == "__main__":
    main()
