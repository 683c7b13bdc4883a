// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Registry.h"

#include "base/Text.h"
#include "platform/FileSystem.h"
#include "platform/TextLines.h"

namespace versemark {

namespace {

constexpr std::string_view kSoftwareKey = "Software\\";
constexpr std::string_view kWow64Node = "Wow6432Node\\";
constexpr std::string_view kDosDevicesFolder = "dosdevices";
constexpr char kSectionOpen = '[';
constexpr char kSectionClose = ']';
constexpr char kQuote = '"';
constexpr char kEscape = '\\';
constexpr char kDefaultValueName = '@';
constexpr char kAssign = '=';
constexpr char kWindowsSeparator = '\\';
constexpr char kDriveColon = ':';
constexpr char kUnixSeparator = '/';  // Wine's prefix is a Unix folder

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::size_t SkipBlanks(std::string_view line, std::size_t pos) {
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    return pos;
}

// "\\" becomes "\" and "\"" becomes "\""; any other backslash stays.
void AppendEscaped(std::string& out, char escaped) {
    if (escaped != kEscape && escaped != kQuote) {
        out += kEscape;
    }
    out += escaped;
}

// The quoted text starting at `pos` (which holds the opening quote), unescaped;
// `pos` moves behind the closing quote. nullopt when the quote is not closed.
std::optional<std::string> ReadQuoted(std::string_view line, std::size_t& pos) {
    if (pos >= line.size() || line[pos] != kQuote) {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = pos + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == kQuote) {
            pos = i + 1;
            return text;
        }
        if (c == kEscape) {
            if (i + 1 >= line.size()) {
                return std::nullopt;
            }
            AppendEscaped(text, line[++i]);
        } else {
            text += c;
        }
    }
    return std::nullopt;
}

// The key path of a section line "[path] stamp", "\\" unescaped; nullopt when the
// line has no closing bracket.
std::optional<std::string> SectionKeyPath(std::string_view line) {
    const std::size_t close = line.rfind(kSectionClose);
    if (close == std::string_view::npos || close == 0) {
        return std::nullopt;
    }
    const std::string_view raw = line.substr(1, close - 1);
    std::string path;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == kEscape && i + 1 < raw.size()) {
            AppendEscaped(path, raw[++i]);
        } else {
            path += raw[i];
        }
    }
    return path;
}

bool IsSectionLine(std::string_view line) {
    return !line.empty() && line[0] == kSectionOpen;
}

bool IsValueLine(std::string_view line) {
    return !line.empty() && (line[0] == kQuote || line[0] == kDefaultValueName);
}

bool FitsRegistryBuffer(const std::string& text) {
    return text.size() < kRegistryBufferSize;
}

// The data of a value line when it is a string value that fits the buffers.
std::optional<std::string> StringValueData(std::string_view line) {
    std::size_t pos = 0;
    std::string name;
    if (line[0] == kDefaultValueName) {
        pos = 1;
    } else {
        auto quotedName = ReadQuoted(line, pos);
        if (!quotedName) {
            return std::nullopt;
        }
        name = std::move(*quotedName);
    }
    pos = SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != kAssign) {
        return std::nullopt;
    }
    pos = SkipBlanks(line, pos + 1);
    auto data = ReadQuoted(line, pos);  // dword:, hex:, str(2): ... are not taken
    if (!data || SkipBlanks(line, pos) != line.size()) {
        return std::nullopt;
    }
    if (!FitsRegistryBuffer(name) || !FitsRegistryBuffer(*data)) {
        return std::nullopt;
    }
    return data;
}

}  // namespace

std::optional<std::string> FirstValueInRegistryText(std::string_view regText,
                                                    std::string_view keyPath) {
    LineReader lines(regText);
    std::string_view line;
    bool inKey = false;
    while (lines.Next(line)) {
        if (IsSectionLine(line)) {
            if (inKey) {
                return std::nullopt;  // the key ended without a value
            }
            const auto path = SectionKeyPath(line);
            inKey = path && EqualIgnoringCase(*path, keyPath);
        } else if (inKey && IsValueLine(line)) {
            return StringValueData(line);  // only the first value counts
        }
    }
    return std::nullopt;
}

std::string Wow64KeyPath(std::string_view keyPath) {
    if (keyPath.size() <= kSoftwareKey.size() ||
        !EqualIgnoringCase(keyPath.substr(0, kSoftwareKey.size()), kSoftwareKey)) {
        return std::string(keyPath);
    }
    return std::string(keyPath.substr(0, kSoftwareKey.size())) + std::string(kWow64Node) +
           std::string(keyPath.substr(kSoftwareKey.size()));
}

bool IsWindowsFormPath(std::string_view path) {
    if (path.size() < 2 || path[1] != kDriveColon) {
        return false;
    }
    const char drive = LowerAscii(path[0]);
    if (drive < 'a' || drive > 'z') {
        return false;
    }
    return path.size() == 2 || path[2] == kWindowsSeparator || path[2] == kUnixSeparator;
}

std::string NativeFromWindowsPath(std::string_view path, std::string_view winePrefix) {
    if (!IsWindowsFormPath(path)) {
        return std::string(path);
    }
    std::string native(winePrefix);
    if (native.empty() || native.back() != kUnixSeparator) {
        native += kUnixSeparator;
    }
    native += kDosDevicesFolder;
    native += kUnixSeparator;
    native += LowerAscii(path[0]);
    native += kDriveColon;
    for (const char c : path.substr(2)) {
        native += (c == kWindowsSeparator) ? kUnixSeparator : c;
    }
    return native;
}

}  // namespace versemark
