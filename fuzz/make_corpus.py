#!/usr/bin/python3
"""Writes the fuzz target's regression corpus: inputs that found faults, or that sit on the
edge of a check, each run once by `scripts/fuzz.sh --check` (and so by the test suite).

usage: make_corpus.py [OUTDIR]   (default: corpus/ next to this script)

The files are committed; this script tells how each was made, from the committed fixtures of
tests/xls/fixtures, and writes the same bytes every time.

- libgsf-root-sibling.xls         dates1904.xls whose root directory entry has a right sibling,
                                  a file entry. libgsf reads the sibling with no parent and never
                                  frees it: the leak that lsan.supp suppresses, which the fuzzer
                                  found and whose report only matches with full leak stacks.
- stream-beyond-container.xls     formats.xls whose workbook stream claims the whole file's size
                                  in sectors, more than its chain holds:
                                  libgsf cannot read all of it.
- container-without-streams.xls   dates1904.xls whose root names an empty directory slot as its
                                  child: libgsf drops it and the root has no streams at all.
- number-overruns-by-N.stream     bare workbook streams (N = 1, 4) whose last record, a NUMBER,
                                  claims N bytes more than the stream holds: a length check that
                                  lets it through reads the number beyond the input.
- number-ends-at-stream-end.stream  the same workbook whole: the NUMBER, then the sheet's EOF,
                                  which ends exactly at the end of the stream.
- encrypted-*.stream              bare workbook streams of the encrypted fixtures, damaged where
                                  decryption reads: a FILEPASS cut inside its RC4 header or left
                                  empty (Excel 95), a CryptoAPI header claiming 2 GB, and a
                                  stream cut inside an encrypted record past the first re-keying.

Page setups that a file may hold but no dialog would make, each a bare one-sheet workbook
stream with a few values, to be laid out and painted:
- setup-scale-0.stream, setup-scale-400.stream   the smallest and largest scale fields, with
                                  headings, gridlines and a header of page numbers.
- setup-fit-0x0.stream            fit to 0 by 0 pages over a whole-column print area.
- setup-fit-32767.stream          fit to 32,767 by 32,767 pages over the whole sheet.
- setup-wide-margins.stream       every margin 99 inches, wider than any paper.
- setup-thousand-breaks.stream    1,000 row breaks and 255 column breaks on a sparse sheet.
- setup-titles-whole-sheet.stream print titles of every row and of all columns but the last.
- setup-titles-nearly-every-row.stream  print titles of all rows but the last ten: taller than
                                  any page, they are not repeated.
- setup-area-past-last-row.stream a print area of the whole sheet, rows as tall and columns as
                                  wide as the file can make them: 16.7 million pages laid out,
                                  of which two print.
- setup-merged-every-page.stream  the same sheet with A1 merged over the whole sheet, and a
                                  hundred more merged ranges across it: every page prints.
- drawing-*.stream                bare workbook streams with a cell and a damaged drawing layer:
                                  a shape's property table that overruns its shape
                                  (-overrun), groups nested 64 deep (-nesting), and a shape
                                  naming a picture past the store whose one picture is a
                                  compressed metafile claiming 4 GiB (-store). The drawing
                                  is lost from the damage on; the cell never is. Three more
                                  print: a picture whose bitmap claims 30,000 pixels square
                                  and holds 12 bytes (-dib), a turned rectangle anchored
                                  past the sheet's last cell (-far), and a picture whose
                                  metafile has a record longer than the file (-wmf).
                                  Three hold the EMF player's hand-made picture
                                  (tests/report/emf) with records damaged after it: counts,
                                  offsets and regions past their records, a user-styled pen
                                  of a billion dashes, contexts restored that were never
                                  saved and 200 saved (-emf-records); a bitmap claiming
                                  30,000 pixels square, transforms of 1e30 and not a number,
                                  a font 2^31 units high (-emf-huge); the picture cut inside
                                  its last records (-emf-cut). -emf-glyphs is -emf-huge with the
                                  four bytes changed that the fuzzer changed when it found glyphs that Qt's
                                  FreeType engine fails to render and then reads as a null
                                  bitmap: the hand picture's font 1,048,576 units wide (and a
                                  letter of its name changed), a world transform's M21 the
                                  smallest float, a MOVETOEX turned into SETTEXTCOLOR.
- chart-*.stream                  the bare workbook stream of tests/xls/fixtures/charts.xls with
                                  its first chart damaged: a VALUERANGE cut to 20 bytes (-cut),
                                  every END turned into an unknown record (-unclosed) or into a
                                  BEGIN (-deep), its CHARTFORMAT turned into an unknown record
                                  and its series naming chart group 32767 (-groups), cached
                                  values at the last point and series a chart can name
                                  (-cache), and its series referring to whole columns across
                                  the sheet (-whole-columns). The chart keeps what was read;
                                  the workbook is read.
- comments-box-whole-sheet.stream the bare workbook stream of the report tests' comments.xls
                                  with its first shown comment's box, printed as displayed,
                                  grown over the whole sheet: the printed range takes in every
                                  row and column, tens of thousands of pages; its sheet listing
                                  comments at the end paints the list too.
- hfpicture-*.stream              a sheet whose header and footer print &G in every section, its
                                  header and footer picture records damaged in turn: a picture
                                  2^31 pixels square (-huge) or of negative width (-negative), a
                                  shape name claiming 4 GiB (-name-overrun), an anchor of 4 bytes
                                  (-anchor-short), a picture the store lacks (-pib-far), a record
                                  shorter than its header (-record-short), a store cut inside its
                                  continued record (-store-cut), a drawing cut across two records
                                  (-drawing-continued-cut). The cell prints; &G prints what was
                                  read whole.
- objects95-*.stream              bare Excel 5.0/95 workbook streams with a cell and a damaged
                                  object of the older OBJ form: a picture whose IMDATA claims
                                  4 GiB (-imdata-overrun), a text box whose text claims more than
                                  its record (-text-overrun), an OBJ cut after its type (-cut).
                                  The object or picture is lost; the cell and the objects after
                                  it are not. Three more print: a bitmap claiming 30,000 pixels
                                  square that holds 12 bytes (-dib), a metafile with a record
                                  longer than the file (-wmf), and a rectangle anchored past the
                                  sheet's last cell (-far).
- old-*.stream                    Excel 2.x, 3.0 and 4.0 streams, damaged where their own
                                  records are read: a BIFF2 sheet of every cell kind whose last
                                  LABEL runs past its record (-label-overrun); a BIFF2 ROW that
                                  announces cell attributes and ends first, and a COLWIDTH of no
                                  width (-row-cut); a BIFF3 sheet whose FONT, XF and header are
                                  cut short, passed over (-formats-cut); a BIFF4 sheet whose
                                  DIMENSIONS claims the whole sheet, with a column run over every
                                  column as wide as the file can make it, a row as tall, and
                                  fit to 0 by 0 pages (-whole-sheet); a BIFF4 workbook whose
                                  globals list three sheets, one of them following, with a
                                  substream nested inside it and cells naming formats it
                                  lacks (-workbook).
"""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "..", "tests", "xls", "fixtures")

