// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlogic/FirstPassReader.h"

#include "platform/Registry.h"

namespace versemark {

std::string CompanionFolder(const RunConfig& config) {
    return NativeFromWindowsPath(config.Folder);
}

FirstPassReader StartFirstPassReader(const RunConfig& config, bool allFormats) {
    FirstPassReader first;
    if (config.Mode != RunMode::ScanFolder) {
        return first;
    }
    first.Folder = CompanionFolder(config);
    if (first.Folder.empty()) {
        return first;
    }
    first.Recurse = config.Subfolders;
    first.AllFormats = allFormats;
    first.Reader = std::make_unique<FolderReadAhead>(first.Folder, first.Recurse,
                                                     FolderReadAhead::kMostReadAhead, allFormats);
    return first;
}

}  // namespace versemark
