// SPDX-License-Identifier: GPL-3.0-or-later
// The lyrics field of FLAC, Ogg Vorbis, Opus and MP4 files made by ffmpeg and
// tagged by mutagen, read back by mutagen and decoded by ffmpeg: the lyrics are
// there, every other tag, the pictures and the audio are as they were, undo
// gives back the original bytes, and a pass ended at any step leaves each file
// old or new.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>

#include "platform/LockedFile.h"
#include "support/TagTestHelpers.h"
#include "support/TempDir.h"
#include "tagging/Journal.h"
#include "tagging/Recovery.h"
#include "tagging/TaggingPass.h"
#include "tagging/Undo.h"

namespace versemark::testing {
namespace {

constexpr int kHelperMissing = 3;
constexpr int kCrashExit = 77;
constexpr std::string_view kCredit = "Lyrics by Songleaf (https://kestrelworks.example/songleaf)";
// The lyrics file in Windows-1252 ("café"), and as the field holds it.
constexpr std::string_view kLyricsFile = "Verse caf\xe9\r\nline two";
constexpr std::string_view kLyricsUtf8 = "Verse caf\xc3\xa9\r\nline two\r\n";

// Runs the helper script; its standard output, and its exit status in `status`.
std::string RunHelper(const std::string& arguments, int& status) {
    const std::string command =
        "/usr/bin/python3 " VERSEMARK_TAGGING_TEST_DIR "/field_files.py " + arguments;
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return out;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    const int raw = ::pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

// What mutagen and ffmpeg read of a song: everything but the lyrics, and the lyrics.
struct SongDump {
    std::string Rest;
    std::string Lyrics;
};

SongDump Dump(const std::string& path) {
    int status = 0;
    const std::string out = RunHelper("dump '" + path + "'", status);
    EXPECT_EQ(status, 0) << path;
    const std::size_t line = out.find('\n');
    return {out.substr(0, line), line == std::string::npos ? "" : out.substr(line + 1)};
}

class FieldLyrics : public ::testing::Test {
  protected:
    TempDir dir_;
    const std::string journals_ = dir_.MakeFolder("state");
    const std::string songs_ = dir_.MakeFolder("songs");
    std::vector<std::string> paths_;
    std::vector<std::string> originals_;

    void SetUp() override {
        int status = 0;
        const std::string made = RunHelper("make '" + songs_ + "'", status);
        if (status == kHelperMissing) {
            GTEST_SKIP() << "ffmpeg or mutagen is missing";
        }
        ASSERT_EQ(status, 0);
        for (std::size_t at = 0, end; (end = made.find('\n', at)) != std::string::npos;
             at = end + 1) {
            paths_.push_back(made.substr(at, end - at));
            originals_.push_back(ReadFileBytes(paths_.back()));
        }
        ASSERT_EQ(paths_.size(), 5u);
    }

    RowList Rows(const std::string& lyrics) const {
        RowList rows;
        for (const std::string& path : paths_) {
            rows.Add(CheckedRow(path, lyrics, "A - T"));
        }
        return rows;
    }

    TaggingOptions Options() const {
        TaggingOptions options;
        options.Tag.AllFormats = true;
        options.JournalFolder = journals_;
        options.Folder = songs_;
        return options;
    }

    void RestoreOriginals() {
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            dir_.WriteFile(std::filesystem::relative(paths_[i], dir_.Path()).string(),
                           originals_[i]);
        }
    }

    std::vector<std::string> Bytes() const {
        std::vector<std::string> bytes;
        for (const std::string& path : paths_) {
            bytes.push_back(ReadFileBytes(path));
        }
        return bytes;
    }

    bool NoCopyLeft() const {
        for (const auto& entry : std::filesystem::directory_iterator(songs_)) {
            if (entry.path().filename().string().starts_with(".")) {
                return false;
            }
        }
        return true;
    }
};

TEST_F(FieldLyrics, EachFormatGetsItsFieldKeepsAllElseAndUndoGivesBackItsBytes) {
    std::vector<SongDump> before;
    for (const std::string& path : paths_) {
        before.push_back(Dump(path));
    }
    const std::string shortLyrics = dir_.WriteFile("short.txt", kLyricsFile);
    // Longer than any padding the encoders leave: the metadata must grow.
    const std::string longText(30000, 'w');
    const std::string longLyrics = dir_.WriteFile("long.txt", longText);
    struct Pass {
        std::string Lyrics;
        std::string Expected;
    };
    const std::vector<Pass> passes = {
        {shortLyrics, std::string(kLyricsUtf8) + std::string(kCredit)},
        {longLyrics, longText + "\r\n" + std::string(kCredit)},
        {shortLyrics, std::string(kLyricsUtf8) + std::string(kCredit)},
    };
    std::vector<std::vector<std::string>> states = {originals_};
    for (const Pass& pass : passes) {
        const auto outcome = TagCheckedRows(Rows(pass.Lyrics), Options());
        ASSERT_TRUE(outcome);
        for (const TagResult& result : outcome->Results) {
            EXPECT_TRUE(result.Tagged && result.Reason.empty())
                << result.Mp3Path << ": " << result.Reason;
        }
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            const SongDump after = Dump(paths_[i]);
            EXPECT_EQ(after.Lyrics, pass.Expected) << paths_[i];
            EXPECT_EQ(after.Rest, before[i].Rest) << paths_[i];
            const std::string bytes = ReadFileBytes(paths_[i]);
            EXPECT_EQ(bytes.find("LYRICSBEGIN"), std::string::npos) << paths_[i];
            EXPECT_FALSE(bytes.size() >= 128 && bytes.compare(bytes.size() - 128, 3, "TAG") == 0)
                << paths_[i];
        }
        EXPECT_TRUE(NoCopyLeft());
        states.push_back(Bytes());
    }
    // The same lyrics once more change nothing at all.
    ASSERT_TRUE(TagCheckedRows(Rows(shortLyrics), Options()));
    EXPECT_TRUE(Bytes() == states.back());
    // Undo takes back the latest pass that changed the files: each file gets
    // the bytes it had before it. (An older pass is not undone after it: the
    // files the undo writes are no longer the ones that pass wrote.)
    const UndoOutcome undo = UndoPass(journals_, "", OpenFile);
    EXPECT_TRUE(undo.Error.empty() && undo.Problems.empty()) << undo.Error;
    EXPECT_TRUE(AllTagged(undo.Results) && undo.Results.size() == paths_.size());
    EXPECT_TRUE(Bytes() == states[2]);
    // And a pass over the original files is undone to their very bytes.
    RestoreOriginals();
    ASSERT_TRUE(TagCheckedRows(Rows(shortLyrics), Options()));
    const UndoOutcome first = UndoPass(journals_, "", OpenFile);
    EXPECT_TRUE(AllTagged(first.Results) && first.Results.size() == paths_.size());
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        EXPECT_TRUE(ReadFileBytes(paths_[i]) == originals_[i]) << paths_[i];
    }
    EXPECT_TRUE(NoCopyLeft());
}

