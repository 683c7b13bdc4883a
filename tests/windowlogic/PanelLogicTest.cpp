// SPDX-License-Identifier: GPL-3.0-or-later
// The song information panel: what a row click shows, and the choice among
// several lyrics files, which rewrites the row's lyrics cell.
#include <gtest/gtest.h>

#include "FakeView.h"
#include "support/RoadLibrary.h"
#include "support/SampleRows.h"
#include "windowlogic/Colours.h"
#include "windowlogic/RowLook.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

// A window whose index has four lyrics files and whose list has rows made by hand.
struct PanelWindow : LogicWindow {
    PanelWindow() { AddFourLyricsEntries(Values, library); }

    ResultRow Row(std::string mp3, std::vector<int> candidates, int chosen) {
        return RowWithCandidates(Values, library, std::move(mp3), std::move(candidates), chosen);
    }

    void Fill(std::vector<ResultRow> rows) { FillRows(Logic.Rows(), std::move(rows)); }

    SongLibrary library;
};

TEST(PanelLogic, ARowClickDescribesTheRow) {
    struct Case {
        const char* Name;
        std::vector<int> Candidates;
        bool NewerTag, WithoutId3, Tagged;
        // What the panel shows.
        std::string LyricsLabel;
        Colour LyricsLabelColour;
        std::string LyricsName;  // LyricsFileName, or "" when the combo box shows instead
        bool NewerAlert, Id3Alert, SharedAlert, SavedButton;
    };
    const Case cases[] = {
        {"One.mp3",
         {0},
         false,
         true,
         false,
         "Lyrics:",
         kSystemButtonText,
         "Artist - One",
         false,
         true,
         false,
         false},
        {"Shared.mp3",
         {2},
         false,
         false,
         true,
         "Lyrics:",
         kSystemButtonText,
         "Artist - Three",
         false,
         false,
         true,
         true},
        {"Newer.mp3", {0, 1}, true, true, true, "Lyrics(2):", kRed, "", true, false, false, true},
        {"None.mp3",
         {},
         false,
         false,
         false,
         "Lyrics:",
         kSystemButtonText,
         "",
         false,
         false,
         false,
         false},
    };
    PanelWindow window;
    std::vector<ResultRow> rows;
    for (const Case& test : cases) {
        ResultRow row = window.Row(test.Name, test.Candidates,
                                   test.Candidates.empty() ? 0 : test.Candidates[0]);
        if (test.Candidates.empty()) {
            row.LyricsPosition = -1;
            row.LyricsName.clear();
            row.LyricsPath.clear();
        }
        row.NewerTag = test.NewerTag;
        row.WithoutId3 = test.WithoutId3;
        row.Tagged = test.Tagged;
        rows.push_back(row);
    }
    window.Fill(rows);

    for (const Case& test : cases) {
        window.Click(test.Name);
        const ResultRow& row = window.RowNamed(test.Name);
        const bool choice = test.Candidates.size() > 1;
        EXPECT_TRUE(window[ControlId::InfoPanel].Visible);
        EXPECT_EQ(window[ControlId::Mp3FileName].Caption, test.Name);
        EXPECT_EQ(window[ControlId::Mp3FileName].ToolTip, row.Mp3Path);
        EXPECT_EQ(window[ControlId::LyricsPicture].Picture, LyricsPicture(row)) << test.Name;
        EXPECT_EQ(window[ControlId::LyricsLabel].Caption, test.LyricsLabel) << test.Name;
        EXPECT_EQ(window[ControlId::LyricsLabel].TextColour, test.LyricsLabelColour);
        EXPECT_EQ(window[ControlId::LyricsFileName].Visible, !choice) << test.Name;
        if (!choice) {
            EXPECT_EQ(window[ControlId::LyricsFileName].Caption, test.LyricsName);
        }
        EXPECT_EQ(window[ControlId::LyricsChoice].Visible, choice) << test.Name;
        EXPECT_EQ(window[ControlId::NewerTagAlertPicture].Visible, test.NewerAlert) << test.Name;
        EXPECT_EQ(window[ControlId::Id3v1AlertPicture].Visible, test.Id3Alert) << test.Name;
        EXPECT_EQ(window[ControlId::SharedLyricsAlertPicture].Visible, test.SharedAlert)
            << test.Name;
        EXPECT_EQ(window[ControlId::DisplaySavedLyricsButton].Visible, test.SavedButton)
            << test.Name;
    }
}

