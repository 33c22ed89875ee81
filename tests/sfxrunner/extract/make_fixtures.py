#!/usr/bin/env python3
"""Fixtures of the extraction tests, made at build time.

  make_fixtures.py inputs DIR    small input files that 7zz archives with each method
  make_fixtures.py crafted DIR   archives 7zz will not make, written by the tiny 7z writer
                                 below (copy method, plain header, right CRCs), each with
                                 DIR/<name>.expected/ holding the files it should give

Every crafted archive and what it exercises:
  noname.7z          an item without a name: it is written as "Default"
  notime.7z          an item without a modification time: it gets the archive file's
  anti.7z            anti-items: a file and a folder are removed, another file is written
  regrown.7z         a file in a folder, anti-items that remove both, then a new file in a
                     folder of the same name: the folder is made again
  crcerror.7z        a good file, then a file whose data byte was flipped (CRC error)
  truncated.7z       a good archive cut short: its closing header is missing
  hostile_*.7z       a good file, then an item whose path leads out of the target folder
"""
import os
import random
import struct
import sys
import zlib

# --- inputs ---------------------------------------------------------------------------------


def text_bytes(lines):
    words = ["driver", "mixer", "channel", "gain", "matrix", "device", "sample", "rate"]
    rng = random.Random(7)
    out = []
    for i in range(lines):
        out.append("%05d %s\r\n" % (i, " ".join(rng.choice(words) for _ in range(8))))
    return "".join(out).encode("ascii")


def random_bytes(size, seed):
    return random.Random(seed).randbytes(size)


def code_bytes(calls):
    # x86 near calls and jumps, the pattern the branch filters rewrite.
    rng = random.Random(11)
    out = bytearray()
    for _ in range(calls):
        out += bytes([0x55, 0x8B, 0xEC, rng.choice([0xE8, 0xE9])])
        out += struct.pack("<i", rng.randrange(-65536, 65536))
        out += bytes([0x5D, 0xC3])
    return bytes(out)


def sample_bytes(count):
    # 32-bit samples of a slow ramp: what the delta and byte-swap filters are made for.
    return b"".join(struct.pack(">I", i * 977) for i in range(count))


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def make_inputs(root):
    main = os.path.join(root, "main")  # what every method archives
    write_file(os.path.join(main, "text.txt"), text_bytes(1500))
    write_file(os.path.join(main, "random.bin"), random_bytes(20000, 3))
    write_file(os.path.join(main, "code.bin"), code_bytes(3000))
    write_file(os.path.join(main, "samples.bin"), sample_bytes(6000))
    write_file(os.path.join(main, "nested", "mid.txt"), text_bytes(40))
    write_file(os.path.join(main, "nested", "deeper", "deepest", "leaf.txt"), text_bytes(20))
    enc = os.path.join(root, "enc")  # a plain file, then one added with a password
    write_file(os.path.join(enc, "a_plain.txt"), text_bytes(30))
    write_file(os.path.join(enc, "z_secret.txt"), text_bytes(50))


# --- a tiny 7z writer -----------------------------------------------------------------------

K_END, K_HEADER, K_MAIN_STREAMS, K_FILES = 0x00, 0x01, 0x04, 0x05
K_PACK_INFO, K_UNPACK_INFO, K_SUBSTREAMS, K_SIZE, K_CRC = 0x06, 0x07, 0x08, 0x09, 0x0A
K_FOLDER, K_CODERS_UNPACK_SIZE = 0x0B, 0x0C
K_EMPTY_STREAM, K_EMPTY_FILE, K_ANTI, K_NAME, K_MTIME, K_ATTRIBUTES = (
    0x0E, 0x0F, 0x10, 0x11, 0x14, 0x15)

STORED_TIME = 132590000000000000  # a FILETIME in 2021
FILE_ATTRIBUTE_ARCHIVE = 0x20
FILE_ATTRIBUTE_DIRECTORY = 0x10


def number(value):
    """7z's variable-length number: leading one bits of the first byte count extra bytes."""
    for extra in range(8):
        if value < (1 << (7 * (extra + 1))):
            high = value >> (8 * extra)
            first = (0xFF << (8 - extra)) & 0xFF | high
            return bytes([first]) + value.to_bytes(8, "little")[:extra]
    return b"\xFF" + value.to_bytes(8, "little")


