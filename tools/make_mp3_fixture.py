#!/usr/bin/env python3
"""Writes tests/fixtures/abba-waterloo.mp3, the small tagged MP3 the tests use.

How it is made (tests/support/TestMedia.cpp makes the same bytes, and a test checks that they agree):
  - 10 MPEG-1 Layer III frames, each 417 bytes: the header FF FB 90 64 (no CRC, 128 kbit/s,
    44.1 kHz, no padding, joint stereo, original) followed by 413 zero bytes. All-zero side
    information means no main data and zero global gain: a frame of silence, which decoders
    (Wine's GStreamer MPEG decoder among them) play. 10 frames last 10 * 1152 / 44100 s, about 0.26 s.
  - an ID3 version 1 tag of 128 bytes: "TAG", the song "Waterloo", the artist "Abba" and the album
    "Waterloo", each in 30 bytes padded with zeros, and zeros for year, comment and genre.

Usage: tools/make_mp3_fixture.py [output path]
"""
import os
import sys

FRAME_HEADER = bytes([0xFF, 0xFB, 0x90, 0x64])
FRAME_BYTES = 417
FRAMES = 10


def field(text, width=30):
    data = text.encode("ascii")[:width]
    return data + bytes(width - len(data))


def id3v1(song, artist, album):
    tag = b"TAG" + field(song) + field(artist) + field(album)
    return tag + bytes(128 - len(tag))


def silent_mp3(frames):
    frame = FRAME_HEADER + bytes(FRAME_BYTES - len(FRAME_HEADER))
    return frame * frames


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "tests", "fixtures", "abba-waterloo.mp3")
    os.makedirs(os.path.dirname(out), exist_ok=True)
    with open(out, "wb") as f:
        f.write(silent_mp3(FRAMES) + id3v1("Waterloo", "Abba", "Waterloo"))
    print(out)


if __name__ == "__main__":
    main()
