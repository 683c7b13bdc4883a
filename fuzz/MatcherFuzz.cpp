// SPDX-License-Identifier: GPL-3.0-or-later
// Compares the fast matcher with the straightforward reference on an arbitrary
// index and arbitrary texts: both must give the same candidates, for the raw text,
// the normalised text and every line of it in turn (one matcher serving many
// texts must carry nothing from one to the next).
//
// Input: the index, one entry per line, words split by ','; an empty line; the
// text. "love,song\nband\n\nThe Band - Love Song" is two entries and a text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Check.h"
#include "matching/MatchFolder.h"
#include "matching/Mp3Text.h"
#include "matching/WordMatcher.h"
#include "support/reference/ReferenceMatcher.h"

namespace versemark::fuzz {
namespace {

constexpr std::string_view kIndexEnd = "\n\n";
constexpr char kLineEnd = '\n';
constexpr char kWordSeparator = ',';

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t begin = 0;
    for (std::size_t end = text.find(separator); end != std::string_view::npos;
         end = text.find(separator, begin)) {
        parts.push_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
    parts.push_back(text.substr(begin));
    return parts;
}

LyricsIndex IndexFrom(std::string_view lines) {
    LyricsIndex index;
    for (const std::string_view line : Split(lines, kLineEnd)) {
        LyricsEntry entry;
        for (const std::string_view word : Split(line, kWordSeparator)) {
            entry.Words.emplace_back(word);
        }
        index.Entries.push_back(std::move(entry));
    }
    return index;
}

// The one place the fuzz target calls the two matchers.
void CheckSameCandidates(const WordMatcher& matcher, MatcherScratch& scratch, LyricsIndex& index,
                         std::string_view text) {
    Check(matcher.FindCandidates(text, scratch) == FindMatchingLyricsReference(text, index),
          "the fast matcher finds the reference's candidates");
}

}  // namespace
}  // namespace versemark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace versemark;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t indexEnd = input.find(fuzz::kIndexEnd);
    if (indexEnd == std::string_view::npos) {
        return 0;
    }
    LyricsIndex index = fuzz::IndexFrom(input.substr(0, indexEnd));
    const std::string_view text = input.substr(indexEnd + fuzz::kIndexEnd.size());

    const WordMatcher matcher(index);
    MatcherScratch scratch;
    fuzz::CheckSameCandidates(matcher, scratch, index, text);
    fuzz::CheckSameCandidates(matcher, scratch, index, NormaliseMp3Text(text));
    for (const std::string_view line : fuzz::Split(text, fuzz::kLineEnd)) {
        fuzz::CheckSameCandidates(matcher, scratch, index, line);
    }
    return 0;
}
