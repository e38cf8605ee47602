#!/usr/bin/env python3
"""Writes the seed corpus of the saved-list fuzz target (tests/fuzz/corpus/saved_list).

Each seed is a saved queue or play list file: records of a 32-bit little-endian count and five archive
strings (path, file name, artist, album, song). Run from anywhere; the files are committed.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "tests", "fuzz", "corpus", "saved_list")


def archive_string(text: bytes) -> bytes:
    n = len(text)
    if n < 0xFF:
        prefix = bytes([n])
    elif n < 0xFFFE:
        prefix = b"\xff" + struct.pack("<H", n)
    else:
        prefix = b"\xff\xff\xff" + struct.pack("<I", n)
    return prefix + text


def wide_string(text: str) -> bytes:
    data = text.encode("utf-16-le")
    n = len(text)
    prefix = bytes([n]) if n < 0xFF else b"\xff" + struct.pack("<H", n)
    return b"\xff\xfe\xff" + prefix + data


def record(count, path, name=b"", artist=b"", album=b"", song=b"", wide_path=None):
    body = wide_string(wide_path) if wide_path is not None else archive_string(path)
    return (struct.pack("<I", count) + body + archive_string(name) + archive_string(artist) +
            archive_string(album) + archive_string(song))


def saved_list(entries, count=None):
    n = len(entries) if count is None else count
    return b"".join(record(n, *e) for e in entries)


def main():
    os.makedirs(OUT, exist_ok=True)
    long_path = b"C:\\" + b"m" * 293 + b".mp3"
    assert len(long_path) == 300
    three = [
        (b"C:\\Music\\one.mp3", b"", b"Abba\0", b"Waterloo\0", b"Waterloo\0"),
        (long_path, b"", b"long", b"Error Opening File", long_path),
        (b"D:\\x.wav", b"x.wav", b"x.wav", b"", b"D:\\x.wav"),
    ]
    seeds = {
        "empty": b"",
        "example-19-bytes": record(1, b"C:\\a.mp3", b"", b"X", b"", b"Y"),
        "three-records-300-char-path": saved_list(three),
        "wide-path": record(1, None, b"", b"Artist", b"Album", b"Song", wide_path="C:\\Gr\u00fcn\\\u00e9t\u00e9.mp3"),
        "truncated-third-record": saved_list(three)[:-7],
        "count-zero": saved_list(three[:2], count=0),
        "count-too-large": saved_list(three[:2], count=1000),
        "count-smaller-than-records": saved_list(three, count=1),
        "counts-differ": record(5, b"a") + record(1, b"b") + record(3, b"c") + record(9, b"d"),
        "huge-string-length": struct.pack("<I", 1) + b"\xff\xff\xff" + struct.pack("<I", 0xFFFFFFF0),
        "garbage-after-record": record(2, b"C:\\a.mp3") + b"\x07\x00\x00\x00\xff\xfe",
    }
    for name, data in seeds.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    assert len(seeds["example-19-bytes"]) == 19


if __name__ == "__main__":
    main()