DIRENT_SIZE = 128


def fixture(name):
    with open(os.path.join(FIXTURES, name), "rb") as f:
        return bytearray(f.read())


def directory_offset(data):
    """The file offset of the directory's first sector (the directory fits in one here)."""
    sector = 1 << struct.unpack_from("<H", data, 0x1E)[0]
    start = struct.unpack_from("<I", data, 0x30)[0]
    return 512 + start * sector


def entry_offset(data, index):
    return directory_offset(data) + index * DIRENT_SIZE


def named_entry(data, name):
    encoded = name.encode("utf-16le")
    base = directory_offset(data)
    for index in range(4):
        at = base + index * DIRENT_SIZE
        length = struct.unpack_from("<H", data, at + 0x40)[0]
        if length == len(encoded) + 2 and data[at:at + len(encoded)] == encoded:
            return at
    raise SystemExit("no directory entry named %s" % name)


def root_sibling():
    data = fixture("dates1904.xls")
    assert struct.unpack_from("<B", data, entry_offset(data, 2) + 0x42)[0] == 0, "slot 2 in use"
    sibling = entry_offset(data, 2)
    name = "Leak".encode("utf-16le") + b"\0\0"
    data[sibling:sibling + 64] = name.ljust(64, b"\0")
    struct.pack_into("<HB", data, sibling + 0x40, len(name), 2)  # name length, a stream
    struct.pack_into("<II", data, sibling + 0x74, 0xFFFFFFFE, 0)  # no sectors, empty
    struct.pack_into("<I", data, entry_offset(data, 0) + 0x48, 2)  # the root's right sibling
    return data


def stream_beyond_container():
    data = fixture("formats.xls")
    struct.pack_into("<I", data, named_entry(data, "Workbook") + 0x78, len(data))
    return data


def container_without_streams():
    data = fixture("dates1904.xls")
    assert struct.unpack_from("<B", data, entry_offset(data, 3) + 0x42)[0] == 0, "slot 3 in use"
    struct.pack_into("<I", data, entry_offset(data, 0) + 0x4C, 3)  # the root's child
    return data


def record(code, body):
    return struct.pack("<HH", code, len(body)) + body


def bof(kind):
    return record(0x0809, struct.pack("<HHHHII", 0x0600, kind, 0x0DBB, 0x07CC, 0, 6))


def number_stream(over):
    """A one-sheet workbook whose sheet ends with a NUMBER cut `over` bytes short."""
    name = "Sheet1"
    boundsheet_body = struct.pack("<IBB", 0, 0, 0) + struct.pack("<BB", len(name), 1)
    boundsheet_body += name.encode("utf-16le")
    globals_ = bytearray(bof(0x0005) + record(0x0085, boundsheet_body) + record(0x000A, b""))
    struct.pack_into("<I", globals_, len(bof(0x0005)) + 4, len(globals_))  # the sheet's BOF
    number = record(0x0203, struct.pack("<HHHd", 0, 0, 15, 1.5))
    if over:
        # The record claims its whole number, but the stream ends `over` bytes short of it.
        return bytes(globals_) + bof(0x0010) + number[:-over]
    return bytes(globals_) + bof(0x0010) + number + record(0x000A, b"")


def workbook_stream(sheet_records, names=()):
    """A one-sheet workbook: globals with the sheet's BOUNDSHEET and `names`, then the sheet."""
    name = "Sheet1"
    boundsheet = record(0x0085, struct.pack("<IBBBB", 0, 0, 0, len(name), 1) +
                        name.encode("utf-16le"))
    globals_ = bytearray(bof(0x0005) + boundsheet + b"".join(names) + record(0x000A, b""))
    struct.pack_into("<I", globals_, len(bof(0x0005)) + 4, len(globals_))  # the sheet's BOF
    return bytes(globals_) + bof(0x0010) + b"".join(sheet_records) + record(0x000A, b"")


