// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FileNames.h"

namespace versemark {

std::string GetFileName(std::string_view path) {
    const std::size_t last = path.rfind(kPathSeparator);
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string EnsureBackslash(std::string_view path) {
    std::string result(path);
    if (result.empty() || result.back() != kPathSeparator) {
        result += kPathSeparator;
    }
    return result;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder);
    if (path.empty() || path.back() != kPathSeparator) {
        path += kPathSeparator;
    }
    path.append(name);
    return path;
}

}  // namespace versemark
