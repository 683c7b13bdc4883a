// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "matching/FolderReadAhead.h"
#include "startup/RunConfig.h"

// The folder the companion names (run mode 2), listed and read from the program's
// start, while the lyrics index is read and the window made, for the pass that
// follows over the same folder with the same subfolder choice.
namespace versemark {

struct FirstPassReader {
    std::string Folder;
    bool Recurse = false;
    bool AllFormats = false;
    std::unique_ptr<FolderReadAhead> Reader;  // null: none started
};

// The companion's folder as this program reaches it (a Windows path under Wine);
// empty when none is given.
std::string CompanionFolder(const RunConfig& config);

// In run mode 2 with a folder given, a reader started on it, far ahead (with the
// other formats when `allFormats`, the window's remembered choice); otherwise none.
FirstPassReader StartFirstPassReader(const RunConfig& config, bool allFormats = false);

}  // namespace versemark
