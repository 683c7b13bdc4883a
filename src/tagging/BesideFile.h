// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RandomAccessFile.h"

// The lyrics file beside a song, which media servers read: the song's name with
// ".txt" in the song's folder, holding the stored lyrics as UTF-8. It is made
// only where nothing has its name, and written over an existing file only where
// a journal shows that versemark wrote that file and it still holds exactly
// that; never through a link. Each write is journaled, so that recovery removes
// one cut short and undo takes it back.
namespace versemark {

class PassJournal;

inline constexpr std::string_view kBesideFileExtension = ".txt";

// Why a lyrics file beside a song was not written (the song stays tagged).
inline constexpr std::string_view kBesideForeign =
    "a file of that name is there that versemark did not write, or that was changed since";
inline constexpr std::string_view kBesideNotRegular =
    "something of that name is there that is not a regular file";
inline constexpr std::string_view kBesideAppeared = "a file of that name appeared meanwhile";
inline constexpr std::string_view kBesideNotMade = "it could not be made: ";
inline constexpr std::string_view kBesideWriteFailed = "writing it failed: ";
inline constexpr std::string_view kBesideLyricsGone = "the lyrics could not be read again: ";

// Wraps each new lyrics file as it is made (tests give one that fails on purpose).
using NewFileWrap =
    std::function<std::unique_ptr<RandomAccessFile>(std::unique_ptr<RandomAccessFile>)>;

// Where the lyrics file of the song at `mp3Path` lies: the song's folder (every
// link on the way resolved), its name without the extension, ".txt".
std::string BesideFilePath(const std::string& mp3Path);

// The file's text: the stored lyrics shown as the display rule shows them (UTF-8
// as it is, anything else read as Windows-1252), without a byte-order mark.
std::string BesideFileText(std::string_view preparedLyrics);

// The lyrics files beside songs that the surviving journals of the folder record
// as written, each by its size and checksum; read once, when first asked.
class BesideFileHistory {
  public:
    // `ownJournal` (the running pass's) is left out: its writes are told by Add.
    BesideFileHistory(std::optional<std::string> journalFolder, std::string ownJournal);

    // True when the file open as `file` at `path` holds exactly what a journal
    // records as written there; `bytes` is then what it holds.
    bool Wrote(const std::string& path, RandomAccessFile& file, std::string& bytes);
    // Tells that this pass wrote `bytes` at `path`.
    void Add(const std::string& path, std::string_view bytes);

  private:
    struct Written {
        std::uint64_t Size = 0;
        std::uint64_t Checksum = 0;
    };
    void Load();

    std::optional<std::string> journalFolder_;
    std::string ownJournal_;
    bool loaded_ = false;
    std::map<std::string, std::vector<Written>> written_;
};

// Writes `text` as the lyrics file `path`: made new where `replaced` is nullopt,
// otherwise as a new file beside it, renamed over the file holding `replaced`.
// Recorded in `journal` (when there is one) before anything is made, marked done
// once flushed. Empty when written; otherwise why not, and nothing is left.
std::string WriteBesideFile(const std::string& path, std::string_view text,
                            const std::optional<std::string>& replaced, PassJournal* journal,
                            const NewFileWrap& wrap = {});

// What became of the lyrics file beside one song.
struct BesideOutcome {
    std::string Path;
    std::string Note;  // empty when it was written; otherwise why not
};

// Writes the lyrics file beside the song at `mp3Path`, tagged with
// `preparedLyrics`, where it is new or one versemark wrote (see above).
BesideOutcome WriteLyricsBeside(const std::string& mp3Path, std::string_view preparedLyrics,
                                PassJournal* journal, BesideFileHistory& history,
                                const NewFileWrap& wrap = {});

}  // namespace versemark
