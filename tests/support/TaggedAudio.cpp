// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TaggedAudio.h"

#include <cstdlib>
#include <vector>

namespace versemark::testing {
namespace {

// Writes the tag by the container the name says: FLAC's own picture block, the
// Ogg picture as a base64 METADATA_BLOCK_PICTURE comment, the MP4 cover item.
constexpr char kTagWriter[] = R"(
import base64, sys
from mutagen.flac import FLAC, Picture
from mutagen.mp4 import MP4, MP4Cover
from mutagen.oggopus import OggOpus
from mutagen.oggvorbis import OggVorbis
path, artist, title, album, track, date, comment, lyrics, size = sys.argv[1:10]
picture = Picture()
picture.type = 3
picture.mime = "image/png"
picture.data = b"\x89PNG\r\n\x1a\n" + bytes(int(size))
if path.endswith(".m4a"):
    f = MP4(path)
    f["\xa9ART"] = [artist]
    f["\xa9nam"] = [title]
    f["\xa9alb"] = [album]
    f["trkn"] = [(int(track), 12)]
    f["\xa9day"] = [date]
    f["\xa9cmt"] = [comment]
    if lyrics:
        f["\xa9lyr"] = [lyrics]
    f["covr"] = [MP4Cover(picture.data, imageformat=MP4Cover.FORMAT_PNG)]
else:
    kind = FLAC if path.endswith(".flac") else OggOpus if path.endswith(".opus") else OggVorbis
    f = kind(path)
    f["ARTIST"] = artist
    f["TITLE"] = title
    f["ALBUM"] = album
    f["TRACKNUMBER"] = track
    f["DATE"] = date
    f["COMMENT"] = comment
    if lyrics:
        f["LYRICS"] = lyrics
    if kind is FLAC:
        f.add_picture(picture)
    else:
        f["METADATA_BLOCK_PICTURE"] = [base64.b64encode(picture.write()).decode("ascii")]
f.save()
)";

// The argument quoted for the shell.
std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

bool Run(const std::vector<std::string>& words) {
    std::string command;
    for (const std::string& word : words) {
        command += Quoted(word) + " ";
    }
    return std::system((command + ">/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

bool TaggedAudioToolsAvailable() {
    return Run({"ffmpeg", "-version"}) && Run({"/usr/bin/python3", "-c", "import mutagen"});
}

bool MakeTaggedAudio(const std::string& path, const std::string& codec, const AudioFields& fields,
                     std::size_t pictureBytes) {
    return Run({"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", "anullsrc=r=48000:cl=mono",
                "-t", "1", "-c:a", codec, path}) &&
           Run({"/usr/bin/python3", "-c", kTagWriter, path, fields.Artist, fields.Title,
                fields.Album, fields.Track, fields.Date, fields.Comment, fields.Lyrics,
                std::to_string(pictureBytes)});
}

}  // namespace versemark::testing
