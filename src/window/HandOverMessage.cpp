// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/HandOverMessage.h"

#include <algorithm>

namespace versemark::handover {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < kFirstPrintable || byte == kDelete;
}

bool IsTrustedFolder(std::string_view folder) {
    return !folder.empty() && folder.size() <= kMaxFolderBytes && folder.front() == kFolderRoot &&
           std::none_of(folder.begin(), folder.end(), IsControl);
}

}  // namespace

std::string WriteMessage(const HandOver& handOver) {
    char kind = kWindowOnly;
    if (!handOver.Folder.empty()) {
        kind = handOver.Subfolders ? kFolderWithSubfolders : kFolderWithoutSubfolders;
    }
    std::string message(1, kind);
    message += handOver.Folder;
    message += kMessageEnd;
    return message;
}

std::optional<HandOver> ReadMessage(std::string_view message) {
    if (message.empty()) {
        return std::nullopt;
    }
    const char kind = message.front();
    const std::string_view folder = message.substr(1);
    if (kind == kWindowOnly) {
        return folder.empty() ? std::optional<HandOver>(HandOver{}) : std::nullopt;
    }
    if ((kind != kFolderWithoutSubfolders && kind != kFolderWithSubfolders) ||
        !IsTrustedFolder(folder)) {
        return std::nullopt;
    }
    return HandOver{std::string(folder), kind == kFolderWithSubfolders};
}

}  // namespace versemark::handover