def bits(flags):
    out = bytearray((len(flags) + 7) // 8)
    for i, flag in enumerate(flags):
        if flag:
            out[i // 8] |= 0x80 >> (i % 8)
    return bytes(out)


def prop(kind, data):
    return number(kind) + number(len(data)) + data


class Item:
    def __init__(self, name, data=None, is_dir=False, anti=False, mtime=STORED_TIME):
        self.name, self.data, self.is_dir, self.anti, self.mtime = name, data, is_dir, anti, mtime

    @property
    def has_stream(self):
        return self.data is not None and len(self.data) > 0


def streams_info(streams):
    out = bytearray([K_MAIN_STREAMS, K_PACK_INFO]) + number(0) + number(len(streams))
    out += bytes([K_SIZE]) + b"".join(number(len(s)) for s in streams) + bytes([K_END])
    out += bytes([K_UNPACK_INFO, K_FOLDER]) + number(len(streams)) + b"\x00"
    for _ in streams:  # one coder, Copy (id 00), one stream in and out
        out += number(1) + bytes([0x01, 0x00])
    out += bytes([K_CODERS_UNPACK_SIZE]) + b"".join(number(len(s)) for s in streams)
    out += bytes([K_END, K_SUBSTREAMS, K_CRC, 1])
    out += b"".join(struct.pack("<I", zlib.crc32(s)) for s in streams)
    out += bytes([K_END, K_END])
    return bytes(out)


def files_info(items, with_names, with_times):
    out = bytearray([K_FILES]) + number(len(items))
    empty = [not it.has_stream for it in items]
    if any(empty):
        out += prop(K_EMPTY_STREAM, bits(empty))
        empties = [it for it in items if not it.has_stream]
        out += prop(K_EMPTY_FILE, bits([not it.is_dir for it in empties]))
        if any(it.anti for it in empties):
            out += prop(K_ANTI, bits([it.anti for it in empties]))
    if with_names:
        names = b"".join(it.name.encode("utf-16-le") + b"\x00\x00" for it in items)
        out += prop(K_NAME, b"\x00" + names)
    if with_times:
        out += prop(K_MTIME, b"\x01\x00" + b"".join(struct.pack("<Q", it.mtime) for it in items))
    attributes = [FILE_ATTRIBUTE_DIRECTORY if it.is_dir else FILE_ATTRIBUTE_ARCHIVE for it in items]
    out += prop(K_ATTRIBUTES, b"\x01\x00" + b"".join(struct.pack("<I", a) for a in attributes))
    out += bytes([K_END])
    return bytes(out)


def archive_bytes(items, with_names=True, with_times=True, corrupt_stream=None):
    streams = [it.data for it in items if it.has_stream]
    header = bytearray([K_HEADER])
    if streams:
        header += streams_info(streams)
    header += files_info(items, with_names, with_times) + bytes([K_END])
    packed = bytearray(b"".join(streams))
    if corrupt_stream is not None:  # flip one data byte after the CRCs were taken
        packed[sum(len(s) for s in streams[:corrupt_stream])] ^= 0xFF
    start = struct.pack("<QQI", len(packed), len(header), zlib.crc32(header))
    signature = b"7z\xBC\xAF\x27\x1C\x00\x04" + struct.pack("<I", zlib.crc32(start)) + start
    return signature + bytes(packed) + bytes(header)


# Each item path that must never leave the target folder, in the two ways a path can be
# stored: with "/" (the library turns it into "\") and with a stored backslash.
HOSTILE_PATHS = {
    "parent": "../x",
    "parent_inner": "a/../../x",
    "drive": "C:x",
    "rooted": "/x",
    "unc": "//server/share/x",
    "stream": "x:stream",
    "parent_backslash": "..\\x",
    "rooted_backslash": "\\x",
    "unc_backslash": "\\\\server\\share\\x",
    "dots": ".../x",
}


def write_crafted(root, name, items, expected, **options):
    write_file(os.path.join(root, name + ".7z"), archive_bytes(items, **options))
    expected_dir = os.path.join(root, name + ".expected")
    os.makedirs(expected_dir, exist_ok=True)
    for path, data in expected.items():
        write_file(os.path.join(expected_dir, path), data)


def make_crafted(root):
    payload = text_bytes(25)
    other = random_bytes(3000, 5)
    write_crafted(root, "noname", [Item("", payload)], {"Default": payload}, with_names=False)
    write_crafted(root, "notime", [Item("notime.txt", payload)], {"notime.txt": payload},
                  with_times=False)
    write_crafted(root, "anti", [Item("gone.txt", anti=True), Item("gonedir", is_dir=True, anti=True),
                                 Item("kept.txt", payload)], {"kept.txt": payload})
    write_crafted(root, "regrown", [Item("dir/first.txt", payload), Item("dir/first.txt", anti=True),
                                    Item("dir", is_dir=True, anti=True), Item("dir/second.bin", other)],
                  {"dir/second.bin": other})
    write_crafted(root, "crcerror", [Item("good.txt", payload), Item("bad.bin", other)],
                  {"good.txt": payload}, corrupt_stream=1)
    whole = archive_bytes([Item("good.txt", payload), Item("more.bin", other)])
    write_file(os.path.join(root, "truncated.7z"), whole[:-24])
    for label, path in HOSTILE_PATHS.items():
        write_crafted(root, "hostile_" + label, [Item("first.txt", payload), Item(path, other)],
                      {"first.txt": payload})


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("inputs", "crafted"):
        sys.exit("usage: make_fixtures.py inputs|crafted DIR")
    os.makedirs(sys.argv[2], exist_ok=True)
    (make_inputs if sys.argv[1] == "inputs" else make_crafted)(sys.argv[2])


if __name__ == "__main__":
    main()
