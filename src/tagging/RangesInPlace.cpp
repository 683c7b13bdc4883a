// SPDX-License-Identifier: GPL-3.0-or-later
// Same-length changes written as a journaled copy with the changed ranges over
// the file's own bytes: crash-safe and undoable, though the whole file is
// written. The journal's record of ranges written in place replaces this.
#include "tagging/RangesInPlace.h"

#include "tagging/PieceCopy.h"

namespace versemark {

TagResult WriteRangesJournaled(std::unique_ptr<RandomAccessFile> file, const std::string& path,
                               const std::string& realPath, const std::vector<ChangedRange>& ranges,
                               PassJournal* journal, const FileOpener&) {
    const auto length = file->Length();
    if (!length) {
        file->Close();
        return {path, false, "the file cannot be read"};
    }
    PieceTable table(*length);
    for (const ChangedRange& range : ranges) {
        table.Write(range.Offset, range.NewBytes);
    }
    TagResult result = WritePiecesByCopy(*file, path, realPath, table, journal);
    file->Close();
    return result;
}

}  // namespace versemark
