// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

// What Versemark relies on of its companion, the lyrics downloader Songleaf:
// its files, its settings, its cache conventions and the command line it starts
// Versemark with. Defined here once; everything else uses these names.
namespace versemark::companion {

// Installation.
inline constexpr std::string_view kExecutableName = "Songleaf.exe";
inline constexpr std::string_view kRegistryKey = "Software\\Kestrel Works\\Songleaf";
inline constexpr std::string_view kSettingsFileName = "settings.txt";
inline constexpr std::string_view kCacheSubfolder = "lyrics";

// Lines of settings.txt: recognised by their first 11 characters; the 12th is a
// separator that is never looked at; the value starts at the 13th.
inline constexpr std::string_view kCachePathKey = "[CachePath]";
inline constexpr std::string_view kSingleDirKey = "[SingleDir]";
inline constexpr std::size_t kSettingsKeyWidth = 11;
inline constexpr std::size_t kSettingsValueStart = 12;  // 0-based: the 13th character
inline constexpr std::string_view kSingleDirOn = "1";

// Lyrics cache files.
inline constexpr std::string_view kLyricsExtension = ".txt";
inline constexpr char kNameHyphen = '-';
inline constexpr std::string_view kFooterMarker = "----------------\r\n* Downloaded from:";
inline constexpr std::string_view kSeparatorLine = "----------------";
inline constexpr std::string_view kFilterMarker = "] filter used";
inline constexpr char kNoBreakSpace = '\xA0';
inline constexpr std::string_view kWebAddress = "https://kestrelworks.example/songleaf";
inline constexpr std::string_view kCreditLineStart = "Lyrics by Songleaf (";
inline constexpr std::string_view kCreditLineEnd = ")";

// The command line: pieces separated by "--/", each a 3-character key and a value.
inline constexpr std::string_view kPieceSeparator = "--/";
inline constexpr std::size_t kKeyWidth = 3;
inline constexpr std::string_view kKeyMp3 = "mp3";
inline constexpr std::string_view kKeyLyrics = "lyr";
inline constexpr std::string_view kKeyFolder = "fol";
inline constexpr std::string_view kKeySubfolders = "sub";
inline constexpr std::string_view kKeyNoMessage = "nms";
inline constexpr std::array<std::string_view, 4> kMarkerTokens = {"Qk2", "w8d", "5nf", "zt4"};
inline constexpr std::size_t kMaxPieces = 256;

}  // namespace versemark::companion
