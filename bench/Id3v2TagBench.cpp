// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of also writing the ID3v2 lyrics frame: the tagging pass with and
// without it, over the demo library's checked rows and over 1,000 MP3 files
// (an ID3v2.3 tag with three text frames and 4 KiB of padding, `size` KiB of
// silent MPEG audio, an ID3v1 block; about 1 KB of lyrics each, so that the
// lyrics frame fits the padding and the file is written in place; the target is
// at most twice the time of the Lyrics3 write alone). Each run tags the same files
// again. Prints wall time, processor time and the bytes this process wrote
// (wchar of /proc/self/io: every write call, fsync not counted). The files are
// written a block at a time, so that the process's peak memory (as
// /usr/bin/time -v shows it) is the pass's own: one file of 204800 KiB shows
// what a copy of a 200 MB file costs.
//
//   Id3v2TagBench [folder, default /tmp/versemark-bench-id3v2] [runs, default 5]
//                 [audio KiB per file, default 1024] [files, default 1000]
//                 [lyrics bytes, default 1000: more than the padding holds makes
//                  the first pass with the frame grow the tag, by a copy]

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "BenchData.h"
#include "demo/DemoLibrary.h"
#include "demo/SilentMp3.h"
#include "matching/LyricsIndex.h"
#include "matching/MatchFolder.h"
#include "matching/Mp3Sample.h"
#include "tagging/TaggingPass.h"

using namespace versemark;
using namespace versemark::bench;

namespace {

constexpr std::size_t kManyFiles = 1000;
constexpr std::size_t kLyricsBytes = 1000;
constexpr std::size_t kPaddingBytes = 4096;
constexpr std::size_t kFramesPerBlock = 2500;  // about 1 MB of audio

// Bytes written by this process so far.
std::uint64_t BytesWritten() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "wchar:") {
            return value;
        }
    }
    return 0;
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string TextFrame(const char* id, const std::string& text) {
    const std::string data = std::string(1, '\0') + text;  // ISO-8859-1
    std::string frame = id;
    for (int shift = 24; shift >= 0; shift -= 8) {
        frame += static_cast<char>((data.size() >> shift) & 0xFF);
    }
    return frame + std::string(2, '\0') + data;
}

// An ID3v2.3 tag of three frames and kPaddingBytes of padding.
std::string Id3v23Tag(std::size_t n) {
    const std::string frames = TextFrame("TIT2", "Title " + std::to_string(n)) +
                               TextFrame("TPE1", "Artist " + std::to_string(n)) +
                               TextFrame("TALB", "Album") + std::string(kPaddingBytes, '\0');
    std::string tag = "ID3\x03";
    tag += std::string(2, '\0');
    for (int shift = 21; shift >= 0; shift -= 7) {
        tag += static_cast<char>((frames.size() >> shift) & 0x7F);
    }
    return tag + frames;
}

// Writes the MP3 file: the tag, whole silent frames for at least `audioBytes`,
// the ID3v1 block; the frames a block at a time.
void WriteMp3(const std::string& path, const std::string& tag, std::size_t audioBytes) {
    static const std::string block = SilentMp3Audio(kFramesPerBlock);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << tag;
    for (std::size_t left = audioBytes; left > 0;) {
        const std::size_t frames =
            std::min(kFramesPerBlock, (left + kSilentFrameSize - 1) / kSilentFrameSize);
        out.write(block.data(), static_cast<std::streamsize>(frames * kSilentFrameSize));
        left -= std::min(left, frames * kSilentFrameSize);
    }
    out << "TAG" << std::string(125, '\0');
}

