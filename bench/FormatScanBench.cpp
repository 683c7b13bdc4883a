// SPDX-License-Identifier: GPL-3.0-or-later
// The matching pass over 2,000 FLAC files, each with a 300 KB cover picture in
// front of its Vorbis comment, against the pass over 2,000 MP3 files of the same
// names (and the MP3 files again with the search for all formats on, which must
// cost nothing). The FLAC pass must take at most 1.5 times the MP3 pass: the
// walker reads block headers and the comment, and seeks past the picture.
// Warm runs, then cold runs where the system lets this program drop its page
// cache (as root: /proc/sys/vm/drop_caches).
//
//   FormatScanBench [work folder, default /tmp/versemark-bench-formats] [runs, default 5]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ProcessRuns.h"
#include "demo/SilentMp3.h"
#include "matching/LyricsIndex.h"
#include "matching/MatchFolder.h"

using namespace versemark;
using namespace versemark::bench;

namespace {

constexpr std::size_t kFileCount = 2000;
constexpr std::size_t kPictureSize = 300 * 1024;
constexpr double kRatioTarget = 1.5;

// A FLAC metadata block: the last-block flag and type, the 24-bit length, the data.
std::string FlacBlock(unsigned type, bool last, const std::string& data) {
    std::string block;
    block += static_cast<char>((last ? 0x80 : 0) | type);
    block += static_cast<char>((data.size() >> 16) & 0xFF);
    block += static_cast<char>((data.size() >> 8) & 0xFF);
    block += static_cast<char>(data.size() & 0xFF);
    return block + data;
}

std::string LittleEndian32(std::size_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

// A Vorbis comment with the vendor and the given "NAME=value" entries.
std::string VorbisComment(const std::vector<std::string>& entries) {
    const std::string vendor = "bench";
    std::string comment = LittleEndian32(vendor.size()) + vendor + LittleEndian32(entries.size());
    for (const std::string& entry : entries) {
        comment += LittleEndian32(entry.size()) + entry;
    }
    return comment;
}

// "fLaC", STREAMINFO, the picture, the comment with the song's artist and title;
// no audio frames (the walker never reads them).
std::string FlacFile(const std::string& artist, const std::string& title) {
    constexpr unsigned kStreamInfo = 0, kVorbisComment = 4, kPicture = 6;
    constexpr std::size_t kStreamInfoSize = 34;
    return "fLaC" + FlacBlock(kStreamInfo, false, std::string(kStreamInfoSize, '\0')) +
           FlacBlock(kPicture, false, std::string(kPictureSize, '\x5A')) +
           FlacBlock(kVorbisComment, true,
                     VorbisComment({"ARTIST=" + artist, "TITLE=" + title, "TRACKNUMBER=1"}));
}

// Lyrics for every song, the MP3 files (silent frames and an ID3v1 block, as
// large as the FLAC files, so that their first and last bytes lie apart as in
// real files) and the FLAC files of the same names, written once.
void EnsureFiles(const std::filesystem::path& root) {
    if (std::filesystem::exists(root / "complete")) {
        return;
    }
    std::filesystem::remove_all(root);
    constexpr std::size_t kId3v1Size = 128;
    const std::string audio =
        SilentMp3Audio(kPictureSize / kSilentFrameSize) + std::string(kId3v1Size, '\0');
    for (std::size_t i = 0; i < kFileCount; ++i) {
        const std::string name = SongName(i);
        const std::size_t dash = name.find(" - ");
        WriteBytes(root / "cache" / (name + ".txt"),
                   "Words of " + name + "\r\nla la la\r\n[Profanity] filter used\r\n");
        WriteBytes(root / "mp3" / (name + ".mp3"), audio);
        // The FLAC file's name says nothing; its tag holds the words.
        WriteBytes(root / "flac" / ("track " + std::to_string(i) + ".flac"),
                   FlacFile(name.substr(0, dash), name.substr(dash + 3)));
    }
    WriteBytes(root / "complete", "\n");
}

bool DropCaches() {
    std::fflush(nullptr);
    std::ofstream drop("/proc/sys/vm/drop_caches");
    drop << "3\n";
    drop.flush();
    return drop.good();
}

struct Pass {
    const char* Name;
    const char* Folder;
    bool AllFormats;
};

void Measure(const std::filesystem::path& root, LyricsIndex& index, int runs, bool cold) {
    const Pass passes[] = {{"MP3 files", "mp3", false},
                           {"MP3 files, all formats on", "mp3", true},
                           {"FLAC files, all formats on", "flac", true}};
    Timings timings[3];
    Timings processor[3];  // user and system time of this process: less disturbed by others
    int rowCounts[3] = {};
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < 3; ++p) {
            if (cold && !DropCaches()) {
                std::printf("cold runs: the page cache cannot be dropped here\n");
                return;
            }
            RowList rows;
            const std::string folder = (root / passes[p].Folder).string();
            const double cpuStart = ProcessCpuMs();
            timings[p].Ms.push_back(
                TimeMs([&] { MatchFolder(folder, true, index, rows, {}, passes[p].AllFormats); }));
            processor[p].Ms.push_back(ProcessCpuMs() - cpuStart);
            rowCounts[p] = static_cast<int>(rows.Count());
        }
    }
    std::printf("\n%s (%d runs each; rows: %d, %d, %d)\n", cold ? "cold" : "warm", runs,
                rowCounts[0], rowCounts[1], rowCounts[2]);
    for (int p = 0; p < 3; ++p) {
        PrintTimings(passes[p].Name, timings[p]);
    }
    std::printf("processor time (user and system) of the same runs:\n");
    for (int p = 0; p < 3; ++p) {
        PrintTimings(passes[p].Name, processor[p]);
    }
    std::printf("FLAC / MP3 processor time (medians): %.2f\n",
                processor[2].Median() / processor[0].Median());
    const double ratio = timings[2].Median() / timings[0].Median();
    std::printf("FLAC / MP3 (medians): %.2f (target at most %.1f)%s\n", ratio, kRatioTarget,
                ratio <= kRatioTarget ? "" : "  OVER TARGET");
    std::printf("MP3 all formats on / off (medians): %.2f\n",
                timings[1].Median() / timings[0].Median());
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path root = argc > 1 ? argv[1] : "/tmp/versemark-bench-formats";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    EnsureFiles(root);
    LyricsIndex index;
    bool singleDir = true;
    BuildLyricsIndex((root / "cache").string(), singleDir, index);
    PrepareMatcher(index);
    {
        RowList rows;  // warms the page cache
        MatchFolder((root / "flac").string(), true, index, rows, {}, true);
        MatchFolder((root / "mp3").string(), true, index, rows, {}, false);
    }
    std::printf("load average before: %.2f\n", LoadAverage());
    Measure(root, index, runs, false);
    Measure(root, index, runs, true);
    std::printf("\nload average after: %.2f\n", LoadAverage());
    return 0;
}
