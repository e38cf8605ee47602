#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (tests/fuzz/corpus/<target>).

saved_list: saved queue or play list files, records of a 32-bit little-endian count and five archive
strings (path, file name, artist, album, song). id3v1: 128-byte tag blocks. id3v2: starts of MP3 files
with version 2 tags. m3u: play lists as this and other programs write them. Run from anywhere; the files
are committed.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "..", "tests", "fuzz", "corpus")


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


def write_seeds(target, seeds):
    out = os.path.join(CORPUS, target)
    os.makedirs(out, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


def saved_list_seeds():
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
    assert len(seeds["example-19-bytes"]) == 19
    return seeds


def id3v1_block(song=b"", artist=b"", album=b"", year=b"", comment=b"", genre=0, marker=b"TAG"):
    def field(text, size):
        return text[:size].ljust(size, b"\0")
    return marker + field(song, 30) + field(artist, 30) + field(album, 30) + field(year, 4) + \
        field(comment, 30) + bytes([genre])


def id3v1_seeds():
    return {
        "empty": b"",
        "basic": id3v1_block(b"Title", b"Artist", b"Album", b"2003", b"Comment", 12),
        "full-fields": id3v1_block(b"T" * 30, b"A" * 30, b"L" * 30, b"2003", b"C" * 30, 255),
        "blank-padded": id3v1_block(b"Song" + b" " * 26, b"Artist ", b"Album"),
        "v1.1-track": id3v1_block(b"Song", comment=b"c" * 28 + b"\0\x07"),
        "latin1": id3v1_block(b"Bj\xf6rk", b"\xc8t\xe9", b"\r\nalbum\n"),
        "zero-inside": id3v1_block(b"ab\0cd", b"\0x", b"y\0"),
        "marker-cut-by-zero": id3v1_block(b"Song", marker=b"TA\0"),
        "lower-case-marker": id3v1_block(b"Song", marker=b"tag"),
        "127-bytes": id3v1_block(b"Song")[:127],
        "longer-than-a-block": id3v1_block(b"Song") + b"\xff" * 64,
    }


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def id3v2_frame(version, frame_id, content, flags=0, plain_size=False):
    if version == 2:
        return frame_id + struct.pack(">I", len(content))[1:] + content
    size = struct.pack(">I", len(content)) if version == 3 or plain_size else syncsafe(len(content))
    return frame_id + size + bytes([0, flags]) + content


def id3v2_tag(version, body, flags=0, size=None):
    return b"ID3" + bytes([version, 0, flags]) + syncsafe(len(body) if size is None else size) + body


def latin1(text):
    return b"\0" + text


def three_frames(version, song=b"Title", artist=b"Artist", album=b"Album"):
    ids = (b"TT2", b"TP1", b"TAL") if version == 2 else (b"TIT2", b"TPE1", b"TALB")
    return b"".join(id3v2_frame(version, i, latin1(t)) for i, t in zip(ids, (song, artist, album)))


def unsynchronise(data):
    return data.replace(b"\xff", b"\xff\0")


def id3v2_seeds():
    audio = b"\xff\xfb\x90\x44" + b"\0" * 28
    text = "Caf\u00e9 \u4e2d"
    encodings = {
        "latin1": b"\0Caf\xe9",
        "utf16-bom": b"\1" + b"\xff\xfe" + text.encode("utf-16-le") + b"\0\0",
        "utf16-be-bom": b"\1" + b"\xfe\xff" + text.encode("utf-16-be"),
        "utf16-be": b"\2" + text.encode("utf-16-be") + b"\0\0" + "second".encode("utf-16-be"),
        "utf8": b"\3" + text.encode("utf-8") + b"\0second",
    }
    seeds = {
        "empty": b"",
        "v22": id3v2_tag(2, three_frames(2) + b"\0" * 16) + audio,
        "v23": id3v2_tag(3, three_frames(3) + b"\0" * 16) + audio,
        "v24": id3v2_tag(4, three_frames(4) + b"\0" * 16) + audio,
        "v23-unsynchronised": id3v2_tag(3, unsynchronise(three_frames(3, b"\xff\xe0\xff", b"\xff"))
                                        , flags=0x80),
        "v24-frame-unsynchronised": id3v2_tag(4, id3v2_frame(4, b"TIT2", unsynchronise(b"\0a\xff\xe0"), 0x02)),
        "v23-extended-header": id3v2_tag(3, b"\0\0\0\x06" + b"\0" * 6 + three_frames(3), flags=0x40),
        "v24-extended-header": id3v2_tag(4, syncsafe(6) + b"\x01\0" + three_frames(4), flags=0x40),
        "v24-footer": id3v2_tag(4, three_frames(4), flags=0x10) + b"3DI\4\0\x10" + syncsafe(0),
        "v24-plain-sizes": id3v2_tag(4, id3v2_frame(4, b"TIT2", latin1(b"t" * 255), plain_size=True) +
                                     id3v2_frame(4, b"TPE1", latin1(b"Artist"), plain_size=True)),
        "v23-grouped-compressed-encrypted": id3v2_tag(3, id3v2_frame(3, b"TIT2", b"\x80" + latin1(b"x"), 0x20) +
                                                      id3v2_frame(3, b"TPE1", b"\0\0\0\x10xyz", 0x80) +
                                                      id3v2_frame(3, b"TALB", b"\x01" + latin1(b"e"), 0x40)),
        "v24-data-length": id3v2_tag(4, id3v2_frame(4, b"TIT2", syncsafe(2) + latin1(b"x"), 0x01)),
        "v22-compressed": id3v2_tag(2, three_frames(2), flags=0x40),
        "picture-before-title": id3v2_tag(3, id3v2_frame(3, b"APIC", b"\0image/png\0\3\0" + b"p" * 2000) +
                                          three_frames(3)),
        "duplicates-and-other-frames": id3v2_tag(3, id3v2_frame(3, b"COMM", b"\0eng\0c") + three_frames(3) +
                                                 three_frames(3, b"Second")),
        "frame-larger-than-tag": id3v2_tag(3, b"TIT2\0\0\x10\0\0\0\0x"),
        "size-claims-256-mb": b"ID3\3\0\0\x7f\x7f\x7f\x7f" + three_frames(3),
        "size-not-syncsafe": b"ID3\3\0\0\0\0\0\x80" + three_frames(3),
        "truncated": (id3v2_tag(3, three_frames(3)))[:30],
        "empty-frames": id3v2_tag(3, id3v2_frame(3, b"TIT2", b"") + id3v2_frame(3, b"TPE1", b"\1")),
        # Bytes that are no UTF-8 in a UTF-8 frame: each becomes a three-byte replacement character.
        "v24-broken-utf8": id3v2_tag(4, id3v2_frame(4, b"TIT2", b"\3" + b"\xd3" * 100)),
    }
    for name, content in encodings.items():
        seeds["v24-" + name] = id3v2_tag(4, id3v2_frame(4, b"TIT2", content))
    return seeds


def m3u_seeds():
    wide = "#EXTM3U\r\nC:\\caf\u00e9.mp3\r\nhttp://radio.example/a.mp3\r\n\u4e2d.wav\r\n"
    return {
        "empty": b"",
        "written-by-melodeck": b"#EXTM3U\r\nC:\\Music\\a.mp3\r\nD:\\More Music\\b.wav\r\n",
        "no-header-lf": b"a.mp3\nsub\\b.wav\n\n#comment\nlast.mp3",
        "extinf": b"#EXTM3U\n#EXTINF:215,Artist - Song\nsong.mp3\n\t\t#EXTINF:-1,indented\nx.mp3\n",
        "path-forms": b"C:\\x\\a.mp3\r\nc:/music/b.mp3\r\n\\\\nas\\share\\c.mp3\r\n\\rooted\\d.mp3\r\n"
                      b"..\\up\\e.mp3\r\nnotes:\\f.mp3\r\nC:g.mp3\r\n",
        "web-addresses": b"http://a.example/x.mp3\nHTTPS://b.example/\nmms://c\nrtsp+x.1://d\nC://e.mp3\nab ://f\n",
        "utf8-bom": b"\xef\xbb\xbf" + wide.encode("utf-8"),
        "utf8-no-bom": wide.encode("utf-8"),
        "utf8-bom-bad-bytes": b"\xef\xbb\xbfa\xe9.mp3\r\n\xc3\r\n\xf4\x90\x80\x80.mp3\r\n\xed\xa0\x80\r\n",
        "code-page": b"#EXTM3U\r\nC:\\caf\xe9.mp3\r\nBj\xf6rk.mp3\r\n",
        "utf16-le-bom": b"\xff\xfe" + wide.encode("utf-16-le"),
        "utf16-be-bom-odd": b"\xfe\xff" + wide.encode("utf-16-be") + b"\x41",
        "crs-and-zeros": b"a\rb\r\n\r\r\nc\0d\r\n\r",
    }


def main():
    write_seeds("saved_list", saved_list_seeds())
    write_seeds("id3v1", id3v1_seeds())
    write_seeds("id3v2", id3v2_seeds())
    write_seeds("m3u", m3u_seeds())


if __name__ == "__main__":
    main()