RowList ManyFiles(const std::string& root, std::size_t audioKiB, std::size_t files,
                  std::size_t lyricsBytes) {
    std::filesystem::create_directories(root + "/many/music");
    std::filesystem::create_directories(root + "/many/lyrics");
    std::string lyrics;
    while (lyrics.size() < lyricsBytes) {
        lyrics += "A line of the song's words, sung again and again\r\n";
    }
    RowList rows;
    for (std::size_t n = 0; n < files; ++n) {
        const std::string name = "Artist " + std::to_string(n) + " - Title";
        ResultRow row;
        row.Mp3Path = root + "/many/music/" + std::to_string(n) + ".mp3";
        row.LyricsPath = root + "/many/lyrics/" + name + ".txt";
        row.LyricsName = name;
        row.Checked = true;
        WriteMp3(row.Mp3Path, Id3v23Tag(n), audioKiB * 1024);
        Write(row.LyricsPath, lyrics);
        rows.Add(std::move(row));
    }
    return rows;
}

RowList DemoRows(const std::string& root) {
    std::filesystem::remove_all(root + "/demo");
    const DemoLibraryResult demo = WriteDemoLibrary(root + "/demo");
    bool singleDir = false;
    LyricsIndex index;
    BuildLyricsIndex(demo.LyricsFolder, singleDir, index);
    RowList rows;
    MatchFolder(demo.MusicFolder, true, index, rows);
    return rows;
}

// Every pass tags the same files again: their stamps are taken anew before each,
// as a scan would, so that the pass does not refuse them as changed since.
void RestampRows(RowList& rows) {
    for (ResultRow& row : rows.Rows()) {
        if (const auto sample = ReadMp3Sample(row.Mp3Path); sample.Stamp) {
            row.Scanned = sample.Stamp;
        }
    }
}

void Compare(const char* library, RowList rows, const std::string& journalFolder, int runs) {
    std::size_t checked = 0;
    for (const ResultRow& row : rows.Rows()) {
        checked += row.Checked ? 1 : 0;
    }
    std::printf("%s: %zu checked rows\n", library, checked);
    for (const bool alsoId3v2 : {false, true}) {
        TaggingOptions options;
        options.Tag.AlsoId3v2 = alsoId3v2;
        options.JournalFolder = journalFolder;  // not the user's own
        Timings wall, cpu;
        std::uint64_t written = 0;
        for (int run = 0; run < runs; ++run) {
            RestampRows(rows);
            const std::uint64_t before = BytesWritten();
            const double cpuStart = ProcessCpuMs();
            wall.Ms.push_back(TimeMs([&] {
                const auto outcome = TagCheckedRows(rows, options);
                for (const TagResult& result :
                     outcome ? outcome->Results : std::vector<TagResult>{}) {
                    if (!result.Tagged) {
                        std::printf("tagging failed: %s: %s\n", result.Mp3Path.c_str(),
                                    result.Reason.c_str());
                        std::exit(1);
                    }
                }
            }));
            cpu.Ms.push_back(ProcessCpuMs() - cpuStart);
            written = BytesWritten() - before;
        }
        std::printf(
            "  %-18s wall median %9.3f ms (min %9.3f, max %9.3f), processor median %9.3f "
            "ms, %llu bytes written per pass\n",
            alsoId3v2 ? "with ID3v2 frame" : "Lyrics3 only", wall.Median(), wall.Min(), wall.Max(),
            cpu.Median(), static_cast<unsigned long long>(written));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = argc > 1 ? argv[1] : "/tmp/versemark-bench-id3v2";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::size_t audioKiB = argc > 3 ? static_cast<std::size_t>(std::atoi(argv[3])) : 1024;
    const std::size_t files = argc > 4 ? static_cast<std::size_t>(std::atoi(argv[4])) : kManyFiles;
    const std::size_t lyrics =
        argc > 5 ? static_cast<std::size_t>(std::atoi(argv[5])) : kLyricsBytes;
    const std::string journals = root + "/journals";
    Compare("demo library", DemoRows(root), journals, runs);
    const std::string many = std::to_string(files) + " files";
    Compare(many.c_str(), ManyFiles(root, audioKiB, files, lyrics), journals, runs);
    std::filesystem::remove_all(root);
    return 0;
}
