// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The folder of journals: where it is, which journals it holds, and keeping it
// small. Listing and pruning read only each journal's header and summary.
namespace versemark {

class PassJournal;

inline constexpr std::string_view kJournalExtension = ".journal";
// Passes kept for undo: the last this many, and no more than this many bytes.
inline constexpr std::size_t kJournalsKept = 20;
inline constexpr std::uint64_t kJournalBytesKept = 200ull * 1024 * 1024;

// Where the journals live: the user's state folder of the program
// ($XDG_STATE_HOME/versemark, else ~/.local/state/versemark; on Windows
// %LOCALAPPDATA%\versemark); empty when the system does not say where.
std::string DefaultJournalFolder();

// The journal files of `folder` the user owns, oldest first.
std::vector<std::string> ListJournals(const std::string& folder);

// Closes a pass's journal: deleted when a tagging pass changed no file (an undo
// is kept, even empty, as the mark that its pass is undone), otherwise kept for
// undo; then the folder is pruned.
void FinishJournal(std::unique_ptr<PassJournal> journal, const std::string& folder);

// Deletes the oldest journals beyond the last kJournalsKept passes or
// kJournalBytesKept bytes, whichever keeps fewer (the newest is always kept);
// a journal in use or with records still to recover stays.
void PruneJournals(const std::string& folder);

}  // namespace versemark
