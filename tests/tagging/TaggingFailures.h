// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include "matching/RowList.h"
#include "support/PassLog.h"
#include "support/TagTestHelpers.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "tagging/TaggingPass.h"

namespace versemark::testing {

// Three MP3 files: a failing one between two good ones. After the pass the
// failing one must be byte for byte as before and both others tagged.
class TaggingFailures : public ::testing::Test {
  protected:
    TempDir dir_;
    const std::string original_ = TailBuilder()
                                      .audio(2000)
                                      .lyrics3v2({{"IND", "100"}, {"LYR", "old words"}})
                                      .id3v1("T", "A")
                                      .bytes();
    const std::string before_ = dir_.WriteFile("before.mp3", original_);
    const std::string after_ = dir_.WriteFile("after.mp3", original_);
    const std::string lyrics_ = dir_.WriteFile("A - T.txt", "new words, more of them");

    std::string RunWithMiddle(const std::string& middle, const std::string& middleLyrics,
                              const FileOpener& open = OpenFile) {
        RowList rows;
        rows.Add(CheckedRow(before_, lyrics_, "A - T"));
        rows.Add(CheckedRow(middle, middleLyrics, "A - T"));
        rows.Add(CheckedRow(after_, lyrics_, "A - T"));
        const auto log = TagCheckedRowsLog(rows, open);
        EXPECT_TRUE(log);
        return log.value_or("");
    }

    // The pass over the three rows of the folder with its results, the middle
    // row as given.
    TaggingOutcome PassWithMiddle(const ResultRow& middle, const FileOpener& open = OpenFile,
                                  const TagOptions& tag = {}) {
        RowList rows;
        rows.Add(CheckedRow(before_, lyrics_, "A - T"));
        rows.Add(middle);
        rows.Add(CheckedRow(after_, lyrics_, "A - T"));
        TaggingOptions options;
        options.Open = open;
        options.Tag = tag;
        options.Folder = dir_.Path();
        return TagCheckedRows(rows, options).value_or(TaggingOutcome{});
    }

    void ExpectLog(const std::string& log, const std::string& middle) {
        EXPECT_EQ(log, "File tagged..: " + before_ + "\r\nError tagging: " + middle +
                           "\r\nFile tagged..: " + after_ + "\r\n");
        const std::string tagged =
            TailBuilder()
                .audio(2000)
                .lyrics3v2({{"IND", "100"}, {"LYR", Stored("new words, more of them")}})
                .id3v1("T", "A")
                .bytes();
        EXPECT_EQ(ReadFileBytes(before_), tagged);
        EXPECT_EQ(ReadFileBytes(after_), tagged);
    }
};

}  // namespace versemark::testing