def built_in_name(code, ranges):
    """Print_Area (6) or Print_Titles (7) of sheet 1: its ranges as area tokens in a list."""
    formula = b""
    for index, (first_row, last_row, first_col, last_col) in enumerate(ranges):
        formula += struct.pack("<BHHHH", 0x25, first_row, last_row, first_col, last_col)
        if index:
            formula += b"\x10"  # the list operator
    body = struct.pack("<HBBHHH", 0x0020, 0, 1, len(formula), 0, 1) + b"\0" * 4
    return record(0x0018, body + bytes([0, code]) + formula)


def setup(paper=9, scale=100, fit=(1, 1), flags=0x0002):
    return record(0x00A1, struct.pack("<HHhHHHHHddH", paper, scale, 1, fit[0], fit[1], flags,
                                      300, 300, 0.5, 0.5, 1))


def number(row, col, value):
    return record(0x0203, struct.pack("<HHHd", row, col, 15, value))


def label(row, col, text):
    return record(0x0204, struct.pack("<HHHHB", row, col, 15, len(text), 0) + text.encode())


def breaks(code, positions):
    body = struct.pack("<H", len(positions))
    for position in positions:
        body += struct.pack("<HHH", position, 0, 0xFFFF if code == 0x001B else 255)
    return record(code, body)


def header(text):
    return record(0x0014, struct.pack("<HB", len(text), 0) + text.encode())


FIT_TO_PAGES = record(0x0081, struct.pack("<H", 0x0100))
WHOLE_SHEET = (0, 0xFFFF, 0, 255)
# Rows of 32,767 twips and columns of 255 characters: one row and one column a page.
HUGE_BANDS = [record(0x0225, struct.pack("<HH", 0, 0x7FFF)), record(0x0099, struct.pack("<H", 0xFFFF))]
CELLS = [label(0, 0, "top left"), number(5, 2, 1.5), label(70, 12, "far"), number(65535, 255, 9)]
DECORATED = [header("&LPage &P of &N&C&A&R&D"), record(0x002A, b"\1\0"), record(0x002B, b"\1\0")]


def page_setups():
    margins = [record(code, struct.pack("<d", 99.0)) for code in (0x26, 0x27, 0x28, 0x29)]
    area_all = built_in_name(6, [WHOLE_SHEET])
    merges = [(0, 0xFFFF, 0, 255)] + [(row, row + 600, row % 200, row % 200 + 50)
                                      for row in range(0, 60000, 600)]
    merged = struct.pack("<H", len(merges)) + b"".join(struct.pack("<HHHH", *m) for m in merges)
    return {
        "setup-scale-0.stream": workbook_stream([setup(scale=0)] + DECORATED + CELLS),
        "setup-scale-400.stream": workbook_stream([setup(scale=400)] + DECORATED + CELLS),
        "setup-fit-0x0.stream": workbook_stream(
            [setup(fit=(0, 0)), FIT_TO_PAGES] + CELLS, [built_in_name(6, [(0, 0xFFFF, 2, 2)])]),
        "setup-fit-32767.stream": workbook_stream(
            [setup(fit=(32767, 32767)), FIT_TO_PAGES] + DECORATED + CELLS, [area_all]),
        "setup-wide-margins.stream": workbook_stream(
            [setup(flags=0x0003)] + margins + DECORATED + CELLS),
        "setup-thousand-breaks.stream": workbook_stream(
            [setup(), breaks(0x001B, range(1, 65536, 65)[:1000]), breaks(0x001A, range(1, 256))]
            + DECORATED + CELLS, [area_all]),
        "setup-titles-whole-sheet.stream": workbook_stream(
            [setup()] + DECORATED + CELLS,
            [built_in_name(7, [WHOLE_SHEET, (0, 0xFFFF, 0, 254)])]),
        "setup-titles-nearly-every-row.stream": workbook_stream(
            [setup()] + DECORATED + CELLS, [built_in_name(7, [(0, 65525, 0, 255)])]),
        "setup-area-past-last-row.stream": workbook_stream(
            [setup()] + HUGE_BANDS + DECORATED + CELLS[:2], [area_all]),
        "setup-merged-every-page.stream": workbook_stream(
            [setup()] + HUGE_BANDS + CELLS + [record(0x00E5, merged)], [area_all]),
    }


def drawing_art(version, instance, kind, body, extra=0):
    return struct.pack("<HHI", version | (instance << 4), kind, len(body) + extra) + body


def drawing_shape(shape_type, props, extra=0, anchor=(0, 1, 0, 1, 0, 2, 0, 3, 0)):
    table = b"".join(struct.pack("<HI", pid, value) for pid, value in props)
    anchor = struct.pack("<9H", *anchor)
    return drawing_art(0xF, 0, 0xF004,
                       drawing_art(2, shape_type, 0xF00A, struct.pack("<II", 1025, 0x0A00)) +
                       drawing_art(3, len(props), 0xF00B, table, extra) +
                       drawing_art(0, 0, 0xF010, anchor) + drawing_art(0, 0, 0xF011, b""))


def with_fuzzed_glyphs(emf):
    """The bytes the fuzzer changed, by record: the first world transform's M21, the first
    MOVETOEX's type, the first font's width and a letter of its name."""
    changes = {35: [(16, 1)], 27: [(0, 24)], 82: [(18, 16), (57, 16)]}
    at = 0
    while at + 8 <= len(emf):
        kind, size = struct.unpack_from("<II", emf, at)
        for offset, value in changes.pop(kind, []):
            emf[at + offset] = value
        at += size
    return bytes(emf)


