// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The window's fonts, with the nearest installed families where the designed
// ones are missing.
namespace versemark {

// The window's default: MS Sans Serif 8.25 pt.
QFont DefaultWindowFont();
// The lyrics-count label: Verdana 8.25 pt italic.
QFont LyricsCountFont();
// The viewer: Courier New 8.25 pt, or the nearest fixed-pitch font.
QFont ViewerFont();

}  // namespace versemark
