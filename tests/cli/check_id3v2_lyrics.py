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
import json
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


# --- files for the write in place and for what readers show ------------------------------


def v23_padded(path):
    """Room for the lyrics frame in the padding: the tag is written in place."""
    tags = ID3()
    tags.add(TIT2(encoding=1, text="Pi"))
    tags.add(TPE1(encoding=0, text="Pi band"))
    tags.save(path, v2_version=3, padding=lambda info: 2048)


def v24_no_padding(path):
    """No padding: the tag grows, and gets padding behind the new frame."""
    tags = ID3()
    tags.add(TIT2(encoding=3, text="Rho"))
    tags.add(TPE1(encoding=3, text="Rho band"))
    tags.save(path, v2_version=4, padding=lambda info: 0)


def id3v1_only(path):
    with open(path, "ab") as f:
        f.write(id3v1_block(b"Tau title", b"Tau artist"))


def v23_eng_lyrics(path):
    """A lyrics frame with an empty description in another language comes first."""
    tags = ID3()
    tags.add(USLT(encoding=1, lang="eng", desc="", text="english words"))
    tags.add(TIT2(encoding=1, text="Upsilon"))
    tags.save(path, v2_version=3, padding=lambda info: 64)


def plain_size_frame(frame_id, data):
    return frame_id + struct.pack(">I", len(data)) + b"\0\0" + data


def v24_plain_sizes(path):
    """A 2.4 tag whose frames carry plain sizes; 200 bytes read as 7-bit bytes
    would be 136."""
    frames = (plain_size_frame(b"TXXX", b"\x03note\x00" + b"n" * 194) +
              plain_size_frame(b"TIT2", b"\x03Phi"))
    body = frames + b"\0" * 4000
    size = bytes([(len(body) >> shift) & 0x7F for shift in (21, 14, 7, 0)])
    with open(path, "rb") as f:
        audio = f.read()
    with open(path, "wb") as f:
        f.write(b"ID3\x04\x00\x00" + size + body + audio)


def claims_past_end(path):
    with open(path, "rb") as f:
        audio = f.read()
    with open(path, "wb") as f:
        f.write(b"ID3\x03\x00\x00\x7f\x7f\x7f\x7f" + audio)


def empty_file(path):
    open(path, "wb").close()


WORDS = "Wörds of a song, long enough for a frame of more than 127 bytes.\r\n" * 3
# name, how the file is made, the lyrics file's bytes, the expected frame text, version
MORE_CASES = [
    ("Pi - Song", v23_padded, b"pi words\r\n" + FILTER_MARK.encode(), "pi words\r\n", 3),
    ("Rho - Song", v24_no_padding, WORDS.encode() + FILTER_MARK.encode(), WORDS, 4),
    ("Tau - Song", id3v1_only, b"tau words\r\n" + FILTER_MARK.encode(), "tau words\r\n", 3),
    ("Upsilon - Song", v23_eng_lyrics, b"new words\r\n" + FILTER_MARK.encode(), "new words\r\n",
     3),
    ("Phi - Song", v24_plain_sizes, WORDS.encode() + FILTER_MARK.encode(), WORDS, 4),
]
REFUSED = [("Chi - Song", claims_past_end), ("Psi - Song", empty_file)]


def probe_tags(path):
    out = run(["ffprobe", "-v", "error", "-show_entries", "format_tags=title,artist", "-of",
               "default=noprint_wrappers=1", path]).stdout
    return sorted(line for line in out.decode().splitlines() if line)


def exif_warnings(path):
    out = run(["exiftool", "-a", "-G1", "-Warning", "-Error", path]).stdout
    return [line for line in out.decode().splitlines() if line]


