// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "tags/PieceTable.h"

namespace versemark::testing {
namespace {

// The source of every case: bytes that differ from their neighbours.
std::string Source(std::size_t length) {
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) {
        bytes += static_cast<char>('a' + i % 26);
    }
    return bytes;
}

SourceReader ReaderOf(const std::string& source, int* reads = nullptr) {
    return [&source, reads](std::uint64_t offset, std::size_t count, std::string& out) {
        if (reads) {
            ++*reads;
        }
        if (offset > source.size() || count > source.size() - offset) {
            return false;
        }
        out = source.substr(static_cast<std::size_t>(offset), count);
        return true;
    };
}

std::string Content(const PieceTable& table, const std::string& source) {
    std::string out;
    EXPECT_TRUE(table.Read(0, static_cast<std::size_t>(table.Length()), out, ReaderOf(source)));
    return out;
}

// The plain model: the content as one string, edited as a file would be.
void ModelWrite(std::string& model, std::size_t at, const std::string& bytes) {
    if (at > model.size()) {
        model.resize(at, '\0');
    }
    model.replace(at, std::min(bytes.size(), model.size() - at), bytes);
}

TEST(PieceTable, RandomEditsMatchAPlainString) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 200; ++round) {
        const std::string source = Source(random() % 300);
        PieceTable table(source.size());
        std::string model = source;
        for (int edit = 0; edit < 30; ++edit) {
            const std::size_t at = random() % (model.size() + 20);
            const std::string bytes(random() % 40, static_cast<char>('A' + edit));
            switch (random() % 4) {
                case 0:
                    table.Write(at, bytes);
                    ModelWrite(model, at, bytes);
                    break;
                case 1:
                    table.Insert(at, bytes);
                    if (at <= model.size()) {
                        model.insert(at, bytes);
                    }
                    break;
                case 2: {
                    const std::size_t count = random() % 50;
                    table.Remove(at, count);
                    if (at < model.size()) {
                        model.erase(at, count);
                    }
                    break;
                }
                default: {
                    const std::size_t length = random() % (model.size() + 30);
                    table.Truncate(length);
                    model.resize(length, '\0');
                }
            }
            ASSERT_EQ(table.Length(), model.size()) << round << "/" << edit;
            ASSERT_EQ(Content(table, source), model) << round << "/" << edit;
        }
        // A read from the middle, and the source rebuilt from the content and
        // the inverse pieces alone.
        std::string middle;
        const std::size_t from = model.size() / 3;
        ASSERT_TRUE(table.Read(from, 17, middle, ReaderOf(source)));
        EXPECT_EQ(middle, model.substr(from, 17));
        const auto inverse = InversePieces(table, source.size(), ReaderOf(source));
        ASSERT_TRUE(inverse);
        EXPECT_EQ(Content(PieceTable(*inverse), model), source) << round;
    }
}

struct LayoutCase {
    const char* Name;
    std::function<void(PieceTable&)> Edit;
    bool KeepsLayout;
};

TEST(PieceTable, KeepsTheSourceLayoutOnlyWhenNothingMoved) {
    const std::vector<LayoutCase> cases = {
        {"untouched", [](PieceTable&) {}, true},
        {"overwritten", [](PieceTable& t) { t.Write(10, "xyz"); }, true},
        {"inserted and removed where it was",
         [](PieceTable& t) {
             t.Insert(10, "xyz");
             t.Remove(13, 3);
         },
         true},
        {"removed and inserted elsewhere",
         [](PieceTable& t) {
             t.Remove(10, 3);
             t.Insert(20, "xyz");
         },
         false},
        {"grown", [](PieceTable& t) { t.Write(99, "xy"); }, false},
        {"cut", [](PieceTable& t) { t.Truncate(50); }, false},
    };
    for (const LayoutCase& c : cases) {
        PieceTable table(100);
        c.Edit(table);
        EXPECT_EQ(table.KeepsSourceLayout(100), c.KeepsLayout) << c.Name;
    }
}

TEST(PieceTable, ChangedRangesLeaveOutBytesWrittenUnchanged) {
    const std::string source = Source(200);
    PieceTable table(source.size());
    // Rewritten whole, but only bytes 40..42 and 45 really differ; 150..199
    // come out as they were.
    std::string rewritten = source.substr(30, 30);
    rewritten[10] = rewritten[11] = rewritten[12] = '#';
    rewritten[15] = '#';
    table.Write(30, rewritten);
    table.Write(150, source.substr(150));
    const auto ranges = ChangedRanges(table, ReaderOf(source));
    ASSERT_TRUE(ranges);
    // Joined across the two equal bytes between them.
    const std::vector<ChangedRange> expected = {
        {40, source.substr(40, 6), "###" + source.substr(43, 2) + "#"}};
    EXPECT_EQ(*ranges, expected);
}

TEST(PieceTable, AFailingSourceReadIsTold) {
    const std::string source = Source(100);
    PieceTable table(source.size());
    table.Remove(10, 5);
    const SourceReader failing = [](std::uint64_t, std::size_t, std::string&) { return false; };
    std::string out;
    EXPECT_FALSE(table.Read(0, 50, out, failing));
    EXPECT_FALSE(InversePieces(table, source.size(), failing));
    table.Write(0, "x");
    EXPECT_FALSE(ChangedRanges(table, failing));
}

}  // namespace
}  // namespace versemark::testing
