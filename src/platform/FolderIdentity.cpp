#include "platform/FolderIdentity.h"

#include <sys/stat.h>

namespace versemark {

std::optional<std::string> FolderIdentity(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return std::nullopt;
    }
    return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

}  // namespace versemark
