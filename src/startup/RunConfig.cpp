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
        config.Mp3Path = value;
    } else if (key == companion::kKeyLyrics) {
        config.LyricsPath = value;
    } else if (key == companion::kKeyFolder) {
        config.Folder = value;
    } else if (key == companion::kKeySubfolders) {
        config.Subfolders = true;
    } else if (key == companion::kKeyNoMessage) {
        config.NoMessage = true;
    }
    return IsMarkerToken(key);
}

}  // namespace

namespace {

// Fills `config` from the argument text and gives the run mode it asks for.
RunMode ModeOf(std::string_view argumentText, RunConfig& config) {
    const std::string text = WithoutArgumentQuotes(argumentText);
    if (text.empty()) {
        return RunMode::Window;
    }
    const std::vector<std::string_view> pieces = SplitPieces(text);
    if (pieces.size() > companion::kMaxPieces) {
        return RunMode::Window;
    }
    bool markerSeen = false;
    for (const std::string_view piece : pieces) {
        markerSeen = ApplyPiece(piece, config) || markerSeen;
    }
    RunMode mode = RunMode::Window;
    if (!config.Mp3Path.empty() && !config.LyricsPath.empty()) {
        mode = RunMode::TagOneFile;
    } else if (!config.Folder.empty()) {
        mode = RunMode::ScanFolder;
    }
    if (!markerSeen) {
        return RunMode::Window;
    }
    return mode;
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

void ParseCommandLine(std::string_view argumentText, RunConfig& config) {
    config.Mode = ModeOf(argumentText, config);
}

}  // namespace versemark
