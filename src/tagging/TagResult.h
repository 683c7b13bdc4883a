// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// What tagging did to each file, and why a file was not tagged.
namespace versemark {

inline constexpr std::string_view kLogTagged = "File tagged..: ";
inline constexpr std::string_view kLogError = "Error tagging: ";
// The same log of an undo pass.
inline constexpr std::string_view kLogRestored = "File restored..: ";
inline constexpr std::string_view kLogRestoreError = "Error restoring: ";
inline constexpr std::string_view kLineEnd = "\r\n";
// The line under a tagged file's line when its lyrics file beside it was not
// written: this lead, the lyrics file's path, ": " and why.
inline constexpr std::string_view kLogBesideNotWritten = "Lyrics file not written: ";

// Reasons of the pass's own (a failing system call gives the system's words).
inline constexpr std::string_view kReasonNoFile = "no such file";
inline constexpr std::string_view kReasonNotRegular = "not a regular file";
inline constexpr std::string_view kReasonTailUnreadable = "tail unreadable";
inline constexpr std::string_view kReasonLyricsUnreadable = "lyrics file unreadable";
inline constexpr std::string_view kReasonTagTooLarge = "tag too large";
inline constexpr std::string_view kReasonChanged = "changed since the scan";
inline constexpr std::string_view kReasonPutBackFailed = "; putting the old tail back failed too";
inline constexpr std::string_view kReasonKeptInJournal =
    ": the old tail is kept in the journal, and \"versemark-cli recover\" will restore it";

struct TagResult {
    std::string Mp3Path;
    bool Tagged = false;
    // Why the file was not tagged; for a tagged file empty, or a note on it (for
    // example that it cannot be undone).
    std::string Reason;
    // The lyrics file beside the song, where one was asked for, and why it was
    // not written (empty when it was).
    std::string BesideFile{};
    std::string BesideNote{};
};

// One log line: `lead`, the MP3 path with its control characters escaped
// (EscapeControls, so that a name cannot end the line or forge another), CR LF.
std::string LogLine(std::string_view lead, std::string_view mp3Path);

// The line of a tagging pass: "File tagged..: " or "Error tagging: ".
std::string TaggingLogLine(bool tagged, std::string_view mp3Path);

// One log line per result, each followed by a line of its lyrics file beside it
// when that was not written.
std::string TaggingLog(const std::vector<TagResult>& results);

// One line per result of an undo: "File restored..: " or "Error restoring: ".
std::string UndoLog(const std::vector<TagResult>& results);

bool AllTagged(const std::vector<TagResult>& results);

}  // namespace versemark