def damaged_emf(variant):
    """The EMF player's hand-made picture, damaged as variant says."""
    sys.path.insert(0, os.path.join(HERE, "..", "tests", "report", "emf"))
    from make_emf_fixtures import emf_file, hand_records, rec, rect
    records = hand_records()[:-1]
    if variant == "emf-records":
        records += [
            rec(86, rect(0, 0, 0, 0) + struct.pack("<I", 0x40000000) + bytes(8)),
            rec(91, rect(0, 0, 0, 0) + struct.pack("<IIII", 2, 3, 2, 0x7FFFFFFF) + bytes(12)),
            rec(84, rect(0, 0, 0, 0) + struct.pack("<Iff2iIIIi", 1, 1, 1, 0, 0, 0x7FFFFFFF,
                                                   0xFFFFFFF0, 0, 0) + bytes(20)),
            rec(75, struct.pack("<II", 48, 1) + struct.pack("<IIII", 32, 1, 0x10000000, 0) +
                rect(0, 0, 9, 9)),
            rec(95, struct.pack("<5I", 9, 0, 0, 0, 0) + struct.pack("<6I", 0x10007, 5, 0, 0,
                                                                    0, 0x40000000)),
            rec(37, struct.pack("<I", 9)), rec(34, struct.pack("<i", -0x80000000)),
            rec(34, struct.pack("<i", 0x7FFFFFFF)), rec(67, struct.pack("<I", 9)),
            rec(26, struct.pack("<ii", 0x7FFFFFFF, -0x80000000)),
        ] + [rec(33)] * 200 + [rec(4, rect(0, 0, 0, 0) + struct.pack("<I", 2) + bytes(8))]
    if variant in ("emf-huge", "emf-glyphs"):
        # A 24-bit bitmap claiming 30,000 pixels square, a world transform scaling by 1e30 and
        # one that is not a number, a font 2^31 units high and text drawn with them.
        header = struct.pack("<IiiHHIIiiII", 40, 30000, 30000, 1, 24, 0, 0, 0, 0, 0, 0)
        fields = rect(0, 0, 0, 0) + struct.pack("<6i", 0, 0, 0, 0, 30000, 30000)
        fields += struct.pack("<8I", 80, 40, 120, 12, 0, 0x00CC0020, 2000, 1000)
        face = "ＭＳ 明朝".encode("utf-16le").ljust(64, b"\0")
        text = "字".encode("utf-16le") + b"\0\0"
        records += [
            rec(81, fields + header + b"b" * 12),
            rec(82, struct.pack("<I5i8B", 8, -0x80000000, 0x7FFFFFFF, 900, 0, 900, 1, 1, 1,
                                128, 0, 0, 0, 0) + face),
            rec(37, struct.pack("<I", 8)),
            rec(36, struct.pack("<6fI", 1e30, 0, 0, 1e30, 0, 0, 2)),
            rec(84, rect(0, 0, 0, 0) + struct.pack("<Iff2iIII", 1, 1, 1, 10, 10, 1, 76, 0x2004)
                + rect(-5, -5, 5, 5) + struct.pack("<I", 0) + text),
            rec(42, rect(-0x80000000, -0x80000000, 0x7FFFFFFF, 0x7FFFFFFF)),
            rec(35, struct.pack("<6f", float("nan"), 0, 0, 1, 0, 0)),
            rec(9, struct.pack("<ii", 0, 0)), rec(17, struct.pack("<I", 7)),
            rec(47, rect(0, 0, 1, 1) + struct.pack("<4i", 0, 0, 0, 0)),
        ]
    data = emf_file(records + [rec(14, struct.pack("<III", 0, 16, 16))])
    if variant == "emf-glyphs":
        data = with_fuzzed_glyphs(bytearray(data))
    if variant == "emf-cut":
        data = data[:len(data) - 120]
    return data