// A journal whose append numbered `crashAt` ends the process the hard way, and
// files whose read, write, cut or flush numbered `crashAt` does (counted together).
struct CrashPlan {
    int Calls = 0;
    int CrashAt = 0;

    void Step() {
        if (++Calls == CrashAt) {
            ::_exit(kCrashExit);
        }
    }
};

class CrashingJournal final : public LockedFile {
  public:
    CrashingJournal(std::unique_ptr<LockedFile> inner, CrashPlan& plan)
        : inner_(std::move(inner)), plan_(plan) {}
    bool Append(std::string_view bytes) override {
        plan_.Step();
        return inner_->Append(bytes);
    }
    bool Sync() override { return inner_->Sync(); }
    bool Truncate(std::uint64_t length) override { return inner_->Truncate(length); }
    std::string ErrorText() const override { return inner_->ErrorText(); }

  private:
    std::unique_ptr<LockedFile> inner_;
    CrashPlan& plan_;
};

class CrashingFile final : public RandomAccessFile {
  public:
    CrashingFile(std::unique_ptr<RandomAccessFile> inner, CrashPlan& plan)
        : inner_(std::move(inner)), plan_(plan) {}
    std::optional<std::uint64_t> Length() override { return inner_->Length(); }
    bool ReadAt(std::uint64_t offset, std::size_t count, std::string& out) override {
        plan_.Step();
        return inner_->ReadAt(offset, count, out);
    }
    // A write ended by the step stores only the first half of its bytes.
    bool WriteAt(std::uint64_t offset, std::string_view data) override {
        if (plan_.Calls + 1 == plan_.CrashAt) {
            inner_->WriteAt(offset, data.substr(0, data.size() / 2));
        }
        plan_.Step();
        return inner_->WriteAt(offset, data);
    }
    bool Truncate(std::uint64_t length) override {
        plan_.Step();
        return inner_->Truncate(length);
    }
    bool Close() override { return inner_->Close(); }
    bool Flush() override {
        plan_.Step();
        return inner_->Flush();
    }
    std::optional<FileStamp> Stamp() override { return inner_->Stamp(); }
    std::optional<FileRights> Rights() override { return inner_->Rights(); }

