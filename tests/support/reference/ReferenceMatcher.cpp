// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/reference/ReferenceMatcher.h"

#include <optional>
#include <string>

#include "matching/TextFold.h"
#include "matching/WordForms.h"

namespace versemark {
namespace {

bool FormOccurs(std::string_view foldedText, std::string_view form, std::string& foldedForm) {
    foldedForm.assign(form);
    FoldCaseInPlace(foldedForm);
    return foldedText.find(foldedForm) != std::string_view::npos;
}

// The word itself or its other encoding.
bool WordOccurs(std::string_view foldedText, const LyricsEntry& entry, const std::string& word,
                std::string& foldedWord) {
    if (word.empty()) {
        return !foldedText.empty();  // the empty word occurs in every non-empty text
    }
    if (FormOccurs(foldedText, word, foldedWord)) {
        return true;
    }
    const std::optional<std::string> other = OtherWordForm(entry, word);
    return other && FormOccurs(foldedText, *other, foldedWord);
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
            if (!WordOccurs(foldedText, entry, word, foldedWord)) {
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