def drawing_stream(variant):
    """A one-sheet workbook holding a NUMBER and a drawing layer damaged as variant says."""
    name = "Sheet1"
    kind = 2  # a compressed EMF
    packed = zlib.compress(b"m" * 64)
    blip = drawing_art(0, 0x3D4, 0xF01A, b"u" * 16 + struct.pack("<I", 0xFFFFFFFF) +
                       bytes(24) + struct.pack("<IBB", len(packed), 0, 0xFE) + packed)
    if variant == "dib":
        # A 24-bit bitmap claiming 30,000 pixels square, of which 12 bytes are there.
        header = struct.pack("<IiiHHIIiiII", 40, 30000, 30000, 1, 24, 0, 0, 0, 0, 0, 0)
        kind = 7
        blip = drawing_art(0, 0x7A8, 0xF01F, b"u" * 16 + b"\xff" + header + b"b" * 12)
    if variant.startswith("emf"):
        emf = damaged_emf(variant)
        kind = 2
        blip = drawing_art(0, 0x3D4, 0xF01A, b"u" * 16 + struct.pack(
            "<I4i2iIBB", len(emf), 0, 0, 200, 100, 914400, 457200, len(emf), 0xFE, 0xFE) + emf)
    if variant == "wmf":
        # A metafile whose second record claims more words than the file holds.
        records = struct.pack("<IHhh", 5, 0x020C, 100, 200) + struct.pack("<IHhhhh", 0x7FFF,
                                                                          0x041B, 9, 9, 0, 0)
        wmf = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(records)) // 2, 0, 7, 0) + records
        kind = 3
        blip = drawing_art(0, 0x216, 0xF01B, b"u" * 16 + struct.pack(
            "<I4i2iIBB", len(wmf), 0, 0, 200, 100, 914400, 457200, len(wmf), 0xFE, 0xFE) + wmf)
    entry = struct.pack("<BB16sHIIIBBBB", kind, kind, b"u" * 16, 0xFF, len(blip), 1, 0, 0, 0,
                        0, 0)
    store = drawing_art(0xF, 0, 0xF000, drawing_art(
        0xF, 0, 0xF001, drawing_art(2, kind, 0xF007, entry + blip)))
    boundsheet_body = struct.pack("<IBB", 0, 0, 0) + struct.pack("<BB", len(name), 1)
    boundsheet_body += name.encode("utf-16le")
    globals_ = bytearray(bof(0x0005) + record(0x00EB, store) + record(0x0085, boundsheet_body) +
                         record(0x000A, b""))
    struct.pack_into("<I", globals_, len(bof(0x0005)) + 4 + len(store) + 4, len(globals_))
    shape = drawing_shape(75, [(0x0104, 9 if variant == "store" else 1)],
                          200 if variant == "overrun" else 0)
    if variant == "far":
        # A rectangle turned 45 degrees from the sheet's last cell on, its offsets past their
        # cells: the printed range reaches the sheet's far corner.
        shape = drawing_shape(1, [(0x0004, 45 << 16)],
                              anchor=(0, 255, 0xFFFF, 65535, 0xFFFF, 255, 0xFFFF, 65535, 0xFFFF))
    for _ in range(64 if variant == "nesting" else 0):
        group = drawing_art(0xF, 0, 0xF004, drawing_art(2, 0, 0xF00A, struct.pack("<II", 0, 1)))
        shape = drawing_art(0xF, 0, 0xF003, group + shape)
    patriarch = drawing_art(0xF, 0, 0xF004, drawing_art(1, 0, 0xF009, bytes(16)) +
                            drawing_art(2, 0, 0xF00A, struct.pack("<II", 1024, 5)))
    drawing = drawing_art(0xF, 0, 0xF002, drawing_art(0, 1, 0xF008, struct.pack("<II", 2, 1026)) +
                          drawing_art(0xF, 0, 0xF003, patriarch + shape))
    obj = struct.pack("<HHHHH12sI", 0x15, 18, 8, 1, 0x11, bytes(12), 0)
    sheet = (bof(0x0010) + record(0x0203, struct.pack("<HHHd", 0, 0, 15, 1.5)) +
             record(0x00EC, drawing[:21]) + record(0x003C, drawing[21:]) + record(0x005D, obj) +
             record(0x000A, b""))
    return bytes(globals_) + sheet


def older_objects_stream(variant):
    """A one-sheet Excel 5.0/95 workbook: a NUMBER, then objects of the older OBJ form."""
    def bof5(kind):
        return record(0x0809, struct.pack("<HHHH", 0x0500, kind, 0x0DBB, 0x07CC))

    def obj(kind, own, anchor=(1, 0, 1, 0, 2, 0, 3, 0)):
        return record(0x005D, struct.pack("<IHHH8HH6x", 1, kind, 1, 0x0614, *anchor, 0) + own)

    fill_and_line = struct.pack("<8BH", 9, 10, 1, 0, 8, 0, 1, 0, 0)
    picture = obj(8, fill_and_line + struct.pack("<H14x", 9))
    objects = []
    if variant == "imdata-overrun":
        objects = [picture, record(0x007F, struct.pack("<HHI", 9, 1, 0xFFFFFFFF) + b"b" * 12)]
    if variant == "dib":
        header = struct.pack("<IHHHH", 12, 30000, 30000, 1, 24)
        objects = [picture, record(0x007F, struct.pack("<HHI", 9, 1, 24) + header + b"b" * 12)]
    if variant == "wmf":
        records = struct.pack("<IHhh", 5, 0x020C, 100, 200) + struct.pack("<IHhhhh", 0x7FFF,
                                                                          0x041B, 9, 9, 0, 0)
        wmf = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(records)) // 2, 0, 7, 0) + records
        objects = [picture, record(0x007F, struct.pack("<HHI", 2, 1, len(wmf)) + wmf)]
    if variant == "text-overrun":
        text = struct.pack("<HHHHHHH8x", 60000, 0, 16, 0, 0, 0x12, 0) + b"Memo"
        objects = [obj(6, fill_and_line + text)]
    if variant == "cut":
        objects = [record(0x005D, struct.pack("<IH", 1, 2))]
    if variant == "far":
        objects = [obj(2, fill_and_line, (255, 0xFFFF, 16383, 0xFFFF, 255, 0xFFFF, 16383, 0xFFFF))]
    objects.append(obj(2, fill_and_line))  # read whatever came before
    name = b"Sheet1"
    boundsheet = record(0x0085, struct.pack("<IBBB", 0, 0, 0, len(name)) + name)
    globals_ = bytearray(bof5(0x0005) + boundsheet + record(0x000A, b""))
    struct.pack_into("<I", globals_, len(bof5(0x0005)) + 4, len(globals_))  # the sheet's BOF
    return (bytes(globals_) + bof5(0x0010) + record(0x0203, struct.pack("<HHHd", 0, 0, 15, 1.5)) +
            b"".join(objects) + record(0x000A, b""))


