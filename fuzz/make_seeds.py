#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpus of the fuzz targets into fuzz/corpus/<target>/.

The files are small MP3 tails built from the tag layout: audio, an optional
Lyrics3 tag (version 1 or 2), an optional 128-byte ID3v1 block. Run it again
after changing the layout; the files it writes are kept in the repository.
"""
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent

# One silent MPEG-1 Layer III frame header and its body.
FRAME = b"\xff\xfb\x90\x64" + bytes(413)


def audio(count):
    return (FRAME * (count // len(FRAME) + 1))[:count]


def lyrics3v2(fields, trailer=b"LYRICS200"):
    tag = b"LYRICSBEGIN"
    for field_id, data in fields:
        tag += field_id + b"%05d" % len(data) + data
    return tag + b"%06d" % len(tag) + trailer


def lyrics3v1(text):
    return b"LYRICSBEGIN" + text + b"LYRICSEND"


def padded(text, width):
    return text[:width].ljust(width, b"\0")


def id3v1(title, artist, album=b"", year=b"", comment=b"", track=0, genre=255):
    return (b"TAG" + padded(title, 30) + padded(artist, 30) + padded(album, 30)
            + padded(year, 4) + padded(comment, 28) + bytes([0, track, genre]))


LYRICS = b"[00:01]First line\r\nSecond line\r\n"
ID3 = id3v1(b"Some Song", b"Some Band", b"Album", b"1999")

FILES = {
    "v2_id3": audio(200) + lyrics3v2([(b"IND", b"100"), (b"LYR", LYRICS)]) + ID3,
    "v2_no_id3": audio(150) + lyrics3v2([(b"LYR", LYRICS), (b"EAL", b"Album")]),
    "v2_other_fields": audio(100) + lyrics3v2([(b"ETT", b"Title"), (b"IND", b"10"),
                                                (b"INF", b"note")]) + ID3,
    "v2_higher_version": audio(100) + lyrics3v2([(b"LYR", b"la")], b"LYRICS201") + ID3,
    # Version 1 tags are looked for in the last 5120 bytes in front of E only.
    "v1_id3": audio(5200) + lyrics3v1(LYRICS) + ID3,
    "id3_only": audio(300) + ID3,
    "audio_only": audio(400),
}


def header(failing_operation, bytes_before_failure, lyrics):
    return struct.pack("<BHH", failing_operation, bytes_before_failure, len(lyrics)) + lyrics


# Tagging seeds: no failure, writes that stop partway, a failing length, a
# failing read. The calls on a file with a version 1 tag: 1 length, 2 read of
# the ID3v1 block, 3 length, 4 read of the trailer, 5 read of the search
# window, 6 length, 7 read of the old tail, 8 write.
TAGGING = {
    "no_failure_v2": header(0, 0, LYRICS) + FILES["v2_id3"],
    "no_failure_plain": header(0, 0, b"Words\r\n") + FILES["id3_only"],
    # UTF-8 lyrics with a byte-order mark: stored in the code page.
    "utf8_lyrics": header(0, 0, b"\xef\xbb\xbfBeyonc\xc3\xa9\r\n") + FILES["id3_only"],
    "torn_write_v2": header(9, 20, LYRICS * 3) + FILES["v2_no_id3"],
    "torn_write_v1": header(8, 300, b"x") + FILES["v1_id3"],
    "failing_third_call": header(3, 0, LYRICS) + FILES["audio_only"],
    # Found by the fuzzer: a failing read of the version 1 window made the
    # writer put the new tag behind the old one and report success.
    "failing_v1_window_read": header(5, 300, b"x") + FILES["v1_id3"],
    # A close that fails after the whole new tail is written (call 8 on a file
    # with only an ID3v1 block), and a tag with two LYR fields.
    "failing_close_after_write": header(8, 0, LYRICS) + FILES["id3_only"],
    "repeated_lyr_field": header(0, 0, LYRICS) + audio(100)
    + lyrics3v2([(b"LYR", b"old one"), (b"LYR", b"old two")]) + ID3,
}

MATCHER = {
    "names": b"some,band,song\nlove\nband,band\n,title\n\n/music/Some Band/Song - LOVE.mp3",
    "accents": b"beyonc\xc3\x89\nbeyonc\xc9\n\xc3\n\nBEYONC\xc3\xa9 LAME3 live ID3\nbeyonc\xe9\n",
    "overlaps": b"aa,aaa\nhe\nshe\nhers\nusher,s\n\nushers aaa\x00\x00''''''__",
}

# Journal seeds. Raw journals (first byte 0): entries as the writer frames them
# (type, 8-byte little-endian length, payload, FNV-1a of the rest); a whole one,
# one with a record forged behind a damaged entry, and one cut inside an entry.
# Written journals (first byte 1): cut or flip (even: cut), the place (2 bytes),
# then three bytes a record: old tail length, new tail length, mark.
def fnv(data):
    value = 0xCBF29CE484222325
    for byte in data:
        value = ((value ^ byte) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return value


def number(value):
    return struct.pack("<Q", value)


def text(data):
    return number(len(data)) + data


def entry(kind, payload):
    framed = kind + number(len(payload)) + payload
    return framed + number(fnv(framed))


def stamp():
    return number(1) + number(2049) + number(12) + number(1028) + number(0)


def tail_record(index, old, new):
    return entry(b"T", number(index) + text(b"/m/song%d.mp3" % index) + stamp() + number(900) +
                 number(900 + len(old)) + text(old) + text(new))


def ranges_record(index, ranges, old_length):
    """A change at several places: (offset, old bytes, new bytes) each."""
    payload = (number(index) + text(b"/m/song%d.mp3" % index) + stamp() + number(old_length) +
               number(len(ranges)))
    for offset, old, new in ranges:
        payload += number(offset) + text(old) + text(new)
    return entry(b"R", payload)


JOURNAL_HEADER = entry(b"V", number(2) + number(1765000000) + text(b"/m") + text(b""))
JOURNAL_RECORDS = (tail_record(0, b"TAG" + bytes(125), b"LYRICSBEGIN" + bytes(20)) +
                   entry(b"D", number(0) + stamp()) +
                   tail_record(1, b"old", b"new tail") + entry(b"X", number(1)))
JOURNAL_WHOLE = JOURNAL_HEADER + JOURNAL_RECORDS
JOURNAL = {
    "raw_whole": b"\x00" + JOURNAL_WHOLE + entry(b"S", number(2) + number(0) + number(0) +
                                                 number(len(JOURNAL_WHOLE))),
    "raw_forged_behind_damage": b"\x00" + JOURNAL_HEADER + b"T\xff" + bytes(30) +
    tail_record(7, b"x", b"y"),
    "raw_cut": b"\x00" + JOURNAL_WHOLE[:len(JOURNAL_WHOLE) - 40],
    "raw_ranges": b"\x00" + JOURNAL_HEADER +
    ranges_record(0, [(10, b"\0" * 8, b"USLT" + bytes(4)), (900, b"TAG" + bytes(125),
                                                            b"LYRICSBEGIN" + bytes(20))], 1028) +
    entry(b"D", number(0) + stamp()),
    "written_cut": b"\x01\x00\x01\x10" + b"\x20\x10\x00" * 4,
    "written_flip": b"\x01\x01\x00\x90" + b"\x08\x30\x01" * 3,
}


def write(target, files):
    folder = HERE / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in files.items():
        (folder / name).write_bytes(data)


write("tail_readers", FILES)
write("tagging", TAGGING)
write("matcher", MATCHER)
write("journal", JOURNAL)
