#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Songs in the formats with a lyrics field of their own, made and read by
independent tools for the tagging tests.

  field_files.py make FOLDER   real audio by ffmpeg, tags and a cover by mutagen;
                               prints the names made, one a line
  field_files.py dump FILE     what mutagen and ffmpeg read: a line of every tag
                               but the lyrics, the pictures and the decoded audio,
                               then each lyrics value as UTF-8, NUL between two
Exits 3 when ffmpeg or mutagen is missing.
"""
import base64
import hashlib
import json
import os
import shutil
import subprocess
import sys

try:
    from mutagen import File
    from mutagen.flac import FLAC, Picture
    from mutagen.mp4 import MP4, MP4Cover
    from mutagen.oggopus import OggOpus
    from mutagen.oggvorbis import OggVorbis
except ImportError:
    sys.exit(3)

# A tiny PNG: its bytes only need to come back unchanged.
COVER = base64.b64decode(
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==")

# name, encoder, extension, whether it gets an earlier lyrics value
SONGS = [
    ("flac", "flac", "flac", False),
    ("vorbis", "libvorbis", "ogg", True),
    ("opus", "libopus", "opus", False),
    ("aac", "aac", "m4a", False),
    ("alac", "alac", "m4a", True),
]
VORBIS_LYRICS = "LYRICS"
MP4_LYRICS = "\xa9lyr"


def picture():
    pic = Picture()
    pic.type = 3
    pic.mime = "image/png"
    pic.desc = "cover"
    pic.data = COVER
    return pic


def tag_vorbis(audio, old_lyrics):
    audio["TITLE"] = "Caf\u00e9 song"
    audio["ARTIST"] = ["First", "Second"]
    audio["ALBUM"] = "Album"
    audio["MOOD"] = "calm"
    if old_lyrics:
        audio[VORBIS_LYRICS] = "earlier words"
    if isinstance(audio, FLAC):
        audio.add_picture(picture())
    else:
        audio["METADATA_BLOCK_PICTURE"] = base64.b64encode(picture().write()).decode()
    audio.save()


def tag_mp4(audio, old_lyrics):
    audio["\xa9nam"] = "Caf\u00e9 song"
    audio["\xa9ART"] = "First"
    audio["\xa9alb"] = "Album"
    audio["trkn"] = [(3, 9)]
    audio["----:com.apple.iTunes:MOOD"] = b"calm"
    audio["covr"] = [MP4Cover(COVER, imageformat=MP4Cover.FORMAT_PNG)]
    if old_lyrics:
        audio[MP4_LYRICS] = "earlier words"
    audio.save()


def make(folder):
    for name, encoder, extension, old_lyrics in SONGS:
        path = os.path.join(folder, "%s.%s" % (name, extension))
        subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                        "sine=frequency=440:sample_rate=48000:duration=1", "-ac", "1",
                        "-c:a", encoder, path], check=True)
        audio = File(path)
        if isinstance(audio, MP4):
            tag_mp4(audio, old_lyrics)
        else:
            tag_vorbis(audio, old_lyrics)
        print(path)


def decoded_md5(path):
    out = subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-i", path, "-map", "0:a",
                          "-f", "md5", "-"], check=True, capture_output=True).stdout
    return out.decode().strip()


def dump(path):
    audio = File(path)
    tags, lyrics, pictures = {}, [], []
    if isinstance(audio, MP4):
        for key, values in audio.tags.items():
            if key == MP4_LYRICS:
                lyrics = list(values)
            elif key == "covr":
                pictures = [hashlib.sha256(bytes(v)).hexdigest() for v in values]
            else:
                tags[key] = [repr(v) for v in values]
    else:
        for key, value in audio.tags:
            key = key.upper()  # TagLib writes the keys upper-case
            if key == VORBIS_LYRICS:
                lyrics.append(value)
            elif key == "METADATA_BLOCK_PICTURE":
                pictures.append(hashlib.sha256(base64.b64decode(value)).hexdigest())
            else:
                tags.setdefault(key, []).append(value)
        if isinstance(audio, FLAC):
            pictures += [hashlib.sha256(p.write()).hexdigest() for p in audio.pictures]
    meta = json.dumps({"tags": tags, "pictures": pictures, "audio": decoded_md5(path)},
                      sort_keys=True)
    sys.stdout.buffer.write(meta.encode() + b"\n" + "\0".join(lyrics).encode())


def main():
    if not shutil.which("ffmpeg"):
        sys.exit(3)
    if sys.argv[1] == "make":
        make(sys.argv[2])
    else:
        dump(sys.argv[2])


if __name__ == "__main__":
    main()
