#!/usr/bin/env python3
"""Writes small LZH archives (stored members, method -lh0-) with exactly the
header fields the tests need: level-0 headers with "\\" folders, level-2
headers with a folder extension, CP932 names and Unix symbolic links.

  make-lzh.py DIR                    the fixtures fonts.lzh and hostile.lzh
  make-lzh.py --fonts N OUT FOLDER   an LZH of N small named fonts F0.TTF ...,
                                     each also written into FOLDER"""
import struct
import sys


def crc16(data: bytes) -> int:
    crc = 0
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


DOS_TIME = (2001 - 1980) << 25 | 2 << 21 | 3 << 16 | 4 << 11 | 5 << 5 | 6 // 2  # 2001-02-03 04:05:06
UNIX_TIME = 981173106


def level0(name: bytes, data: bytes) -> bytes:
    body = b"-lh0-" + struct.pack("<IIIBBB", len(data), len(data), DOS_TIME, 0x20, 0, len(name))
    body += name + struct.pack("<H", crc16(data))
    return struct.pack("<BB", len(body), sum(body) & 0xFF) + body + data


def level2(name: bytes, data: bytes, folder: bytes = b"", os_id: bytes = b"M", mode: int = 0) -> bytes:
    ext = [b"\x00\x00\x00", b"\x01" + name]  # the header CRC first, filled in below
    if folder:
        ext.append(b"\x02" + folder.replace(b"/", b"\xff") + b"\xff")
    if mode:
        ext.append(b"\x50" + struct.pack("<H", mode))
    fixed_size = 26
    size = fixed_size + sum(len(e) + 2 for e in ext)
    header = struct.pack("<H", size) + b"-lh0-" + struct.pack("<IIIBBH", len(data), len(data), UNIX_TIME, 0x20, 2, crc16(data))
    header += os_id
    for e in ext:
        header += struct.pack("<H", len(e) + 2) + e
    header += struct.pack("<H", 0)
    assert len(header) == size
    crc_at = fixed_size + 1
    header = header[:crc_at] + struct.pack("<H", crc16(header)) + header[crc_at + 2:]
    return header + data


def named_font(family: str, face: str) -> bytes:
    """The smallest font the reader names: a table directory holding only a
    `name` table with the family (ID 1) and face (ID 4) in UTF-16BE."""
    strings = [(1, family.encode("utf-16-be")), (4, face.encode("utf-16-be"))]
    records, storage = b"", b""
    for name_id, text in strings:
        records += struct.pack(">HHHHHH", 3, 1, 0x409, name_id, len(text), len(storage))
        storage += text
    table = struct.pack(">HHH", 0, len(strings), 6 + len(records)) + records + storage
    directory = struct.pack(">IHHHH", 0x00010000, 1, 16, 0, 0)
    return directory + b"name" + struct.pack(">III", 0, len(directory) + 16, len(table)) + table


def cp932(text: str) -> bytes:
    return text.encode("cp932")


FONT = b"\x00\x01\x00\x00" + b"fake TrueType payload\n" * 3
TEXT = b"Read me first.\r\n"


def fonts() -> bytes:
    return b"".join([
        level0(b"FONTS\\ABC.TTF", FONT),
        level0(cp932("ソ.TTF"), FONT + b"so"),
        level2(cp932("日本語.TTF"), FONT + b"jp", folder=cp932("サブ")),
        level2(b"README.TXT", TEXT),
        level2(b"LICENSE", TEXT),
        level2(b"OTHER.OTF", FONT),
    ]) + b"\x00"


def hostile() -> bytes:
    return b"".join([
        level2(b"evil.ttf", FONT + b"up", folder=b"../.."),
        level0(b"\\tmp\\ABS.TTF", FONT + b"abs"),
        level0(b"C:DRIVE.TTF", FONT + b"drive"),
        level2(b"link.ttf|/etc/passwd", b"", os_id=b"U", mode=0o120777),
    ]) + b"\x00"


def many_fonts(count: int, folder: str) -> bytes:
    members = []
    for i in range(count):
        name, font = f"F{i}.TTF", named_font("Many", f"Many {i}")
        open(f"{folder}/{name}", "wb").write(font)
        members.append(level0(name.encode(), font))
    return b"".join(members) + b"\x00"


if __name__ == "__main__":
    if sys.argv[1] == "--fonts":
        open(sys.argv[3], "wb").write(many_fonts(int(sys.argv[2]), sys.argv[4]))
        sys.exit(0)
    out = sys.argv[1]
    open(out + "/fonts.lzh", "wb").write(fonts())
    open(out + "/hostile.lzh", "wb").write(hostile())
