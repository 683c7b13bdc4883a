// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/PassLog.h"

#include "tagging/TagResult.h"

namespace versemark {

std::optional<std::string> TagCheckedRowsLog(const RowList& rows, const FileOpener& open,
                                             const TagOptions& tagOptions) {
    TaggingOptions options;
    options.Open = open;
    options.Tag = tagOptions;
    const auto outcome = TagCheckedRows(rows, options);
    if (!outcome) {
        return std::nullopt;
    }
    return TaggingLog(outcome->Results);
}

}  // namespace versemark