def encrypted_stream(name):
    import xlrd.compdoc
    doc = xlrd.compdoc.CompDoc(bytes(fixture(name)), logfile=open(os.devnull, "w"))
    return bytearray(doc.get_named_stream("Workbook") or doc.get_named_stream("Book"))


def with_filepass_cut(name, keep):
    """The stream with its FILEPASS record, which follows the first BOF, cut to keep bytes."""
    stream = encrypted_stream(name)
    at = 4 + struct.unpack_from("<H", stream, 2)[0]
    length = struct.unpack_from("<H", stream, at + 2)[0]
    struct.pack_into("<H", stream, at + 2, keep)
    return bytes(stream[:at + 4 + keep] + stream[at + 4 + length:])


def encryption_inputs():
    huge_header = encrypted_stream("enc_capi2.xls")
    filepass = 4 + struct.unpack_from("<H", huge_header, 2)[0] + 4
    struct.pack_into("<I", huge_header, filepass + 10, 0x7FFFFFFF)
    return {
        "encrypted-rc4-filepass-cut.stream": with_filepass_cut("enc_rc4.xls", 30),
        "encrypted-xor95-filepass-empty.stream": with_filepass_cut("enc_xor5.xls", 0),
        "encrypted-capi-header-huge.stream": bytes(huge_header),
        "encrypted-capi-record-cut.stream": bytes(encrypted_stream("enc_capi2.xls")[:2050]),
    }


def rich_text_inputs():
    """Damaged font runs, phonetic blocks and conditional formats inside a sound workbook."""
    def workbook(global_records, sheet_records):
        name = "Sheet1".encode("utf-16le")
        sheet = record(0x0085, struct.pack("<IBBBB", 0, 0, 0, 6, 1) + name)
        globals_ = bytearray(bof(0x0005) + sheet + b"".join(global_records) + record(0x000A, b""))
        struct.pack_into("<I", globals_, len(bof(0x0005)) + 4, len(globals_))
        return bytes(globals_) + bof(0x0010) + b"".join(sheet_records) + record(0x000A, b"")

    text = "かな".encode("utf-16le")
    label_sst = record(0x00FD, struct.pack("<HHHI", 0, 0, 15, 0))
    # A string with a run and a phonetic block whose guide is longer than the block.
    phonetic = struct.pack("<HHHHHHH", 1, 40, 7, 0, 1, 9, 9) + "か".encode("utf-16le")
    sst = record(0x00FC, struct.pack("<IIHBHI", 1, 1, 2, 0x0D, 1, len(phonetic)) + text
                 + struct.pack("<HH", 1, 5) + phonetic)
    shown = record(0x00EF, struct.pack("<HHHHHHH", 7, 0, 1, 0, 9, 0, 9))
    # A condition that announces a font block and ends before it.
    condfmt = record(0x01B0, struct.pack("<HH8sHHHHH", 2, 1, bytes(8), 1, 0, 5, 0, 0))
    cf = record(0x01B1, struct.pack("<BBHHIH", 1, 3, 3, 0, 1 << 26, 0) + bytes(20))
    rstring = record(0x00D6, struct.pack("<HHHHB", 1, 0, 15, 2, 0) + b"ab"
                     + struct.pack("<H", 200) + struct.pack("<HH", 1, 5))
    return {
        "sst-phonetic-guide-overruns.stream": workbook([sst], [label_sst, shown]),
        "cf-cut-before-font.stream": workbook([], [condfmt, cf, cf]),
        "rstring-runs-beyond-record.stream": workbook([], [rstring]),
    }


def comment_inputs():
    import xlrd.compdoc
    with open(os.path.join(HERE, "..", "tests", "report", "fixtures", "comments.xls"), "rb") as f:
        doc = xlrd.compdoc.CompDoc(f.read(), logfile=open(os.devnull, "w"))
    stream = bytearray(doc.get_named_stream("Workbook"))
    # The client anchor of the box of C4: columns 3 to 4 and rows 0 to 2, with offsets.
    anchor = struct.pack("<8H", 3, 272, 0, 0, 4, 562, 2, 50)
    at = stream.index(anchor)
    stream[at:at + len(anchor)] = struct.pack("<8H", 0, 0, 0, 0, 255, 1023, 65535, 255)
    return {"comments-box-whole-sheet.stream": bytes(stream)}


def formula_inputs():
    """Damaged formulas in a sheet whose window displays formulas, which are then written out."""
    window = record(0x023E, struct.pack("<HHHHH", 0x06B7, 0, 0, 64, 0) + b"\0" * 8)

    def formula(row, tokens, extra=b""):
        return record(0x0006, struct.pack("<HHHdHIH", row, 0, 15, 1.0, 0, 0, len(tokens)) +
                      tokens + extra)
    cut_string = formula(0, b"\x17\xC8\x00abc")
    huge_array = formula(0, b"\x60" + b"\0" * 7, struct.pack("<BH", 255, 65535) + b"\x01")
    orphan = formula(0, struct.pack("<BHH", 0x01, 5, 0)) + record(0x04BC, b"\0\0\0")
    parens = formula(0, b"\x1E\x01\x00" + b"\x15" * 8000)
    return {"formula-%s.stream" % name: workbook_stream([body, window])
            for name, body in (("string-cut", cut_string), ("array-huge", huge_array),
                               ("shared-orphan", orphan), ("deep-parens", parens))}


