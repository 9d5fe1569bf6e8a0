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
    files.update(encryption_inputs())
    for name, data in sorted(files.items()):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
