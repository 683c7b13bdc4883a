#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Tagging with the ID3v2 lyrics frame, checked with independent readers.

MP3 files of real audio (made by ffmpeg) with several kinds of tags are tagged by
`versemark-cli tag` with and without --also-id3v2, and by the one-file run with
the remembered choice on and off. mutagen must read the lyrics frame as the
expected text, ExifTool the Lyrics3 lyrics, ffmpeg must decode the same audio,
and every other frame and the whole tail must be byte for byte what they were
(the tail: what the Lyrics3-only pass writes).

Usage: check_id3v2_lyrics.py BUILD_DIR
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

from mutagen.apev2 import APEv2
from mutagen.id3 import COMM, ID3, PRIV, TALB, TIT2, TPE1, TSOP, TXXX, TYER, USLT

CREDIT = "Lyrics by Songleaf (https://kestrelworks.example/songleaf)"
FILTER_MARK = "[1] filter used"


def fail(message):
    print("FAILED: " + message)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)


def run(args, env=None, expect_status=0):
    result = subprocess.run(args, capture_output=True, env=env)
    if result.returncode != expect_status:
        fail("%s gave %d: %s %s" % (args, result.returncode, result.stdout, result.stderr))
    return result


# --- the layout of an ID3v2 tag, read by hand ------------------------------------------


def synchsafe(data):
    return (data[0] << 21) | (data[1] << 14) | (data[2] << 7) | data[3]


def id3v2_size(data):
    """The whole size of the ID3v2 tag that starts `data`, 0 when none."""
    if data[:3] != b"ID3":
        return 0
    return 10 + synchsafe(data[6:10])


def raw_frames(data):
    """The frames of the tag at the start of `data` as (id, bytes) pairs."""
    version = data[3]
    end = id3v2_size(data)
    frames, at = [], 10
    while at + 10 <= end and data[at] != 0:
        size_field = data[at + 4:at + 8]
        size = synchsafe(size_field) if version == 4 else struct.unpack(">I", size_field)[0]
        frames.append((data[at:at + 4], data[at:at + 10 + size]))
        at += 10 + size
    return frames


def id3v1_block(title, artist):
    return (b"TAG" + title.ljust(30, b"\0") + artist.ljust(30, b"\0") + b"\0" * 30 + b"2001" +
            b"\0" * 30 + b"\x0c")


# --- the files -------------------------------------------------------------------------


def make_audio(path):
    run(["ffmpeg", "-v", "error", "-f", "lavfi", "-i", "sine=frequency=440:duration=1", "-ac",
         "1", "-ar", "44100", "-c:a", "libmp3lame", "-b:a", "64k", "-id3v2_version", "0",
         "-write_xing", "0", "-f", "mp3", path])


def no_id3v2(path):
    """No ID3v2 tag; an APE tag and an ID3v1 block at the end."""
    ape = APEv2()
    ape["Title"] = "Ape title"
    ape.save(path)
    with open(path, "ab") as f:
        f.write(id3v1_block(b"Kappa song", b"Kappa"))


def v23_text_frames(path):
    tags = ID3()
    tags.add(TIT2(encoding=1, text="Lambda Sóng"))
    tags.add(TPE1(encoding=0, text="Lambda"))
    tags.add(TALB(encoding=1, text=["Album", "Second"]))
    tags.add(TYER(encoding=0, text="1999"))
    tags.add(COMM(encoding=1, lang="eng", desc="", text="a comment"))
    tags.add(PRIV(owner="versemark.test", data=b"\x00\x01\xff"))
    tags.save(path, v2_version=3)
    with open(path, "ab") as f:
        f.write(id3v1_block(b"Lambda song", b"Lambda"))


def v24_utf8_frames(path):
    tags = ID3()
    tags.add(TIT2(encoding=3, text="Sigma Ünïcødé"))
    tags.add(TPE1(encoding=3, text="Sigma"))
    tags.add(TSOP(encoding=3, text="Sigma, The"))
    tags.add(TXXX(encoding=3, desc="mood", text="calm"))
    tags.save(path, v2_version=4)


