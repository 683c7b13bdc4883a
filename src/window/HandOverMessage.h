// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// What a second start of the program sends the open window over the local
// socket, and the one byte the window answers when it took it:
//
//   kind (1 byte) | folder (UTF-8, absolute, no control characters) | '\n'
//
// kind kWindowOnly carries no folder; the folder kinds carry a folder and say
// whether its subfolders are matched too. Nothing else in a message is trusted.
namespace versemark::handover {

inline constexpr char kWindowOnly = 'w';
inline constexpr char kFolderWithoutSubfolders = 'f';
inline constexpr char kFolderWithSubfolders = 's';
inline constexpr char kMessageEnd = '\n';
inline constexpr char kTaken = 'k';
inline constexpr char kFolderRoot = '/';
// The longest folder taken: the system's own path limit.
inline constexpr std::size_t kMaxFolderBytes = 4096;
// The longest message: kind, folder and end.
inline constexpr std::size_t kMaxMessageBytes = 1 + kMaxFolderBytes + 1;

struct HandOver {
    std::string Folder;  // empty: only bring the window forward
    bool Subfolders = false;
};

// The message for `handOver`; its folder must already be absolute.
std::string WriteMessage(const HandOver& handOver);

// The hand-over in `message` (without its end byte); nothing when any part of
// it is not what a second start sends.
std::optional<HandOver> ReadMessage(std::string_view message);

}  // namespace versemark::handover
