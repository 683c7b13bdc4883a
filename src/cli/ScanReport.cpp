#include "cli/ScanReport.h"

#include <algorithm>
#include <vector>

#include "base/FileNames.h"
#include "cli/DisplayText.h"
#include "cli/JsonText.h"
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

char Mp3PictureMark(int icon) {
    switch (icon) {
        case kPictureAlert:
            return 'A';
        case kPictureNewerTag:
            return 'N';
        case kPictureOneMatch:
            return '1';
        default:
            return kNoMark;
    }
}

char LyricsPictureMark(int icon) {
    switch (icon) {
        case kPictureFiltered:
            return 'F';
        case kPictureUnfiltered:
            return 'U';
        default:
            return kNoMark;
    }
}

bool HasColour(const Cell& cell, Colour colour) {
    return cell.TextColour.has_value() && *cell.TextColour == colour;
}

bool IsTagged(const ResultRow& row) {
    return HasColour(row.Mp3Cell, TaggedFileColour);
}
bool IsShared(const ResultRow& row) {
    return HasColour(row.LyricsCell, SharedLyricsColour);
}
bool IsWithoutId3(const ResultRow& row) {
    return row.Mp3Cell.Tag == kWithoutId3;
}

// The MP3 path below the scanned folder, or the whole path when it lies elsewhere.
std::string RelativeMp3Path(std::string_view path, std::string_view folder) {
    const std::string prefix = EnsureBackslash(folder);
    if (path.starts_with(prefix)) {
        path.remove_prefix(prefix.size());
    }
    return DisplayPath(path);
}

std::string PadTo(std::string text, std::size_t width) {
    const std::size_t shown = DisplayWidth(text);
    if (shown < width) {
        text.append(width - shown, ' ');
    }
    return text;
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
    out += ", \"mp3\": " + JsonString(DisplayPath(row.Mp3Path));
    out += ", \"lyrics\": " + JsonString(DisplayPath(row.LyricsPath));
    out += ", \"lyricsName\": " + JsonString(DisplayUtf8(row.LyricsCell.Text));
    out += ", \"candidates\": " + JsonPositions(row.Candidates);
    out += ", \"mp3Icon\": " + std::to_string(row.Mp3Cell.Icon);
    out += ", \"tagged\": " + JsonBool(IsTagged(row));
    out += ", \"withoutId3\": " + JsonBool(IsWithoutId3(row));
    out += ", \"lyricsIcon\": " + std::to_string(row.LyricsCell.Icon);
    out += ", \"shared\": " + JsonBool(IsShared(row));
    out += '}';
    return out;
}

}  // namespace

std::string RowMarks(const ResultRow& row) {
    std::string marks;
    marks += Mp3PictureMark(row.Mp3Cell.Icon);
    marks += IsTagged(row) ? 'T' : kNoMark;
    marks += IsWithoutId3(row) ? 'I' : kNoMark;
    marks += LyricsPictureMark(row.LyricsCell.Icon);
    marks += IsShared(row) ? 'S' : kNoMark;
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
    std::vector<std::string> mp3Texts;
    mp3Texts.reserve(rows.Count());
    std::size_t mp3Width = kHeaderMp3.size();
    for (const ResultRow& row : rows.Rows()) {
        mp3Texts.push_back(RelativeMp3Path(row.Mp3Path, folder));
        mp3Width = std::max(mp3Width, DisplayWidth(mp3Texts.back()));
    }
    mp3Width = std::min(mp3Width, kMaxMp3ColumnWidth);

    std::string out;
    if (!rows.Empty()) {
        out += std::string(kUncheckedBox.size(), ' ');
        out += kColumnGap;
        out += kHeaderMarks;
        out += kColumnGap;
        out += PadTo(std::string(kHeaderMp3), mp3Width);
        out += kColumnGap;
        out += kHeaderLyrics;
        out += '\n';
        for (std::size_t i = 0; i < rows.Count(); ++i) {
            const ResultRow& row = rows.Row(i);
            out += row.Checked ? kCheckedBox : kUncheckedBox;
            out += kColumnGap;
            out += RowMarks(row);
            out += kColumnGap;
            out += PadTo(mp3Texts[i], mp3Width);
            out += kColumnGap;
            out += DisplayUtf8(row.LyricsCell.Text);
            out += '\n';
        }
        out += '\n';
        out += MarksLegend();
        out += '\n';
    }
    out += DisplayUtf8(result.Label);
    out += '\n';
    out += "Checked: " + std::to_string(rows.CheckedCount()) + '\n';
    return out;
}

std::string FormatRowJson(const RowList& rows, const MatchResult& result) {
    std::string out = "{\n";
    out += "  \"processed\": " + std::to_string(result.Processed) + ",\n";
    out += "  \"summary\": " + JsonString(DisplayUtf8(result.Label)) + ",\n";
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
