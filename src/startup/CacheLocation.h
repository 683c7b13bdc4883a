// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>

// Where the companion is installed and where its lyrics cache lies.
namespace versemark {

struct CacheConfig {
    std::string CachePath;           // the lyrics cache folder
    std::string SongleafPath;        // the companion's folder with a trailing separator, or empty
    bool SingleDir = false;          // lyrics files lie directly in CachePath
    bool CacheFromSettings = false;  // CachePath comes from the settings' [CachePath] line
};

// Reads the companion's installation folder from its registry entry (nullopt when
// the key does not open or holds no usable value).
using RegistryLookup = std::function<std::optional<std::string>()>;

// The registry entry as the platform keeps it (under Wine: $WINEPREFIX/system.reg).
std::optional<std::string> ReadCompanionRegistryValue();

// Sets SongleafPath and CachePath. `programFolder` is the folder of Versemark's
// own executable.
void LocateLyricsCache(CacheConfig& config, const std::string& programFolder,
                       const RegistryLookup& registry = ReadCompanionRegistryValue);

// Lets the companion's settings.txt override CachePath and set SingleDir. Does
// nothing when SongleafPath is empty or the file cannot be read.
void ReadSettings(CacheConfig& config);

}  // namespace versemark
