#pragma once

#include <string>
#include <string_view>

// Turns the text of a lyrics cache file into the text that is stored: the
// companion's footer dropped, the ends tidied, a credit line appended.
namespace versemark {

void PrepareLyricsText(std::string& text);

// Blanks are the tab, the space and the pair CR LF (a lone CR or LF is not one).
std::string TrimBlanks(std::string_view text);
std::string TrimLeadingBlanks(std::string_view text);
std::string TrimTrailingBlanks(std::string_view text);

// "Lyrics by Songleaf (<web address>)".
std::string CreditLine();

}  // namespace versemark
