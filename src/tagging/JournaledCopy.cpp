#include "tagging/JournaledCopy.h"

#include <optional>

#include "platform/FileSystem.h"
#include "platform/ReplacementFile.h"

namespace versemark {
namespace {

// The copy, written and renamed; empty when done, else the reason.
std::string WriteAndRename(const std::string& path, const CopyFiller& fill, PassJournal* journal,
                           std::optional<std::size_t>& index, std::string& newFile) {
    const BeforeReplacementCreate record = [&](const std::string& name, std::string& reason) {
        newFile = name;
        if (!journal) {
            return true;
        }
        index = journal->BeginCopy(path, name, reason);
        return index.has_value();
    };
    std::string reason;
    const auto replacement = CreateReplacementFile(path, reason, record);
    if (!replacement) {
        return reason;
    }
    if (!fill(replacement->File(), reason) || !replacement->Commit(reason)) {
        return reason;
    }
    return {};
}

}  // namespace

TagResult WriteCopyJournaled(const std::string& path, const CopyFiller& fill,
                             PassJournal* journal) {
    std::optional<std::size_t> index;
    std::string newFile;
    const std::string reason = WriteAndRename(path, fill, journal, index, newFile);
    if (journal && index) {
        if (reason.empty()) {
            journal->MarkDone(*index);
        } else if (!PathExists(newFile)) {
            journal->MarkResolved(*index);  // a copy still there is left to recovery
        }
    }
    return {path, reason.empty(), reason};
}

}  // namespace versemark
