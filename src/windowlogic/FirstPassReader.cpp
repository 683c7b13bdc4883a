// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlogic/FirstPassReader.h"

#include "platform/Registry.h"

namespace versemark {

std::string CompanionFolder(const RunConfig& config) {
    return NativeFromWindowsPath(config.CmdFolder);
}

FirstPassReader StartFirstPassReader(const RunConfig& config, bool allFormats) {
    FirstPassReader first;
    if (config.RunMode != kRunScanFolder) {
        return first;
    }
    first.Folder = CompanionFolder(config);
    if (first.Folder.empty()) {
        return first;
    }
    first.Recurse = config.CmdSubfolders == 1;
    first.AllFormats = allFormats;
    first.Reader = std::make_unique<FolderReadAhead>(first.Folder, first.Recurse,
                                                     FolderReadAhead::kMostReadAhead, allFormats);
    return first;
}

}  // namespace versemark
