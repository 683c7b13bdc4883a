// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/CacheLocation.h"

#include "base/Companion.h"
#include "base/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/TextLines.h"

namespace versemark {

namespace {

constexpr int kRecognisedLineLimit = 2;

// True when the folder holds a regular file whose name the file system reports
// exactly as the companion's executable name, case included.
bool CompanionExecutableBeside(const std::string& programFolder) {
    const auto entries = ListFolder(programFolder);
    if (!entries) {
        return false;
    }
    for (const FolderEntry& entry : *entries) {
        if (!entry.IsFolder && entry.Name == companion::kExecutableName) {
            return IsRegularFile(JoinPath(programFolder, entry.Name));
        }
    }
    return false;
}

std::string CacheSubfolderOf(const std::string& folder) {
    return JoinPath(folder, companion::kCacheSubfolder) + kPathSeparator;
}

// The value of a recognised settings line: from the 13th character on; a line
// too short to reach it has an empty value.
std::string_view SettingsValue(std::string_view line) {
    return line.size() > companion::kSettingsValueStart
               ? line.substr(companion::kSettingsValueStart)
               : std::string_view();
}

}  // namespace

std::optional<std::string> ReadCompanionRegistryValue() {
    // The companion is a 32-bit program: its key lies in the 32-bit view, unless
    // the system has only one view or the companion is a 64-bit build.
    for (const RegistryView view : {RegistryView::Bits32, RegistryView::Native}) {
        const auto value = ReadMachineKeyFirstValue(companion::kRegistryKey, view);
        if (value && !value->empty()) {
            return NativeFromWindowsPath(*value);
        }
    }
    return std::nullopt;
}

void LocateLyricsCache(CacheConfig& config, const std::string& programFolder,
                       const RegistryLookup& registry) {
    config.SongleafPath.clear();
    config.CacheFromSettings = false;
    if (CompanionExecutableBeside(programFolder)) {
        config.SongleafPath = programFolder;
    } else if (registry) {
        if (const auto installed = registry(); installed && !installed->empty()) {
            config.SongleafPath = *installed;
        }
    }
    if (!config.SongleafPath.empty()) {
        config.SongleafPath = EnsureBackslash(config.SongleafPath);
        config.CachePath = CacheSubfolderOf(config.SongleafPath);
    } else {
        config.CachePath = CacheSubfolderOf(programFolder);
    }
}

void ReadSettings(CacheConfig& config) {
    if (config.SongleafPath.empty()) {
        return;
    }
    const std::string file = JoinPath(config.SongleafPath, companion::kSettingsFileName);
    if (!IsRegularFile(file)) {
        return;
    }
    const auto text = ReadWholeFile(file);
    if (!text) {
        return;
    }
    LineReader lines(*text);
    std::string_view line;
    int recognised = 0;
    while (recognised < kRecognisedLineLimit && lines.Next(line)) {
        const std::string_view key = line.substr(0, companion::kSettingsKeyWidth);
        if (key == companion::kCachePathKey) {
            config.CachePath = NativeFromWindowsPath(SettingsValue(line));
            config.CacheFromSettings = true;
            ++recognised;
        } else if (key == companion::kSingleDirKey) {
            config.SingleDir = SettingsValue(line) == companion::kSingleDirOn;
            ++recognised;
        }
    }
}

}  // namespace versemark
