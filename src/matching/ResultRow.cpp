#include "matching/ResultRow.h"

#include <charconv>

namespace versemark {

void ResultRow::SetChecked(bool checked) {
    Checked = checked;
    Text = checked ? std::string(kCheckedRowText) : std::string();
}

std::string JoinPositions(const std::vector<int>& positions, std::string_view separator) {
    std::string joined;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (i > 0) {
            joined += separator;
        }
        joined += std::to_string(positions[i]);
    }
    return joined;
}

std::vector<int> SplitPositions(std::string_view text, std::string_view separator) {
    std::vector<int> positions;
    if (separator.empty()) {
        return positions;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        const std::string_view piece = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        int value = 0;
        // A piece that is not a number reads as 0, as a lenient conversion would.
        std::from_chars(piece.data(), piece.data() + piece.size(), value);
        positions.push_back(value);
        if (end == std::string_view::npos) {
            break;
        }
        start = end + separator.size();
    }
    return positions;
}

}  // namespace versemark
