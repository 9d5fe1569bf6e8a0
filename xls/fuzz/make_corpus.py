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
- drawing-*.stream                bare workbook streams with a cell and a damaged drawing layer:
                                  a shape's property table that overruns its shape
                                  (-overrun), groups nested 64 deep (-nesting), and a shape
                                  naming a picture past the store whose one picture is a
                                  compressed metafile claiming 4 GiB (-store). The drawing
                                  is lost from the damage on; the cell never is.
"""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "..", "..", "tests", "xls", "fixtures")

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


def drawing_art(version, instance, kind, body, extra=0):
    return struct.pack("<HHI", version | (instance << 4), kind, len(body) + extra) + body


def drawing_shape(shape_type, props, extra=0):
    table = b"".join(struct.pack("<HI", pid, value) for pid, value in props)
    anchor = struct.pack("<9H", 0, 1, 0, 1, 0, 2, 0, 3, 0)
    return drawing_art(0xF, 0, 0xF004,
                       drawing_art(2, shape_type, 0xF00A, struct.pack("<II", 1025, 0x0A00)) +
                       drawing_art(3, len(props), 0xF00B, table, extra) +
                       drawing_art(0, 0, 0xF010, anchor) + drawing_art(0, 0, 0xF011, b""))


def drawing_stream(variant):
    """A one-sheet workbook holding a NUMBER and a drawing layer damaged as variant says."""
    name = "Sheet1"
    packed = zlib.compress(b"m" * 64)
    blip = drawing_art(0, 0x3D4, 0xF01A, b"u" * 16 + struct.pack("<I", 0xFFFFFFFF) +
                       bytes(24) + struct.pack("<IBB", len(packed), 0, 0xFE) + packed)
    entry = struct.pack("<BB16sHIIIBBBB", 2, 2, b"u" * 16, 0xFF, len(blip), 1, 0, 0, 0, 0, 0)
    store = drawing_art(0xF, 0, 0xF000, drawing_art(
        0xF, 0, 0xF001, drawing_art(2, 2, 0xF007, entry + blip)))
    boundsheet_body = struct.pack("<IBB", 0, 0, 0) + struct.pack("<BB", len(name), 1)
    boundsheet_body += name.encode("utf-16le")
    globals_ = bytearray(bof(0x0005) + record(0x00EB, store) + record(0x0085, boundsheet_body) +
                         record(0x000A, b""))
    struct.pack_into("<I", globals_, len(bof(0x0005)) + 4 + len(store) + 4, len(globals_))
    shape = drawing_shape(75, [(0x0104, 9 if variant == "store" else 1)],
                          200 if variant == "overrun" else 0)
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
    }
    files.update({"drawing-%s.stream" % v: drawing_stream(v)
                  for v in ("overrun", "nesting", "store")})
    for name, data in sorted(files.items()):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
