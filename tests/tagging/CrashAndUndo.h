// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "matching/RowList.h"
#include "support/TagTestHelpers.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "tagging/TaggingPass.h"

namespace versemark::testing {

using Fields = TailBuilder::Fields;

// Files that take every path of the writer: no tag (the file grows), an old
// tag with an empty field, which is dropped (the file is cut), a version 1 tag (converted), a tag
// with other fields (kept).
class CrashAndUndo : public ::testing::Test {
  protected:
    TempDir dir_;
    const std::string journals_ = dir_.MakeFolder("state");
    const std::string lyrics_ = dir_.WriteFile("A - T.txt", std::string(3000, 'w'));
    std::vector<std::string> originals_ = {
        TailBuilder().audio(900).id3v1("T", "A").bytes(),
        TailBuilder()
            .audio(700)
            .lyrics3v2({{"IND", "100"}, {"EAL", ""}, {"LYR", std::string(9000, 'o')}})
            .id3v1("T", "A")
            .bytes(),
        TailBuilder().audio(800).lyrics3v1("old lyrics").id3v1("T", "A").bytes(),
        TailBuilder().audio(600).lyrics3v2({{"INF", "info"}, {"LYR", "short"}}).bytes(),
    };
    std::vector<std::string> paths_;

    void WriteOriginals(const std::string& folder) {
        paths_.clear();
        for (std::size_t i = 0; i < originals_.size(); ++i) {
            paths_.push_back(
                dir_.WriteFile(folder + "/song" + std::to_string(i) + ".mp3", originals_[i]));
        }
    }

    RowList Rows() const {
        RowList rows;
        for (const std::string& path : paths_) {
            rows.Add(CheckedRow(path, lyrics_, "A - T"));
        }
        return rows;
    }

    TaggingOptions Options(const FileOpener& open = OpenFile) const {
        TaggingOptions options;
        options.Open = open;
        options.JournalFolder = journals_;
        options.Folder = dir_.Path();
        return options;
    }

    // The bytes every file has after a pass that nothing interrupted.
    std::vector<std::string> TaggedBytes() {
        WriteOriginals("clean");
        TaggingOptions options = Options();
        options.JournalFolder = std::nullopt;
        const auto outcome = TagCheckedRows(Rows(), options);
        EXPECT_TRUE(outcome && AllTagged(outcome->Results));
        std::vector<std::string> tagged;
        for (const std::string& path : paths_) {
            tagged.push_back(ReadFileBytes(path));
        }
        return tagged;
    }
};

}  // namespace versemark::testing