def v23_with_lyrics(path):
    """An earlier frame of the same description and language, and one of another."""
    tags = ID3()
    tags.add(TIT2(encoding=1, text="Omega"))
    tags.add(USLT(encoding=1, lang="XXX", desc="", text="old words"))
    tags.add(USLT(encoding=1, lang="eng", desc="other", text="other words"))
    tags.add(TPE1(encoding=0, text="Omega"))
    tags.save(path, v2_version=3)


def v24_with_other_lyrics(path):
    """A lyrics frame of another description in the same language only."""
    tags = ID3()
    tags.add(USLT(encoding=3, lang="XXX", desc="other", text="other wörds"))
    tags.add(TIT2(encoding=3, text="Theta"))
    tags.save(path, v2_version=4)


# name, how the file is made, the lyrics file's bytes, the expected frame text, version
CASES = [
    ("Kappa - Song", no_id3v2, b"Caf\xe9 au lait\r\n" + FILTER_MARK.encode(),
     "Café au lait\r\n", 3),
    # Longer than the old tag's padding: the tag grows and the audio moves.
    ("Lambda - Song", v23_text_frames, "Ünïcode wörds\r\n".encode() * 150 + FILTER_MARK.encode(),
     "Ünïcode wörds\r\n" * 150, 3),
    ("Sigma - Song", v24_utf8_frames, "Жёлтый ü\r\n".encode() + FILTER_MARK.encode(),
     "Жёлтый ü\r\n", 4),
    ("Omega - Song", v23_with_lyrics, b"new words\r\n" + FILTER_MARK.encode(), "new words\r\n", 3),
    ("Theta - Song", v24_with_other_lyrics, b"theta words\r\n" + FILTER_MARK.encode(),
     "theta words\r\n", 4),
]


def expected_text(case):
    return case[3] + FILTER_MARK + "\r\n" + CREDIT


def own_lyrics(tags):
    return [f for f in tags.getall("USLT") if f.lang == "XXX" and f.desc == ""]


def pcm(path):
    return run(["ffmpeg", "-v", "error", "-i", path, "-f", "s16le", "-"]).stdout


def read(path):
    with open(path, "rb") as f:
        return f.read()


# --- the checks ------------------------------------------------------------------------


def check_tagged(name, original, plain, both, case):
    before, after, lyrics3_only = read(original), read(both), read(plain)
    tags = ID3(both)
    check(tags.version == (2, case[4], 0), "%s: ID3v2 version %s" % (name, tags.version))
    own = own_lyrics(tags)
    check(len(own) == 1, "%s: %d lyrics frames of the own description" % (name, len(own)))
    check(own[0].text == expected_text(case), "%s: frame text %r" % (name, own[0].text))
    check(own[0].encoding == (3 if case[4] == 4 else 1), "%s: encoding %d" % (name, own[0].encoding))

    # Every other frame byte for byte, in its order.
    check(other_frames(after) == other_frames(before), "%s: other frames changed" % name)

    # The audio and the tail: exactly what the Lyrics3-only pass writes.
    check(after[id3v2_size(after):] == lyrics3_only[id3v2_size(lyrics3_only):],
          "%s: audio or tail differs from the Lyrics3-only pass" % name)
    check(pcm(both) == pcm(original), "%s: decoded audio differs" % name)

    # ExifTool reads the same Lyrics3 lyrics as after the Lyrics3-only pass.
    lyrics3 = run(["exiftool", "-b", "-Lyrics3:Lyrics", both]).stdout
    check(CREDIT.encode() in lyrics3 and
          lyrics3 == run(["exiftool", "-b", "-Lyrics3:Lyrics", plain]).stdout,
          "%s: ExifTool's Lyrics3 lyrics %r" % (name, lyrics3))