def chart_records(stream):
    """The offsets of the records of the stream's first chart substream, BOF to EOF."""
    offsets, at, inside = [], 0, False
    while at < len(stream):
        code, length = struct.unpack_from("<HH", stream, at)
        if code == 0x0809 and stream[at + 6:at + 8] == b"\x20\x00":
            inside = True
        if inside:
            offsets.append(at)
            if code == 0x000A:
                return offsets
        at += 4 + length
    raise SystemExit("charts.xls holds no chart")


def chart_inputs():
    import xlrd.compdoc
    with open(os.path.join(FIXTURES, "charts.xls"), "rb") as f:
        doc = xlrd.compdoc.CompDoc(f.read(), logfile=open(os.devnull, "w"))
    original = bytes(doc.get_named_stream("Workbook"))
    offsets = chart_records(original)

    def code_at(stream, at):
        return struct.unpack_from("<H", stream, at)[0]

    def recoded(old, new):
        stream = bytearray(original)
        for at in offsets:
            if code_at(stream, at) == old:
                struct.pack_into("<H", stream, at, new)
        return bytes(stream)

    cut = bytearray(original)
    at = next(a for a in offsets if code_at(cut, a) == 0x101F)
    length = struct.unpack_from("<H", cut, at + 2)[0]
    cut[at + 2:at + 4] = struct.pack("<H", 20)
    del cut[at + 4 + 20:at + 4 + length]

    groups = bytearray(recoded(0x1014, 0x10FF))
    for at in offsets:
        if code_at(groups, at) == 0x1045:
            struct.pack_into("<H", groups, at + 4, 0x7FFF)

    cache = bytearray(original)
    eof = offsets[-1]
    cached = (record(0x1065, struct.pack("<H", 1)) +
              record(0x0203, struct.pack("<HHHd", 31999, 2, 0, 1.5)) +
              record(0x0203, struct.pack("<HHHd", 65535, 255, 0, 2.5)) +
              record(0x1065, struct.pack("<H", 2)) +
              record(0x0204, struct.pack("<HHHHB", 31999, 0, 0, 1, 0) + b"x"))
    cache[eof:eof] = cached

    # Each series' values, ptgArea3d rows 1 to 5 of one column, made rows 0 to 65535 of
    # columns 0 to 255.
    whole = bytearray(original)
    for at in offsets:
        if code_at(whole, at) == 0x1051 and whole[at + 4] == 1 and whole[at + 12] == 0x3B:
            struct.pack_into("<HHHH", whole, at + 15, 0, 0xFFFF, 0, 0xFF)
    return {
        "chart-cut.stream": bytes(cut),
        "chart-unclosed.stream": recoded(0x1034, 0x10FF),
        "chart-deep.stream": recoded(0x1034, 0x1033),
        "chart-groups.stream": bytes(groups),
        "chart-cache.stream": bytes(cache),
        "chart-whole-columns.stream": bytes(whole),
    }


def old_biff_inputs():
    def old(bof_code, kind, records):
        body = struct.pack("<HH", 2, kind) if bof_code == 0x0009 else struct.pack("<HHH", 0, kind, 0)
        return record(bof_code, body) + b"".join(records) + record(0x000A, b"")

    def short(text):
        return struct.pack("<B", len(text)) + text

    attributes = b"\x00\x41\xf8"
    cells2 = [
        record(0x0031, struct.pack("<HH", 200, 1) + short(b"Arial")),
        record(0x0045, struct.pack("<H", 2)),
        record(0x001E, short(b"0.0")),
        record(0x0001, struct.pack("<HH", 0, 0) + attributes),
        record(0x0002, struct.pack("<HH", 0, 1) + attributes + struct.pack("<H", 7)),
        record(0x0003, struct.pack("<HH", 0, 2) + attributes + struct.pack("<d", 1.5)),
        record(0x0005, struct.pack("<HH", 0, 3) + attributes + b"\x07\x01"),
        record(0x0006, struct.pack("<HH", 0, 4) + attributes + b"\x00" * 6 + b"\xff\xff\x00\x00"),
        record(0x0004, struct.pack("<HH", 1, 0) + attributes + b"\x09abc"),
    ]
    row_cut = [
        record(0x0008, struct.pack("<HHHHHB", 2, 0, 1, 0, 0, 1)),
        record(0x0024, struct.pack("<BBH", 0, 255, 0)),
        record(0x0003, struct.pack("<HH", 2, 0) + attributes + struct.pack("<d", 2)),
    ]
    formats_cut = [
        record(0x0231, struct.pack("<HH", 200, 0)),
        record(0x0243, b"\x00\x00\x00"),
        record(0x0014, b"\x05&P"),
        record(0x0203, struct.pack("<HHHd", 0, 0, 0, 3)),
    ]
    whole = [
        record(0x0200, struct.pack("<HHHHH", 0, 0xFFFF, 0, 0xFFFF, 0)),
        record(0x007D, struct.pack("<HHHHHH", 0, 0xFFFF, 0xFFFF, 0, 0, 0)),
        record(0x0208, struct.pack("<HHHHIHH", 16383, 0, 1, 0x7FFF, 0, 0x0140, 0)),
        record(0x00A1, struct.pack("<HHHHHH", 9, 10, 1, 0, 0, 0)),
        record(0x0081, struct.pack("<H", 0x0100)),
        record(0x0204, struct.pack("<HHHH", 16383, 255, 0, 4) + b"last"),
        record(0x0204, struct.pack("<HHHH", 0, 0, 0, 5) + b"first"),
    ]
    globals_ = old(0x0409, 0x0100, [
        record(0x008F, struct.pack("<IH", 0, 0) + short(b"One")),
        record(0x008F, struct.pack("<IH", 0, 0) + short(b"Two")),
        record(0x008F, struct.pack("<IH", 0, 0) + short(b"Three")),
    ])
    sheet = old(0x0409, 0x0010, [
        record(0x0443, b"\x09\x3f" + b"\x00" * 10),
        old(0x0409, 0x0020, [record(0x0203, struct.pack("<HHHd", 0, 0, 0, 9))]),
        record(0x0203, struct.pack("<HHHd", 1, 1, 40, 4)),
        record(0x0406, struct.pack("<HHH", 1, 2, 0) + b"\x00" * 6 + b"\xff\xff\x00\x00\x00\x00"),
        record(0x0207, struct.pack("<H", 2) + b"ok"),
    ])
    return {
        "old-biff2-label-overrun.stream": old(0x0009, 0x0010, cells2),
        "old-biff2-row-cut.stream": old(0x0009, 0x0010, row_cut),
        "old-biff3-formats-cut.stream": old(0x0209, 0x0010, formats_cut),
        "old-biff4-whole-sheet.stream": old(0x0409, 0x0010, whole),
        "old-biff4-workbook.stream": globals_ + sheet,
    }


