// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/RunConfig.h"

#include <algorithm>
#include <vector>

#include "base/Companion.h"
#include "base/FileNames.h"
#include "base/Text.h"

namespace versemark {

namespace {

constexpr char kArgumentJoint = ' ';
constexpr char kArgumentQuote = '"';

// The argument text cut at every separator, pieces numbered from 0.
std::vector<std::string_view> SplitPieces(std::string_view text) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t found = text.find(companion::kPieceSeparator, start);
        if (found == std::string_view::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, found - start));
        start = found + companion::kPieceSeparator.size();
    }
}

bool IsMarkerToken(std::string_view key) {
    return std::find(companion::kMarkerTokens.begin(), companion::kMarkerTokens.end(), key) !=
           companion::kMarkerTokens.end();
}

// Applies one piece to `config`; true when its key is a marker token.
bool ApplyPiece(std::string_view piece, RunConfig& config) {
    const std::string_view key = piece.substr(0, companion::kKeyWidth);
    const std::string value =
        TrimSpaces(piece.size() > companion::kKeyWidth ? piece.substr(companion::kKeyWidth)
                                                       : std::string_view());
    if (key == companion::kKeyMp3) {
        config.CmdMp3 = value;
    } else if (key == companion::kKeyLyrics) {
        config.CmdLyrics = value;
    } else if (key == companion::kKeyFolder) {
        config.CmdFolder = value;
    } else if (key == companion::kKeySubfolders) {
        config.CmdSubfolders = 1;
    } else if (key == companion::kKeyNoMessage) {
        config.CmdNoMessage = true;
    }
    return IsMarkerToken(key);
}

}  // namespace

std::string JoinArguments(int argc, const char* const argv[]) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr) {
            break;
        }
        if (i > 1) {
            text += kArgumentJoint;
        }
        text += argv[i];
    }
    return text;
}

std::string WithoutArgumentQuotes(std::string_view argumentText) {
    std::string text(argumentText);
    if (!kQuoteInPaths) {
        text.erase(std::remove(text.begin(), text.end(), kArgumentQuote), text.end());
    }
    return text;
}

std::uint8_t ParseCommandLine(std::string_view argumentText, RunConfig& config) {
    const std::string text = WithoutArgumentQuotes(argumentText);
    if (text.empty()) {
        return kRunWindow;
    }
    const std::vector<std::string_view> pieces = SplitPieces(text);
    if (pieces.size() > companion::kMaxPieces) {
        return kRunWindow;
    }
    bool markerSeen = false;
    for (const std::string_view piece : pieces) {
        markerSeen = ApplyPiece(piece, config) || markerSeen;
    }
    std::uint8_t mode = kRunWindow;
    if (!config.CmdMp3.empty() && !config.CmdLyrics.empty()) {
        mode = kRunTagOneFile;
    } else if (!config.CmdFolder.empty()) {
        mode = kRunScanFolder;
    }
    if (!markerSeen) {
        return kRunWindow;
    }
    return mode;
}

}  // namespace versemark