def is_own_lyrics_frame(raw):
    """True for a raw USLT frame with the language XXX and an empty description."""
    body = raw[10:]
    if raw[:4] != b"USLT" or body[1:4] != b"XXX":
        return False
    description = body[4:]
    if body[0] in (1, 2):  # UTF-16: an optional byte-order mark, then two NULs
        if description[:2] in (b"\xff\xfe", b"\xfe\xff"):
            description = description[2:]
        return description[:2] == b"\0\0"
    return description[:1] == b"\0"


def other_frames(data):
    return [raw for frame_id, raw in raw_frames(data) if not is_own_lyrics_frame(raw)]


def main():
    build = sys.argv[1]
    cli, window = os.path.join(build, "versemark-cli"), os.path.join(build, "versemark")
    work = tempfile.mkdtemp(prefix="versemark-id3v2-")
    try:
        audio = os.path.join(work, "tone.mp3")
        make_audio(audio)
        cache = os.path.join(work, "lyrics")
        folders = {kind: os.path.join(work, kind) for kind in ("original", "plain", "both")}
        for folder in list(folders.values()) + [cache]:
            os.makedirs(folder)
        for case in CASES:
            path = os.path.join(folders["original"], case[0] + ".mp3")
            shutil.copyfile(audio, path)
            case[1](path)
            with open(os.path.join(cache, case[0] + ".txt"), "wb") as f:
                f.write(case[2])
        for kind in ("plain", "both"):
            for case in CASES:
                shutil.copyfile(os.path.join(folders["original"], case[0] + ".mp3"),
                                os.path.join(folders[kind], case[0] + ".mp3"))
        run([cli, "tag", folders["plain"], "--cache", cache, "--single-dir"])
        log = run([cli, "tag", folders["both"], "--cache", cache, "--single-dir",
                   "--also-id3v2"]).stdout
        check(log.count(b"File tagged..: ") == len(CASES), "log: %r" % log)
        for case in CASES:
            name = case[0] + ".mp3"
            check_tagged(case[0], *(os.path.join(folders[k], name)
                                    for k in ("original", "plain", "both")), case)
        check(not [n for n in os.listdir(folders["both"]) if n.startswith(".")],
              "a temporary file was left behind")

        both_show = run([cli, "show", os.path.join(folders["both"], CASES[0][0] + ".mp3")]).stdout
        plain_show = run([cli, "show", os.path.join(folders["plain"], CASES[0][0] + ".mp3")]).stdout
        check(both_show.endswith(b"ID3v2 lyrics frame: present\n"), "show: %r" % both_show[-60:])
        check(plain_show.endswith(b"ID3v2 lyrics frame: none\n"), "show: %r" % plain_show[-60:])

        # The one-file run follows the choice the window remembers.
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"),
                   QT_QPA_PLATFORM="offscreen", VERSEMARK_LOCK_DIR=work)
        settings = os.path.join(work, "config", "Versemark", "Versemark.conf")
        os.makedirs(os.path.dirname(settings))
        case = CASES[1]
        lyrics = os.path.join(cache, case[0] + ".txt")
        for remembered in ("true", "false"):
            with open(settings, "w") as f:
                f.write("[Tagging]\nAlsoId3v2=%s\n" % remembered)
            mp3 = os.path.join(work, "one-%s.mp3" % remembered)
            shutil.copyfile(os.path.join(folders["original"], case[0] + ".mp3"), mp3)
            run([window, "--/w8d", "--/mp3 " + mp3, "--/lyr " + lyrics, "--/nms"], env=env)
            if remembered == "true":
                check([f.text for f in own_lyrics(ID3(mp3))] == [expected_text(case)],
                      "one-file run: no lyrics frame")
            else:
                check(read(mp3) == read(os.path.join(folders["plain"], case[0] + ".mp3")),
                      "one-file run without the choice differs from the Lyrics3-only pass")
        print("ID3v2 lyrics frame: %d files checked with mutagen, ExifTool and ffmpeg" %
              len(CASES))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