def hf_picture(flags, data):
    """An HFPicture record: its future record header, flags and drawing data."""
    return record(0x0866, struct.pack("<HH8sH", 0x0866, 0, bytes(8), flags) + data)


def hf_picture_inputs():
    """Header and footer pictures (&G) whose HFPicture records are damaged in turn."""
    # A 2 by 1 pixel 24-bit bitmap, kept as the workbook keeps one: without its file header.
    dib = struct.pack("<IiiHHIIiiII", 40, 2, 1, 1, 24, 0, 8, 0, 0, 0, 0) + b"\0\0\xff" * 2 + b"\0\0"
    blip = drawing_art(0, 0x7A8, 0xF01F, b"u" * 16 + b"\xff" + dib)
    entry = struct.pack("<BB16sHIIIBBBB", 7, 7, b"u" * 16, 0xFF, len(blip), 1, 0, 0, 0, 0, 0)
    store = drawing_art(0xF, 0, 0xF000, drawing_art(
        0xF, 0, 0xF001, drawing_art(2, 7, 0xF007, entry + blip)))

    def drawing(name="CH", pib=1, size=(40, 20), name_length=None, anchor_length=8):
        wz_name = name.encode("utf-16le") + b"\0\0"
        length = len(wz_name) if name_length is None else name_length
        table = struct.pack("<HIHI", 0x0104, pib, 0x8380, length) + wz_name
        anchor = struct.pack("<ii", *size)[:anchor_length]
        shape = drawing_art(0xF, 0, 0xF004,
                            drawing_art(2, 75, 0xF00A, struct.pack("<II", 1025, 0x0A00)) +
                            drawing_art(3, 2, 0xF00B, table) + drawing_art(0, 0, 0xF010, anchor))
        return drawing_art(0xF, 0, 0xF002, drawing_art(0, 1, 0xF008, struct.pack("<II", 2, 1025)) +
                           drawing_art(0xF, 0, 0xF003, shape))

    def book(sheet_pictures, group=(hf_picture(2, store),)):
        sheet = [number(0, 0, 1.5), header("&L&G&C&G&R&G"), record(0x0015, b"\3\0\0&G&"),
                 *sheet_pictures]
        return workbook_stream(sheet, names=group)

    whole = drawing()
    return {"hfpicture-%s.stream" % name: data for name, data in (
        ("huge", book([hf_picture(1, drawing(size=(0x7FFFFFFF, 0x7FFFFFFF)))])),
        ("negative", book([hf_picture(1, drawing(size=(-40, 20)))])),
        ("name-overrun", book([hf_picture(1, drawing(name_length=0xFFFFFFF0))])),
        ("anchor-short", book([hf_picture(1, drawing(anchor_length=4))])),
        ("pib-far", book([hf_picture(1, drawing(pib=0xFFFFFFFF))])),
        ("record-short", book([record(0x0866, b"\x66\x08\0\0\0")])),
        ("store-cut", book([hf_picture(1, whole)], (hf_picture(2 | 4, store[:-6]),))),
        ("drawing-continued-cut", book([hf_picture(1 | 4, whole[:30]),
                                        hf_picture(1, whole[30:-3])])),
    )}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "corpus")
    os.makedirs(out, exist_ok=True)
    files = {
        "libgsf-root-sibling.xls": root_sibling(),
        "stream-beyond-container.xls": stream_beyond_container(),
        "container-without-streams.xls": container_without_streams(),
        "number-overruns-by-1.stream": number_stream(1),
        "number-overruns-by-4.stream": number_stream(4),
        "number-ends-at-stream-end.stream": number_stream(0),
        **page_setups(),
    }
    files.update({"drawing-%s.stream" % v: drawing_stream(v)
                  for v in ("overrun", "nesting", "store", "dib", "far", "wmf", "emf-records",
                            "emf-huge", "emf-cut", "emf-glyphs")})
    files.update({"objects95-%s.stream" % v: older_objects_stream(v)
                  for v in ("imdata-overrun", "text-overrun", "cut", "dib", "wmf", "far")})
    files.update(encryption_inputs())
    files.update(rich_text_inputs())
    files.update(comment_inputs())
    files.update(formula_inputs())
    files.update(chart_inputs())
    files.update(old_biff_inputs())
    files.update(hf_picture_inputs())
    for name, data in sorted(files.items()):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
