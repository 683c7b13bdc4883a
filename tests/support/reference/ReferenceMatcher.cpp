#include "support/reference/ReferenceMatcher.h"

#include <string>

#include "matching/TextFold.h"

namespace versemark {
namespace {

bool WordOccurs(std::string_view foldedText, const std::string& word, std::string& foldedWord) {
    if (word.empty()) {
        return !foldedText.empty();  // the empty word occurs in every non-empty text
    }
    foldedWord.assign(word);
    FoldCaseInPlace(foldedWord);
    return foldedText.find(foldedWord) != std::string_view::npos;
}

}  // namespace

std::vector<int> FindMatchingLyricsReference(std::string_view normalisedText, LyricsIndex& index) {
    const std::string foldedText = FoldCase(normalisedText);
    std::string foldedWord;
    std::vector<int> positions;
    for (std::size_t i = 0; i < index.Entries.size(); ++i) {
        LyricsEntry& entry = index.Entries[i];
        bool all = true;
        for (const std::string& word : entry.Words) {
            if (!WordOccurs(foldedText, word, foldedWord)) {
                all = false;  // the test of an entry stops at its first missing word
                break;
            }
        }
        if (all) {
            ++entry.MatchCount;
            positions.push_back(static_cast<int>(i));
        }
    }
    return positions;
}

}  // namespace versemark
