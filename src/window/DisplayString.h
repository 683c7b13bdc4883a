// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>
#include <string_view>

// Bytes read from files (names, paths, lyrics, tag data) become window text here,
// through the core's one conversion (DisplayUtf8): as UTF-8 when they are valid
// UTF-8, otherwise as Windows-1252, one character a byte. The stored bytes never
// change; only what is shown is converted.
namespace versemark {

QString DisplayString(std::string_view bytes);

// A path the user chose in a dialog, as the bytes the file system knows it by.
std::string PathBytes(const QString& path);

// Line ends of stored text (CR LF) as the viewer shows them.
QString ViewerText(std::string_view bytes);

}  // namespace versemark
