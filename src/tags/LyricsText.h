// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Turns the text of a lyrics cache file into the text that is stored: the
// companion's footer dropped, the ends tidied, a credit line appended.
namespace versemark {

void PrepareLyricsText(std::string& text);

// A lyrics file's text in the companion's code page: text with a UTF-16
// byte-order mark is read as UTF-16 (then UTF-8, the mark dropped); valid UTF-8
// whose characters all have a Windows-1252 byte is converted, a byte-order mark
// at its start dropped; any other text (the companion's own Windows-1252 files above all, or
// UTF-8 with characters the code page lacks) is kept byte for byte.
void ConvertLyricsToCodePage(std::string& text);

// ConvertLyricsToCodePage, then PrepareLyricsText: the text that is stored and
// that the viewer of prepared lyrics shows.
void PrepareStoredLyrics(std::string& text);

// Blanks are the tab, the space and the pair CR LF (a lone CR or LF is not one).
std::string TrimBlanks(std::string_view text);
std::string TrimLeadingBlanks(std::string_view text);
std::string TrimTrailingBlanks(std::string_view text);

// "Lyrics by Songleaf (<web address>)".
std::string CreditLine();

}  // namespace versemark
