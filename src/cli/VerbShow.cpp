// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliArguments.h"
#include "cli/CliVerbs.h"
#include "cli/DisplayText.h"
#include "platform/FileSystem.h"
#include "tags/AudioTag.h"
#include "tags/Id3v2Lyrics.h"
#include "tags/SavedLyrics.h"

namespace versemark::cli {

namespace {

constexpr std::string_view kName = "show";
constexpr std::string_view kNoTagMessage = "No Lyrics3 tag in this file.";

constexpr std::string_view kHelp =
    "Usage: versemark-cli show MP3FILE [--raw]\n"
    "\n"
    "Prints the lyrics saved in the Lyrics3 tag of MP3FILE (version 1 or 2), as they\n"
    "are stored; the viewer's two-line message when the file carries a Lyrics3 tag\n"
    "without a lyrics field, or its two-line message on a tag of a newer version,\n"
    "which is not read; \"No Lyrics3 tag in this file.\" when it carries none.\n"
    "The file is opened read-only; one that cannot be read ends with its reason on\n"
    "standard error and exit status 1.\n"
    "\n"
    "Lines keep their CR LF ends. NUL padding is left out, text that is not valid\n"
    "UTF-8 is shown as Windows-1252, and a last line end is added.\n"
    "\n"
    "After the lyrics a last line tells whether the file also holds an ID3v2 lyrics\n"
    "frame (USLT), the frame tag --also-id3v2 writes.\n"
    "\n"
    "A FLAC, Ogg (Vorbis or Opus) or MP4 (M4A) file, known by its content, is read\n"
    "through its own tag instead: the lyrics of its Vorbis comment LYRICS (else\n"
    "UNSYNCEDLYRICS) or of its MP4 \xC2\xA9lyr item, then a last line naming where they\n"
    "were found (\"Found in: Vorbis comment LYRICS\"); \"No lyrics in this file's own\n"
    "tag.\" when it holds none.\n"
    "\n"
    "  --raw    print the stored bytes exactly, nothing added or converted\n";

constexpr std::string_view kHasId3v2Lyrics = "ID3v2 lyrics frame: present\n";
constexpr std::string_view kNoId3v2Lyrics = "ID3v2 lyrics frame: none\n";
constexpr std::string_view kNoOwnLyrics = "No lyrics in this file's own tag.\n";
constexpr std::string_view kFoundIn = "Found in: ";

// The lyrics of a FLAC, Ogg or MP4 file's own tag. nullopt for a file of any
// other content (an MP3 file's tail is read as always); a tag that cannot be
// read holds no lyrics.
std::optional<AudioTag> ReadOwnTag(const std::string& path) {
    const std::unique_ptr<RandomAccessFile> file = OpenFile(path, FileAccess::Read);
    if (!file) {
        return std::nullopt;
    }
    const ContentKind kind = DetectContainerKind(*file);
    std::optional<AudioTag> tag;
    if (HasOwnLyricsField(kind)) {
        tag = ReadAudioTag(*file, kind).value_or(AudioTag{});
    }
    file->Close();
    return tag;
}

int ShowOwnLyrics(const AudioTag& tag, bool raw, CliIo& io) {
    if (tag.Lyrics.empty()) {
        io.Out << kNoOwnLyrics;
    } else if (raw) {
        io.Out << tag.Lyrics;
    } else {
        io.Out << LyricsForTerminal(tag.Lyrics) << kFoundIn << tag.LyricsPlace << '\n';
    }
    return kExitOk;
}

int Run(const VerbArguments& args, CliIo& io) {
    const ParsedArguments parsed = ParseVerbArguments(args, kOptRaw, 1);
    if (const auto status = HelpOrUsageError(parsed, kHelp, kName, io)) {
        return *status;
    }
    const std::string& path = parsed.Options.Positionals.front();
    if (!IsRegularFile(path)) {
        return UsageError(io, kName, "not a file: " + DisplayPath(path));
    }
    if (const std::optional<AudioTag> own = ReadOwnTag(path)) {
        return ShowOwnLyrics(*own, parsed.Options.Raw, io);
    }
    const SavedLyricsRead read = ReadSavedLyricsState(path);
    if (read.State == SavedLyricsState::Unreadable) {
        return Failure(io, kName, DisplayPath(path) + ": " + read.Reason);
    }
    if (read.State == SavedLyricsState::NoTag) {
        io.Out << kNoTagMessage << "\n";
    } else {
        const std::string lyrics = SavedLyricsText(read);
        if (parsed.Options.Raw) {
            io.Out << lyrics;
            return kExitOk;
        }
        io.Out << LyricsForTerminal(lyrics);
    }
    if (!parsed.Options.Raw && Id3v2LyricsAvailable()) {
        io.Out << (FileHasId3v2LyricsFrame(path) ? kHasId3v2Lyrics : kNoId3v2Lyrics);
    }
    return kExitOk;
}

}  // namespace

VerbInfo ShowVerb() {
    return {kName,
            "show MP3FILE  the lyrics saved in the file, or the saved-lyrics viewer's message",
            kHelp, Run};
}

}  // namespace versemark::cli
