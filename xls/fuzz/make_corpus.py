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
"""
import os
import struct
import sys

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
    files.update(rich_text_inputs())
    for name, data in sorted(files.items()):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
