#pragma once

#include <optional>
#include <string>

namespace versemark {

// What makes a folder the same folder whichever path or link leads to it (here its
// device and inode numbers, as text). One status call, cheaper than the real path.
// nullopt when `path` does not lead to a folder.
std::optional<std::string> FolderIdentity(const std::string& path);

}  // namespace versemark
