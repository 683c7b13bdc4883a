// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlogic/FirstPassReader.h"

#include "platform/Registry.h"

namespace versemark {

std::string CompanionFolder(const RunConfig& config) {
    return NativeFromWindowsPath(config.CmdFolder);
}

FirstPassReader StartFirstPassReader(const RunConfig& config) {
    FirstPassReader first;
    if (config.RunMode != kRunScanFolder) {
        return first;
    }
    first.Folder = CompanionFolder(config);
    if (first.Folder.empty()) {
        return first;
    }
    first.Recurse = config.CmdSubfolders == 1;
    first.Reader = std::make_unique<FolderReadAhead>(first.Folder, first.Recurse,
                                                     FolderReadAhead::kMostReadAhead);
    return first;
}

}  // namespace versemark
