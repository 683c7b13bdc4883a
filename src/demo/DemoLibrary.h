// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// A small library to try the program on: MP3 files of silent audio with every
// kind of tail the program reads, a flat lyrics cache in the companion's forms,
// and a stand-in companion installation whose settings point at that cache.
namespace versemark {

inline constexpr std::string_view kDemoMusicFolder = "music";
inline constexpr std::string_view kDemoLyricsFolder = "lyrics";
inline constexpr std::string_view kDemoCompanionFolder = "songleaf";
// A Wine prefix holding only the registry entry that names the companion folder;
// written only where the registry is read from a Wine prefix (not on Windows).
inline constexpr std::string_view kDemoWinePrefixFolder = "wine";
inline constexpr std::string_view kWineRegistryFile = "system.reg";

struct DemoLibraryResult {
    bool Ok = false;
    std::string Error;  // what failed, when not Ok
    int Mp3Files = 0;
    int LyricsFiles = 0;
    // Absolute paths of what was written.
    std::string MusicFolder;
    std::string LyricsFolder;
    std::string CompanionFolder;
    std::string WinePrefix;  // empty where no Wine prefix is written
};

// Writes the library into `dir` (made when missing). Refuses, writing nothing,
// when any of its folders already exists there, so nothing is overwritten.
DemoLibraryResult WriteDemoLibrary(const std::string& dir);

}  // namespace versemark
