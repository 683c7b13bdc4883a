// SPDX-License-Identifier: GPL-3.0-or-later
// The registry as Wine keeps it for programs such as the companion: the text
// file system.reg of the Wine prefix.
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace versemark {

namespace {

constexpr std::string_view kRegistryFileName = "system.reg";
constexpr std::string_view kDefaultPrefixFolder = ".wine";

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::optional<std::string> WinePrefix() {
    const std::string prefix = EnvironmentValue("WINEPREFIX");
    if (!prefix.empty()) {
        return prefix;
    }
    const std::string home = EnvironmentValue("HOME");
    if (home.empty()) {
        return std::nullopt;
    }
    return home + kPathSeparator + std::string(kDefaultPrefixFolder);
}

std::optional<std::string> RegistryStandInFile() {
    const auto prefix = WinePrefix();
    if (!prefix) {
        return std::nullopt;
    }
    return *prefix + kPathSeparator + std::string(kRegistryFileName);
}

std::optional<std::string> ReadMachineKeyFirstValue(std::string_view keyPath, RegistryView view) {
    const auto file = RegistryStandInFile();
    if (!file || !IsRegularFile(*file)) {
        return std::nullopt;
    }
    const auto text = ReadWholeFile(*file);
    if (!text) {
        return std::nullopt;
    }
    return FirstValueInRegistryText(
        *text, view == RegistryView::Bits32 ? Wow64KeyPath(keyPath) : std::string(keyPath));
}

std::string NativeFromWindowsPath(std::string_view path) {
    const auto prefix = WinePrefix();
    return prefix ? NativeFromWindowsPath(path, *prefix) : std::string(path);
}

}  // namespace versemark
