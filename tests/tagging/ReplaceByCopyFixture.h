// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Tagging by writing a new file beside the old one and renaming it over it: a
// folder with one MP3 file, and what a failure must leave (the old file as it
// was, no new file).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "tagging/ReplaceByCopy.h"
#include "tagging/TaggingPass.h"

namespace versemark::testing {

class ReplaceByCopyTest : public ::testing::Test {
  protected:
    void SetUp() override { UseFolder(dir_.MakeFolder("music")); }

    // Puts the MP3 file into `folder`.
    void UseFolder(const std::string& folder) {
        folder_ = folder;
        mp3_ = folder + "/song.mp3";
        std::ofstream(mp3_, std::ios::binary) << original_;
    }

    bool Tag(const std::string& path) {
        const TagResult result = TagFileByCopy(path, lyrics_, "Artist - Title");
        reason_ = result.Reason;
        return result.Tagged;
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // The old file is unchanged, no new file is left, and the reason says why.
    void ExpectUnchanged(std::string_view reason) {
        EXPECT_TRUE(ReadFileBytes(mp3_) == original_) << "the old file changed";
        EXPECT_EQ(Names(), std::vector<std::string>{"song.mp3"});
        EXPECT_NE(reason_.find(reason), std::string::npos) << reason_;
    }

    TempDir dir_;
    const std::string original_ = TailBuilder().audio(4000).id3v1("Title", "Artist").bytes();
    const std::string lyrics_ = dir_.WriteFile("Artist - Title.txt", "words");
    std::string folder_;
    std::string mp3_;
    std::string reason_;
};

}  // namespace versemark::testing