def check_more(work, cli, cache):
    """The write in place, the padding, the ID3v1 values, the frame readers show
    first, the tag's own frame sizes, and the files no write may touch."""
    folders = {kind: os.path.join(work, "more-" + kind) for kind in ("original", "both")}
    for folder in folders.values():
        os.makedirs(folder)
    audio = os.path.join(work, "tone.mp3")
    for name, make in [(c[0], c[1]) for c in MORE_CASES] + REFUSED:
        for kind in ("original", "both"):
            path = os.path.join(folders[kind], name + ".mp3")
            shutil.copyfile(audio, path)
            make(path)
        with open(os.path.join(cache, name + ".txt"), "wb") as f:
            f.write(b"words\r\n" + FILTER_MARK.encode())
    for case in MORE_CASES:
        with open(os.path.join(cache, case[0] + ".txt"), "wb") as f:
            f.write(case[2])
    scan = run([cli, "scan", folders["both"], "--cache", cache, "--single-dir", "--json"]).stdout
    rows = {os.path.basename(r["mp3"]): r["checked"] for r in json.loads(scan)["rows"]}
    for name, _ in REFUSED:
        check(rows.get(name + ".mp3") is False, "%s: checked by the scan: %r" % (name, rows))
    log = run([cli, "tag", folders["both"], "--cache", cache, "--single-dir",
               "--also-id3v2"]).stdout
    check(log.count(b"File tagged..: ") == len(MORE_CASES), "log: %r" % log)
    for name, _ in REFUSED:
        before = read(os.path.join(folders["original"], name + ".mp3"))
        check(read(os.path.join(folders["both"], name + ".mp3")) == before, "%s: changed" % name)

    for case in MORE_CASES:
        name = case[0]
        original = os.path.join(folders["original"], name + ".mp3")
        both = os.path.join(folders["both"], name + ".mp3")
        before, after = read(original), read(both)
        tags = ID3(both)
        check(tags.version == (2, case[4], 0), "%s: ID3v2 version %s" % (name, tags.version))
        shown = [f for f in tags.getall("USLT") if f.desc == ""]
        check(shown and shown[0].text == expected_text(case),
              "%s: the first lyrics frame readers show: %r" % (name, shown[:1]))
        check(len(shown) == 1, "%s: %d lyrics frames without a description" % (name, len(shown)))
        check(pcm(both) == pcm(original), "%s: decoded audio differs" % name)
        check(exif_warnings(both) == exif_warnings(original),
              "%s: ExifTool: %r" % (name, exif_warnings(both)))
        check(probe_tags(both) == probe_tags(original),
              "%s: ffprobe %r, before %r" % (name, probe_tags(both), probe_tags(original)))
        if name == "Pi - Song":
            # Written in place: the tag kept its size, the audio its place.
            check(id3v2_size(after) == id3v2_size(before) and
                  after[id3v2_size(after):len(before) - 128] ==
                  before[id3v2_size(before):len(before) - 128], "Pi: not written in place")
        if name in ("Rho - Song", "Tau - Song"):
            # A tag that grew ends in 4 KiB of padding.
            end = raw_frames(after)[-1][1]
            frames_end = after.index(end) + len(end)
            check(after[frames_end:id3v2_size(after)] == b"\0" * 4096, "%s: padding" % name)
        if name == "Tau - Song":
            raw = ID3(both, translate=False)
            check(raw["TIT2"].text == ["Tau title"] and raw["TPE1"].text == ["Tau artist"] and
                  raw["TYER"].text == ["2001"] and raw["TCON"].text == ["(12)"],
                  "Tau: ID3v1 values %r" % raw.pprint())
            check(probe_tags(both) == ["TAG:artist=Tau artist", "TAG:title=Tau title"],
                  "Tau: ffprobe %r" % probe_tags(both))
        if name == "Upsilon - Song":
            check(shown[0].lang == "eng", "Upsilon: language %r" % shown[0].lang)
            ids = [frame_id for frame_id, _ in raw_frames(before)]
            check([frame_id for frame_id, _ in raw_frames(after)] == ids,
                  "Upsilon: the frame moved: %r" % ids)
        if name == "Phi - Song":
            # The frames walk with plain sizes to the padding, the new one too.
            at, end = 10, id3v2_size(after)
            while at + 10 <= end and after[at] != 0:
                at += 10 + struct.unpack(">I", after[at + 4:at + 8])[0]
            check(at <= end and not after[at:end].strip(b"\0"), "Phi: frame sizes not plain")
    print("ID3v2 lyrics frame: %d more files checked, %d refused" % (len(MORE_CASES),
                                                                     len(REFUSED)))


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

    # Every other frame byte for byte, in its order; a new tag carries the
    # ID3v1 block's values.
    if id3v2_size(before):
        check(other_frames(after) == other_frames(before), "%s: other frames changed" % name)
    else:
        raw = ID3(both, translate=False)
        values = [(frame_id, raw[frame_id.decode()].text) for frame_id, _ in raw_frames(after)
                  if frame_id != b"USLT"]
        check(values == [(b"TIT2", [name.split(" - ")[0] + " song"]),
                         (b"TPE1", [name.split(" - ")[0]]), (b"TYER", ["2001"]),
                         (b"TCON", ["(12)"])], "%s: ID3v1 values %r" % (name, values))

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

        check_more(work, cli, cache)

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
