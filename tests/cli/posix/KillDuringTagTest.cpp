// SPDX-License-Identifier: GPL-3.0-or-later
// versemark-cli tag ended from outside while it writes: by kill -9 at random
// moments (then recovered), and by an interrupt or a termination request (a
// clean stop after the file being written). Every file must end up exactly old
// or exactly new.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <thread>

#include "cli/CliRun.h"
#include "cli/CliVerbs.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "tagging/PassLock.h"

namespace versemark::testing {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kFiles = 200;
constexpr std::size_t kLyricsSize = 90 * 1024;
// Kills tried in a normal test run; VERSEMARK_CRASH_KILLS asks for more.
constexpr int kDefaultKills = 10;

// A three-letter code per file: no code is part of another, so each lyrics name
// matches exactly one file.
std::string Code(std::size_t i) {
    std::string code;
    for (int d = 0; d < 3; ++d) {
        code += static_cast<char>('a' + i % 26);
        i /= 26;
    }
    return code;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// True when recover's notes tell of problems and every one is a journal whose
// last entry a kill cut short: nothing else went wrong.
bool OnlyEntriesCutShort(const std::string& notes) {
    const std::size_t problems = Count(notes, "Could not ");
    return problems > 0 && problems == Count(notes, "Could not use all of the journal ") &&
           problems == Count(notes, ": it ends in an entry cut short at byte ");
}

// A library of large filtered lyrics and untagged files, half with an ID3v1 block.
void WriteLibrary(const TempDir& dir, const std::string& name) {
    const std::string text(kLyricsSize, 'l');
    for (std::size_t i = 0; i < kFiles; ++i) {
        const std::string song = "Vel" + Code(i) + " - Mor" + Code(i);
        dir.WriteFile(name + "/lyrics/" + song + ".txt",
                      song + "\r\n" + text + "\r\n[x] filter used\r\n");
        TailBuilder mp3;
        mp3.audio(3000 + i);
        if (i % 2 == 0) {
            mp3.id3v1("Mor" + Code(i), "Vel" + Code(i));
        }
        dir.WriteFile(name + "/music/" + song + ".mp3", mp3.bytes());
    }
}

// versemark-cli started in the background with its output in files.
class Background {
  public:
    Background(const std::vector<std::string>& args, const std::string& state,
               const std::string& out) {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setenv("XDG_STATE_HOME", state.c_str(), 1);
            std::freopen(out.c_str(), "w", stdout);
            std::freopen((out + ".err").c_str(), "w", stderr);
            const std::string program = CliExecutable();
            std::vector<char*> argv = {const_cast<char*>(program.c_str())};
            for (const std::string& arg : args) {
                argv.push_back(const_cast<char*>(arg.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
    }
    // The wait status.
    int Wait() {
        if (!status_) {
            int status = 0;
            ::waitpid(pid_, &status, 0);
            status_ = status;
        }
        return *status_;
    }
    void Signal(int signal) {
        if (!status_) {
            ::kill(pid_, signal);
        }
    }
    bool Ended() {
        int status = 0;
        if (!status_ && ::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = status;
        }
        return status_.has_value();
    }

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

class KillDuringTag : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteLibrary(dir_, "clean");
        WriteLibrary(dir_, "work");
        old_ = SnapshotFiles(dir_ / "work/music");
        const auto start = Clock::now();
        const CliRunResult clean = RunCliProcess(TagArgs("clean"), {{"XDG_STATE_HOME", state_}});
        passTime_ = Clock::now() - start;
        ASSERT_EQ(clean.Status, 0) << clean.Err;
        new_ = SnapshotFiles(dir_ / "clean/music");
        ASSERT_EQ(new_.size(), kFiles);
    }

    std::vector<std::string> TagArgs(const std::string& name) {
        return {"tag", dir_ / (name + "/music"), "--cache", dir_ / (name + "/lyrics"),
                "--single-dir"};
    }

    std::size_t FilesNotNew() {
        std::size_t count = 0;
        for (const auto& [name, bytes] : SnapshotFiles(dir_ / "work/music")) {
            count += bytes == new_.at(name) ? 0 : 1;
        }
        return count;
    }

    // Files neither old nor new; counts the files looked at.
    int TornFiles(int& checked) {
        int torn = 0;
        for (const auto& [name, bytes] : SnapshotFiles(dir_ / "work/music")) {
            ++checked;
            if (bytes != old_.at(name) && bytes != new_.at(name)) {
                ++torn;
                ADD_FAILURE() << "torn: " << name;
            }
        }
        return torn;
    }

    std::set<std::filesystem::path> Journals() {
        std::set<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir_ / "state/versemark")) {
            files.insert(entry.path());
        }
        return files;
    }

    // True when a journal not in `before` holds more than its header.
    bool NewJournalWithARecord(const std::set<std::filesystem::path>& before) {
        constexpr std::uintmax_t kMoreThanAHeader = 200;
        for (const auto& file : Journals()) {
            std::error_code error;
            if (!before.contains(file) &&
                std::filesystem::file_size(file, error) > kMoreThanAHeader) {
                return true;
            }
        }
        return false;
    }

    TempDir dir_;
    const std::string state_ = dir_.MakeFolder("state");
    std::map<std::string, std::string> old_;
    std::map<std::string, std::string> new_;
    Clock::duration passTime_{};
};

TEST_F(KillDuringTag, KillNineAtRandomMomentsThenRecoverLeavesEveryFileOldOrNew) {
    const char* asked = std::getenv("VERSEMARK_CRASH_KILLS");
    const int kills = asked ? std::atoi(asked) : kDefaultKills;
    std::mt19937 random(12345);
    const auto longest = std::chrono::duration_cast<std::chrono::microseconds>(passTime_);
    int tried = 0;
    int checked = 0;
    int torn = 0;
    int passesEnded = 0;
    std::size_t repaired = 0;
    while (tried < kills) {
        // The kill falls somewhere in the pass still to run: its length shrinks
        // with the files left to tag, and a library nearly done starts over.
        std::size_t left = FilesNotNew();
        if (left < kFiles / 10) {
            std::filesystem::remove_all(dir_ / "work/music");
            WriteLibrary(dir_, "work");
            left = kFiles;
        }
        std::uniform_int_distribution<long long> moment(0, longest.count() * left / kFiles);
        Background run(TagArgs("work"), state_, dir_ / "out");
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        run.Signal(SIGKILL);
        const int status = run.Wait();
        if (WIFSIGNALED(status)) {
            ++tried;
        } else {
            ++passesEnded;
        }
        repaired += Count(ReadFileBytes(dir_ / "out.err"), "Recovered: ");  // by the pass itself
        // Every other kill is recovered by the next pass itself.
        if (tried % 2 == 0 || !WIFSIGNALED(status)) {
            const CliRunResult recover = RunCliProcess({"recover"}, {{"XDG_STATE_HOME", state_}});
            // A kill while the journal was written leaves its last entry cut short,
            // which recover tells once, as it tells any cut journal.
            EXPECT_EQ(recover.Status, OnlyEntriesCutShort(recover.Err) ? 1 : 0) << recover.Err;
            repaired += Count(recover.Err, "Recovered: ");
            torn += TornFiles(checked);
        }
    }
    const CliRunResult recover = RunCliProcess({"recover"}, {{"XDG_STATE_HOME", state_}});
    EXPECT_EQ(recover.Status, OnlyEntriesCutShort(recover.Err) ? 1 : 0) << recover.Err;
    torn += TornFiles(checked);
    std::cout << "[ kill -9 ] pass time " << longest.count() / 1000 << " ms, kills: " << tried
              << ", passes that ended first: " << passesEnded
              << ", torn files repaired: " << repaired << ", files checked: " << checked
              << ", torn files: " << torn << '\n';
    EXPECT_EQ(torn, 0);
}

// An interrupt or a termination request stops the pass after the file being
// written: the log of what was done is printed, the status is 128 plus the
// signal's number, and no file needs recovery.
TEST_F(KillDuringTag, InterruptAndTerminationStopThePassCleanly) {
    for (const int signal : {SIGINT, SIGTERM}) {
        const std::set<std::filesystem::path> before = Journals();
        Background run(TagArgs("work"), state_, dir_ / "out");
        // Wait until the pass has begun writing: a record is in its journal.
        const auto deadline = Clock::now() + std::chrono::seconds(60);
        while (Clock::now() < deadline && !run.Ended() && !NewJournalWithARecord(before)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        run.Signal(signal);
        const int status = run.Wait();
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);

        std::ifstream out(dir_ / "out", std::ios::binary);
        const std::string log((std::istreambuf_iterator<char>(out)), {});
        const std::size_t lines = Count(log, "File tagged..: ");
        EXPECT_GE(lines, 1u);
        EXPECT_LT(lines, kFiles);
        // The count names the rows tried and those the pass did not reach.
        const std::string err = ReadFileBytes(dir_ / "out.err");
        const std::string count = "Tagged " + std::to_string(lines) + " of " +
                                  std::to_string(lines) + " files; 0 failed; " +
                                  std::to_string(kFiles - lines) +
                                  " not reached: a signal stopped the pass\n";
        EXPECT_TRUE(err.ends_with(count)) << err;
        int checked = 0;
        EXPECT_EQ(TornFiles(checked), 0);  // without any recovery
        std::size_t tagged = 0;
        for (const auto& [name, bytes] : SnapshotFiles(dir_ / "work/music")) {
            tagged += bytes == new_.at(name) ? 1 : 0;
        }
        EXPECT_EQ(tagged, lines);
        std::filesystem::remove_all(dir_ / "work/music");
        WriteLibrary(dir_, "work");
    }
}

// Two passes over one folder at once: each waits while another holds the
// journal folder's lock, saying so once on standard error, and writes nothing
// meanwhile. The one that runs second finds every file changed since its scan and
// leaves it alone, so no file is torn or tagged twice, and one undo gives back
// the originals.
TEST_F(KillDuringTag, TwoPassesAtOnceRunOneAfterTheOther) {
    auto held = std::make_unique<PassLock>(PassLock::Take(dir_ / "state/versemark"));
    ASSERT_TRUE(held->Held()) << held->Reason();
    const std::string waiting = std::string(cli::kWaitingText) + "\n";
    Background first(TagArgs("work"), state_, dir_ / "first");
    Background second(TagArgs("work"), state_, dir_ / "second");
    const auto deadline = Clock::now() + std::chrono::seconds(120);
    while (Clock::now() < deadline && !first.Ended() && !second.Ended() &&
           !(ReadFileBytes(dir_ / "first.err") == waiting &&
             ReadFileBytes(dir_ / "second.err") == waiting)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(ReadFileBytes(dir_ / "first.err"), waiting);
    EXPECT_EQ(ReadFileBytes(dir_ / "second.err"), waiting);
    EXPECT_EQ(SnapshotFiles(dir_ / "work/music"), old_);
    held.reset();

    const int statuses[] = {first.Wait(), second.Wait()};
    int tagged = 0;
    for (const int status : statuses) {
        ASSERT_TRUE(WIFEXITED(status)) << status;
        tagged += WEXITSTATUS(status) == 0 ? 1 : 0;
    }
    EXPECT_EQ(tagged, 1);
    EXPECT_EQ(SnapshotFiles(dir_ / "work/music"), new_);
    const CliRunResult undo = RunCliProcess({"undo"}, {{"XDG_STATE_HOME", state_}});
    EXPECT_EQ(undo.Status, 0) << undo.Err;
    EXPECT_EQ(SnapshotFiles(dir_ / "work/music"), old_);
}

// A termination request while the last file is written: the pass has no file
// left to stop before, yet the log of every file is printed and the status is
// 143. The last file is large and written whole as a copy, so the request
// comes while that copy grows.
TEST_F(KillDuringTag, TerminationDuringTheLastFilePrintsTheWholeLog) {
    constexpr std::size_t kSmallFiles = 7;
    constexpr std::size_t kLastAudio = 160 * 1024 * 1024;
    constexpr std::uintmax_t kBiggerThanAnySmallFile = 1024 * 1024;
    const std::string filtered = "words\r\n[x] filter used\r\n";
    for (std::size_t i = 0; i <= kSmallFiles; ++i) {
        const std::string song = "Vel" + Code(i) + " - Mor" + Code(i);
        dir_.WriteFile("last/lyrics/" + song + ".txt", filtered);
        dir_.WriteFile("last/music/" + song + ".mp3",
                       TailBuilder().audio(i == kSmallFiles ? kLastAudio : 3000).bytes());
    }
    // Written by a copy; a copy bigger than any small file is the last file's.
    const auto lastCopyGrows = [&] {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(dir_ / "last/music")) {
            // A copy renamed away meanwhile has no size (and gives the error's
            // value, the largest number).
            const std::uintmax_t size = entry.file_size(error);
            if (entry.path().filename().string().starts_with(".versemark-") && !error &&
                size > kBiggerThanAnySmallFile) {
                return true;
            }
        }
        return false;
    };
    std::vector<std::string> args = TagArgs("last");
    args.push_back("--also-id3v2");
    Background run(args, state_, dir_ / "out");
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (Clock::now() < deadline && !run.Ended() && !lastCopyGrows()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_FALSE(run.Ended()) << "the pass ended before the last file was written";
    run.Signal(SIGTERM);
    const int status = run.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
    const std::string log = ReadFileBytes(dir_ / "out");
    EXPECT_EQ(Count(log, "File tagged..: "), kSmallFiles + 1) << log;
    EXPECT_EQ(Count(log, "\r\n"), kSmallFiles + 1);
}

// An interrupt during undo: the undo runs whole (it has no point to stop at
// that would leave the pass half taken back), then its log is printed and the
// status is 130.
TEST_F(KillDuringTag, InterruptDuringUndoPrintsTheWholeLog) {
    const CliRunResult tag = RunCliProcess(TagArgs("work"), {{"XDG_STATE_HOME", state_}});
    ASSERT_EQ(tag.Status, 0) << tag.Err;
    const std::set<std::filesystem::path> before = Journals();
    Background run({"undo"}, state_, dir_ / "out");
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (Clock::now() < deadline && !run.Ended() && !NewJournalWithARecord(before)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_FALSE(run.Ended()) << "the undo ended before the interrupt";
    run.Signal(SIGINT);
    const int status = run.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGINT);
    const std::string log = ReadFileBytes(dir_ / "out");
    EXPECT_EQ(Count(log, "File restored..: "), kFiles) << ReadFileBytes(dir_ / "out.err");
    EXPECT_EQ(SnapshotFiles(dir_ / "work/music"), old_);
}

}  // namespace
}  // namespace versemark::testing
