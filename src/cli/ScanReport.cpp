// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ScanReport.h"

#include <algorithm>
#include <vector>

#include "base/ControlEscape.h"
#include "base/FileNames.h"
#include "cli/DisplayText.h"
#include "cli/JsonText.h"
#include "cli/PassTexts.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace versemark::cli {

namespace {

constexpr char kNoMark = '.';
constexpr std::string_view kCheckedBox = "[x]";
constexpr std::string_view kUncheckedBox = "[ ]";
constexpr std::string_view kColumnGap = "  ";
constexpr std::string_view kHeaderMarks = "Marks";
constexpr std::string_view kHeaderMp3 = "Mp3 file";
constexpr std::string_view kHeaderLyrics = "Lyrics file";
constexpr std::size_t kMaxMp3ColumnWidth = 60;

// The letter of a file column's mark; the JSON gives the mark's number. This and
// the fact marks below are the report's one mapping from a row's facts.
char MarkLetter(RowMark mark) {
    switch (mark) {
        case RowMark::FilteredLyrics:
            return 'F';
        case RowMark::SeveralMatches:
            return 'A';
        case RowMark::UnfilteredLyrics:
            return 'U';
        case RowMark::NewerTag:
            return 'N';
        case RowMark::OneMatch:
            return '1';
        default:
            return kNoMark;
    }
}

char FactMark(bool fact, char mark) {
    return fact ? mark : kNoMark;
}

// The MP3 path below the scanned folder (`prefix`, with its trailing separator),
// or the whole path when it lies elsewhere.
std::string RelativeMp3Path(std::string_view path, std::string_view prefix) {
    if (path.starts_with(prefix)) {
        path.remove_prefix(prefix.size());
    }
    return DisplayPath(path);
}

// Appends `text`, `shown` columns wide, and blanks up to `width` columns.
void AppendPadded(std::string& out, std::string_view text, std::size_t shown, std::size_t width) {
    out += text;
    if (shown < width) {
        out.append(width - shown, ' ');
    }
}

// Appends DisplayName(text), without the display conversion's copy of text that
// is UTF-8 already.
void AppendDisplayName(std::string& out, std::string_view text) {
    out += IsValidUtf8(text) ? EscapeControls(text) : DisplayName(text);
}

std::string JsonBool(bool value) {
    return value ? "true" : "false";
}

std::string JsonPositions(const std::vector<int>& positions) {
    std::string out = "[";
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (i != 0) {
            out += ", ";
        }
        out += std::to_string(positions[i]);
    }
    out += ']';
    return out;
}

std::string JsonRow(const ResultRow& row) {
    std::string out = "{";
    out += "\"checked\": " + JsonBool(row.Checked);
    out += ", \"mp3\": " + JsonString(PathAsUtf8(row.Mp3Path));
    out += ", \"lyrics\": " + JsonString(PathAsUtf8(row.LyricsPath));
    out += ", \"lyricsName\": " + JsonString(DisplayUtf8(row.LyricsName));
    out += ", \"candidates\": " + JsonPositions(row.Candidates);
    out += ", \"mp3Icon\": " + std::to_string(RowMarkNumber(Mp3Mark(row)));
    out += ", \"tagged\": " + JsonBool(row.Tagged);
    out += ", \"withoutId3\": " + JsonBool(row.WithoutId3);
    out += ", \"lyricsIcon\": " + std::to_string(RowMarkNumber(LyricsMark(row)));
    out += ", \"shared\": " + JsonBool(row.Shared);
    out += '}';
    return out;
}

}  // namespace

std::string RowMarks(const ResultRow& row) {
    std::string marks;
    marks += MarkLetter(Mp3Mark(row));
    marks += FactMark(row.Tagged, 'T');
    marks += FactMark(row.WithoutId3, 'I');
    marks += MarkLetter(LyricsMark(row));
    marks += FactMark(row.Shared, 'S');
    return marks;
}

std::string MarksLegend() {
    return "Marks:  A several lyrics files match   N Lyrics3 tag of a newer version   1 one match\n"
           "        T has a Lyrics3 tag   I no ID3v1 block\n"
           "        F filtered lyrics   U unfiltered lyrics   S lyrics matched by other .mp3 files "
           "too\n";
}

std::string FormatRowTable(const RowList& rows, std::string_view folder,
                           const MatchResult& result) {
    const std::string prefix = EnsureBackslash(folder);
    std::vector<std::string> mp3Texts;
    std::vector<std::size_t> mp3Widths;
    mp3Texts.reserve(rows.Count());
    mp3Widths.reserve(rows.Count());
    std::size_t mp3Width = kHeaderMp3.size();
    std::size_t rowBytes = 0;
    for (const ResultRow& row : rows.Rows()) {
        mp3Texts.push_back(RelativeMp3Path(row.Mp3Path, prefix));
        mp3Widths.push_back(DisplayWidth(mp3Texts.back()));
        mp3Width = std::max(mp3Width, mp3Widths.back());
        rowBytes += mp3Texts.back().size() + row.LyricsName.size();
    }
    mp3Width = std::min(mp3Width, kMaxMp3ColumnWidth);

    std::string out;
    if (!rows.Empty()) {
        constexpr std::size_t kRowFrame = 32;  // box, marks, gaps, padding, line end
        out.reserve(rowBytes + rows.Count() * (kRowFrame + mp3Width));
        out += std::string(kUncheckedBox.size(), ' ');
        out += kColumnGap;
        out += kHeaderMarks;
        out += kColumnGap;
        AppendPadded(out, kHeaderMp3, kHeaderMp3.size(), mp3Width);
        out += kColumnGap;
        out += kHeaderLyrics;
        out += '\n';
        for (std::size_t i = 0; i < rows.Count(); ++i) {
            const ResultRow& row = rows.Row(i);
            out += row.Checked ? kCheckedBox : kUncheckedBox;
            out += kColumnGap;
            out += RowMarks(row);
            out += kColumnGap;
            AppendPadded(out, mp3Texts[i], mp3Widths[i], mp3Width);
            out += kColumnGap;
            AppendDisplayName(out, row.LyricsName);
            out += '\n';
        }
        out += '\n';
        out += MarksLegend();
        out += '\n';
    }
    out += DisplayName(MatchSummary(result));
    out += '\n';
    out += "Checked: " + std::to_string(rows.CheckedCount()) + '\n';
    return out;
}

std::string FormatRowJson(const RowList& rows, const MatchResult& result) {
    std::string out = "{\n";
    out += "  \"processed\": " + std::to_string(result.Processed) + ",\n";
    out += "  \"summary\": " + JsonString(DisplayUtf8(MatchSummary(result))) + ",\n";
    out += "  \"rows\": [";
    for (std::size_t i = 0; i < rows.Count(); ++i) {
        out += i == 0 ? "\n    " : ",\n    ";
        out += JsonRow(rows.Row(i));
    }
    out += rows.Empty() ? "]\n" : "\n  ]\n";
    out += "}\n";
    return out;
}

}  // namespace versemark::cli
