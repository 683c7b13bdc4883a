// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "matching/RowList.h"
#include "platform/RandomAccessFile.h"
#include "tagging/TaggingPass.h"

namespace versemark {

// The tagging pass over the checked rows with its log as the result: one line per
// checked row ("File tagged..: " or "Error tagging: ", the MP3 path, CR LF).
// nullopt when the list has no rows.
std::optional<std::string> TagCheckedRowsLog(const RowList& rows, const FileOpener& open = OpenFile,
                                             const TagOptions& options = {});

}  // namespace versemark
