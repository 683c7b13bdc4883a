// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The choices a user makes in the Windows programs and finds again in the next
// run. They are kept in the registry, under
//   HKEY_CURRENT_USER\Software\Versemark\Versemark\Tagging
// one value per choice: per user, roaming with the user's profile, and the very
// place where the Qt window's settings (organisation and program "Versemark",
// group "Tagging") would lie on Windows. Values are written as REG_DWORD 0 or 1;
// the strings "true" and "false", as Qt writes them, are read as well.
// The Linux window keeps its choices with QSettings instead; this store exists
// only in the Windows build.
namespace versemark {

enum class UserChoice {
    AlsoId3v2,   // tagging also writes the lyrics as an ID3v2 lyrics frame
    AllFormats,  // the search also takes FLAC, Ogg, Opus and M4A files
    BesideFile,  // tagging also saves the lyrics as a .txt file beside each song
};

// The remembered choice; false when none was made yet or it cannot be read.
bool RememberedChoice(UserChoice choice);

// Keeps the choice for the next runs; false when the registry refused it.
bool RememberChoice(UserChoice choice, bool on);

}  // namespace versemark