  private:
    std::unique_ptr<RandomAccessFile> inner_;
    CrashPlan& plan_;
};

// Runs the pass in a child process ended at step `crashAt` (0: never); true
// when it was ended there. `steps` gets the steps a whole pass took.
bool RunCrashingPass(const RowList& rows, TaggingOptions options, int crashAt, int& steps) {
    int pipe[2];
    EXPECT_EQ(::pipe(pipe), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        CrashPlan plan{0, crashAt};
        options.WrapJournal = [&plan](std::unique_ptr<LockedFile> file) {
            return std::make_unique<CrashingJournal>(std::move(file), plan);
        };
        options.Open = [&plan](const std::string& path,
                               FileAccess access) -> std::unique_ptr<RandomAccessFile> {
            auto file = OpenFile(path, access);
            return file ? std::make_unique<CrashingFile>(std::move(file), plan) : nullptr;
        };
        TagCheckedRows(rows, options);
        ::write(pipe[1], &plan.Calls, sizeof plan.Calls);
        ::_exit(0);
    }
    ::close(pipe[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (::read(pipe[0], &steps, sizeof steps) != sizeof steps) {
        steps = 0;
    }
    ::close(pipe[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == kCrashExit;
}

TEST_F(FieldLyrics, EndingThePassAtAnyStepLeavesEachFileOldOrNew) {
    // Short lyrics fit where the old metadata was (written in place where
    // TagLib keeps the layout); long ones make every file a copy.
    const std::vector<std::string> lyricsFiles = {
        dir_.WriteFile("short.txt", kLyricsFile),
        dir_.WriteFile("long.txt", std::string(30000, 'w')),
    };
    for (const std::string& lyrics : lyricsFiles) {
        RestoreOriginals();
        int steps = 0;
        ASSERT_FALSE(RunCrashingPass(Rows(lyrics), Options(), 0, steps));
        const std::vector<std::string> tagged = Bytes();
        ASSERT_TRUE(tagged != originals_);
        ASSERT_TRUE(UndoPass(journals_, "", OpenFile).Error.empty());
        ASSERT_TRUE(Bytes() == originals_);
        // Every step is tried where the steps are few; else about 40 spread over all.
        const int stride = std::max(1, steps / 40);
        int ends = 0;
        for (int crashAt = 1; crashAt <= steps; crashAt += stride) {
            RestoreOriginals();
            int ignored = 0;
            ends += RunCrashingPass(Rows(lyrics), Options(), crashAt, ignored) ? 1 : 0;
            RecoverUnfinished(journals_, OpenFile);
            EXPECT_TRUE(NoCopyLeft()) << crashAt;
            for (std::size_t i = 0; i < paths_.size(); ++i) {
                const std::string bytes = ReadFileBytes(paths_[i]);
                EXPECT_TRUE(bytes == originals_[i] || bytes == tagged[i])
                    << paths_[i] << " after the end at step " << crashAt;
            }
            const UndoOutcome undo = UndoPass(journals_, "", OpenFile);
            EXPECT_TRUE(AllTagged(undo.Results)) << crashAt;
            EXPECT_TRUE(Bytes() == originals_) << "undone after the end at step " << crashAt;
        }
        std::cout << "[ crash ] " << lyrics << ": steps " << steps << ", ends tried: " << ends
                  << '\n';
        EXPECT_GT(ends, 0);
    }
}

}  // namespace
}  // namespace versemark::testing
