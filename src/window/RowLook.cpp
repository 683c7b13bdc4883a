#include "window/RowLook.h"

namespace versemark {

int Mp3Picture(const ResultRow& row) {
    switch (row.Standing()) {
        case MatchStanding::NewerTag:
            return kPictureNewerTag;
        case MatchStanding::SeveralMatches:
            return kPictureAlert;
        case MatchStanding::OneMatch:
            return kPictureOneMatch;
        default:
            return kPictureNone;
    }
}

int LyricsPicture(const ResultRow& row) {
    if (!row.LyricsChosen()) {
        return kPictureNone;
    }
    return row.Filtered ? kPictureFiltered : kPictureUnfiltered;
}

std::optional<Colour> Mp3TextColour(const ResultRow& row) {
    return row.Tagged ? std::optional<Colour>(TaggedFileColour) : std::nullopt;
}

std::optional<Colour> LyricsTextColour(const ResultRow& row) {
    if (row.Shared) {
        return SharedLyricsColour;
    }
    // A choice in the panel sets black; the pass leaves the list's default.
    return row.ChosenByUser ? std::optional<Colour>(kBlack) : std::nullopt;
}

std::string_view RowText(const ResultRow& row) {
    return row.Checked ? kCheckedRowText : std::string_view();
}

}  // namespace versemark
