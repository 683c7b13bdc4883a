// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlogic/NoCacheMessage.h"

#include "base/Companion.h"
#include "base/ControlEscape.h"
#include "base/FileNames.h"
#include "platform/Registry.h"
#include "windowlogic/WindowTexts.h"

namespace versemark {
namespace {

constexpr std::string_view kMachineRoot = "HKEY_LOCAL_MACHINE\\";

// The registry keys in the order they are read: the 32-bit view, then the
// plain key; where the registry is a file, that file.
std::string RegistryPlaces() {
    std::string places = std::string(kMachineRoot) + Wow64KeyPath(companion::kRegistryKey) +
                         texts::kRegistryThen + std::string(kMachineRoot) +
                         std::string(companion::kRegistryKey);
    if (const auto file = RegistryStandInFile()) {
        places += texts::kRegistryIn + EscapeControls(*file);
    }
    return places;
}

std::string WithoutCompanion() {
    return texts::kNoCompanionStart + std::string(companion::kExecutableName) +
           texts::kNoCompanionRegistry + RegistryPlaces() + texts::kNoCompanionEnd + "\n" +
           texts::kNoCompanionAdvice + "\n";
}

std::string WithCompanion(const CacheConfig& cache) {
    const std::string settings =
        EscapeControls(JoinPath(cache.SongleafPath, companion::kSettingsFileName));
    std::string text = texts::kCompanionFolderStart + EscapeControls(cache.SongleafPath);
    if (cache.CacheFromSettings) {
        text += texts::kCacheFromSettingsStart + std::string(companion::kCachePathKey) +
                texts::kCacheFromSettingsMiddle + settings + texts::kCacheFromSettingsEnd + "\n" +
                texts::kCacheFromSettingsAdvice + "\n";
    } else {
        text += texts::kCacheInCompanionStart + std::string(companion::kCachePathKey) +
                texts::kCacheInCompanionMiddle + settings + texts::kCacheInCompanionEnd + "\n" +
                texts::kCacheInCompanionAdvice + "\n";
    }
    return text;
}

}  // namespace

std::string NoLyricsCacheText(const CacheConfig& cache) {
    const std::string missing =
        texts::kNoCacheStart + EscapeControls(cache.CachePath) + texts::kNoCacheEnd + "\n";
    return missing + (cache.SongleafPath.empty() ? WithoutCompanion() : WithCompanion(cache));
}

}  // namespace versemark
