#pragma once

#include <string>
#include <string_view>

namespace versemark::cli {

// A word a POSIX shell reads back as `text`: in double quotes when nothing in it
// is special there, else in single quotes.
std::string ShellQuote(std::string_view text);

}  // namespace versemark::cli
