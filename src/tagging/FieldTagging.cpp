// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/FieldTagging.h"

#include "platform/CodePage.h"
#include "tagging/PieceCopy.h"
#include "tagging/TaggingPass.h"

namespace versemark {
namespace {

constexpr std::string_view kReasonUnreadable = "the file cannot be read";

}  // namespace

TagResult TagFieldLyrics(std::unique_ptr<RandomAccessFile> file, const std::string& path,
                         const std::string& realPath, FieldFormat format,
                         const std::string& lyricsPath, PassJournal* journal,
                         const FileOpener& open) {
    std::string reason;
    const auto lyrics = ReadPreparedLyrics(lyricsPath, &reason);
    if (!lyrics) {
        file->Close();
        return {path, false, reason};
    }
    const FieldLyricsEdit edit = SetFieldLyrics(*file, format, DisplayUtf8(*lyrics));
    const auto length = file->Length();
    if (!edit.NewFile || !length) {
        file->Close();
        return {path, false, edit.NewFile ? std::string(kReasonUnreadable) : edit.Reason};
    }
    const PieceTable& table = *edit.NewFile;
    const SourceReader read = [&](std::uint64_t offset, std::size_t count, std::string& out) {
        return file->ReadAt(offset, count, out);
    };
    if (!table.KeepsSourceLayout(*length)) {
        TagResult result = WritePiecesByCopy(*file, path, realPath, table, journal);
        file->Close();
        return result;
    }
    const auto ranges = ChangedRanges(table, read);
    if (!ranges) {
        file->Close();
        return {path, false, std::string(kReasonUnreadable)};
    }
    if (ranges->empty()) {
        file->Close();  // the field held these lyrics already: nothing to write
        return {path, true, {}};
    }
    std::vector<RangeEdit> edits;
    for (const ChangedRange& range : *ranges) {
        edits.push_back({range.Offset, range.NewBytes, false});
    }
    return WriteRangesJournaled(std::move(file), path, edits, journal, open);
}

}  // namespace versemark