TEST(PanelLogic, TheChoiceListsTheCandidatesAndFillingItIsNoChoice) {
    PanelWindow window;
    window.Fill({window.Row("Many.mp3", {0, 2, 3}, 2)});
    window.Click("Many.mp3");
    EXPECT_EQ(window.View.ComboItems,
              (std::vector<std::string>{"Artist - One", "Artist - Three", "Artist - Four"}));
    EXPECT_EQ(window.View.ComboCurrent, 1);
    EXPECT_FALSE(window.Logic.State().FillingLyricsChoice);
    EXPECT_FALSE(LyricsTextColour(window.RowNamed("Many.mp3")).has_value());

    // Each entry stands for its candidate.
    window.Logic.ChooseLyrics(2);
    EXPECT_EQ(window.RowNamed("Many.mp3").LyricsPosition, 3);
    EXPECT_EQ(window.RowNamed("Many.mp3").LyricsName, "Artist - Four");
    EXPECT_EQ(LyricsTextColour(window.RowNamed("Many.mp3")), std::optional<Colour>(kBlack));
    EXPECT_FALSE(window[ControlId::SharedLyricsAlertPicture].Visible);
    window.Logic.ChooseLyrics(1);  // matched twice: shared
    EXPECT_EQ(window.RowNamed("Many.mp3").LyricsPath, window.Values.Index.Entries[2].FilePath);
    EXPECT_EQ(LyricsTextColour(window.RowNamed("Many.mp3")),
              std::optional<Colour>(SharedLyricsColour));
    EXPECT_TRUE(window[ControlId::SharedLyricsAlertPicture].Visible);
    // Out of range or without a current row: nothing happens.
    window.Logic.ChooseLyrics(3);
    window.View.Current = -1;
    window.Logic.ChooseLyrics(0);
    EXPECT_EQ(window.RowNamed("Many.mp3").LyricsPosition, 2);
}

TEST(PanelLogic, TheChoiceLooksForTheMarkerInTheLast51BytesOfTheChosenFile) {
    const std::string filler(100, 'x');
    struct Case {
        const char* What;
        std::string Content;
        int Picture;
    };
    const Case cases[] = {
        {"50 bytes with the marker", std::string(37, 'x') + "] filter used", kPictureUnfiltered},
        {"marker in the last 51 bytes", filler + std::string(38, 'y') + "] filter used",
         kPictureFiltered},
        {"marker just inside the 51 bytes", filler + "] filter used" + std::string(38, 'y'),
         kPictureFiltered},
        {"marker only earlier", filler + "] filter used" + std::string(39, 'y'),
         kPictureUnfiltered},
        {"no-break space at the end", filler + "\xA0\r\n", kPictureFiltered},
        {"no-break space only earlier", "\xA0" + filler, kPictureUnfiltered},
        {"other case", filler + "] Filter used", kPictureUnfiltered},
    };
    for (const Case& test : cases) {
        PanelWindow window;
        window.Values.Index.Entries[1].FilePath =
            window.library.AddLyrics("Chosen - File", test.Content);
        window.Fill({window.Row("Song.mp3", {0, 1}, 0)});
        window.Click("Song.mp3");
        window.Logic.ChooseLyrics(1);
        EXPECT_EQ(LyricsPicture(window.RowNamed("Song.mp3")), test.Picture) << test.What;
        EXPECT_EQ(window[ControlId::LyricsPicture].Picture, test.Picture) << test.What;
    }
}

TEST(PanelLogic, ALyricsFileThatCannotBeReadCountsAsUnfiltered) {
    PanelWindow window;
    window.Values.Index.Entries[1].FilePath = window.library.CachePath() + "/gone.txt";
    window.Fill({window.Row("Song.mp3", {0, 1}, 0)});
    window.Click("Song.mp3");
    window.Logic.ChooseLyrics(1);
    const ResultRow& row = window.RowNamed("Song.mp3");
    EXPECT_EQ(row.LyricsName, "Artist - Two");
    EXPECT_EQ(row.LyricsPath, window.library.CachePath() + "/gone.txt");
    EXPECT_EQ(LyricsPicture(row), kPictureUnfiltered);
}

TEST(PanelLogic, TaggingAfterAChoiceWritesTheChosenLyrics) {
    LogicWindow window;
    RoadLibrary road;
    road.IndexInto(window.Values);
    window.ChooseFolderAndMatch(road.Music());
    window.Click(kGammaLive);
    const auto& items = window.View.ComboItems;
    ASSERT_EQ(items.at(static_cast<std::size_t>(window.View.ComboCurrent)), "Gamma - Night Live");
    const auto night = std::find(items.begin(), items.end(), "Gamma - Night");
    ASSERT_NE(night, items.end());
    window.Logic.ChooseLyrics(static_cast<int>(night - items.begin()));
    EXPECT_EQ(window.RowNamed(kGammaLive).LyricsPath,
              window.Values.Index
                  .Entries[static_cast<std::size_t>(EntryNamed(window.Values, "Gamma - Night"))]
                  .FilePath);

    window.Prompts.Answers = {true};
    window.Logic.TagOrReturn();
    const std::string tagged = ReadFileBytes(road.GammaLiveMp3);
    EXPECT_NE(tagged.find("Night words"), std::string::npos);
    EXPECT_EQ(tagged.find("Live words"), std::string::npos);
}

}  // namespace
