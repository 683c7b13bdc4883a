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

}  // namespace versemark
