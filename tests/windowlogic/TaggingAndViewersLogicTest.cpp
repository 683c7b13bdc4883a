// SPDX-License-Identifier: GPL-3.0-or-later
// The tagging command with its log, "Return to list" and the refresh, and the two
// lyrics viewers, over the road library.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "FakeView.h"
#include "base/Companion.h"
#include "support/RoadLibrary.h"
#include "tagging/Journal.h"
#include "tagging/PassLock.h"
#include "tagging/Undo.h"
#include "windowlogic/Colours.h"
#include "windowlogic/RowLook.h"
#include "windowlogic/WindowTexts.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

// The controls that act on the list or start a pass: still while a tagging pass
// runs (the first four also while the log or a viewer shows).
constexpr ControlId kStillDuringTagging[] = {
    ControlId::SelectAllButton,
    ControlId::MoreThanOneMatchButton,
    ControlId::CheckSelectedButton,
    ControlId::UncheckSelectedButton,
    ControlId::FolderButton,
    ControlId::SubfoldersBox,
    ControlId::AlsoId3v2Box,
    ControlId::DisplayLyricsButton,
    ControlId::DisplaySavedLyricsButton,
    ControlId::LyricsChoice,
    ControlId::ResultList,
    ControlId::LyricsViewer,
};
constexpr int kListCommandCount = 4;

const std::string kCredit = std::string(companion::kCreditLineStart) +
                            std::string(companion::kWebAddress) +
                            std::string(companion::kCreditLineEnd);

// The text as a viewer shows it: CR LF as one line break.
std::string Shown(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.replace(at, 2, "\n");
    }
    return text;
}

// The road library matched, with extra files for the saved-lyrics viewer.
struct MatchedWindow : LogicWindow {
    MatchedWindow() {
        road.Library.AddLyrics("Kappa - Empty Tag", FilteredLyrics("kappa"));
        road.Library.AddMp3("Kappa - Empty Tag.mp3",
                            PlainMp3().lyrics3v2({{"IND", "100"}, {"INF", "info"}}));
        road.IndexInto(Values);
        ChooseFolderAndMatch(road.Music());
    }
    // The log line of a row's file.
    std::string Logged(std::string_view prefix, std::string_view mp3Name) {
        return std::string(prefix) + RowNamed(mp3Name).Mp3Path + "\r\n";
    }
    void ExpectStepOneCurrent(bool current) {
        EXPECT_EQ(View[ControlId::StepOneLabel].TextColour,
                  current ? kCurrentStepColour : kOtherStepColour);
        EXPECT_EQ(View[ControlId::StepTwoLabel].TextColour,
                  current ? kOtherStepColour : kCurrentStepColour);
    }

    RoadLibrary road;
};

TEST(TaggingLogic, TheQuestionCountsTheCheckedFilesAndNoChangesNothing) {
    MatchedWindow window;
    window.Prompts.Answers = {false};
    window.Press(ControlId::TagButton);
    ASSERT_EQ(window.Prompts.Asked.size(), 1u);
    EXPECT_EQ(window.Prompts.Asked[0].Text, "Are you sure you want to tag 2 files?");
    EXPECT_EQ(window.Prompts.Asked[0].Icon, PromptIcon::Question);
    EXPECT_EQ(ReadFileBytes(window.road.AlphaMp3), window.road.AlphaBytes);
    EXPECT_TRUE(window[ControlId::ResultList].Visible);
    EXPECT_FALSE(window[ControlId::LyricsViewer].Visible);
    EXPECT_EQ(window[ControlId::TagButton].Caption, "Tag checked files");

    window.Logic.RowChecked(window.RowOf(kAlpha), false);
    window.Press(ControlId::TagButton);
    EXPECT_EQ(window.Prompts.Asked.back().Text, "Are you sure you want to tag 1 file?");

    window.Logic.RowChecked(window.RowOf(kGammaLive), false);
    window.Press(ControlId::TagButton);  // nothing checked: no question at all
    EXPECT_EQ(window.Prompts.Asked.size(), 2u);
    EXPECT_FALSE(window[ControlId::LyricsViewer].Visible);
}

TEST(TaggingLogic, YesTagsAndShowsTheLogInPlaceOfTheList) {
    MatchedWindow window;
    window.Click(kAlpha);
    std::filesystem::remove(window.road.GammaLiveMp3);
    window.Prompts.Answers = {true};
    const std::vector<std::string> names = window.Names();
    // The pass yields before each file: the label counts the files done, only
    // the stop is at hand, and what reaches the other handlers changes nothing.
    std::vector<std::string> labels;
    window.ProcessEventsCalls = 0;  // the yields of the tagging pass from here
    window.OnProcessEvents = [&](int call) {
        labels.push_back(window[ControlId::CheckedLabel].Caption);
        if (call != 1) {
            return;
        }
        EXPECT_EQ(window[ControlId::TagButton].Caption, "Stop tagging");
        EXPECT_TRUE(window[ControlId::TagButton].Enabled);
        for (const ControlId control : kStillDuringTagging) {
            EXPECT_FALSE(window[control].Enabled) << DesignName(control);
        }
        window.Logic.SelectRows(RowSelection::All);
        window.Logic.CheckSelectedRows(false);
        window.Logic.RowChecked(window.RowOf(kGammaLive), false);
        window.Logic.CheckKeyPressed();
        window.Logic.SortByColumn(kColumnMp3);
        window.Logic.FolderCommand();
        window.Press(ControlId::DisplayLyricsButton);
        EXPECT_FALSE(window.Logic.CanTakeDrop());
    };
    window.Press(ControlId::TagButton);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0], "Tagging: 0 / 2");
    EXPECT_TRUE(labels[1] == "Tagging: 0 / 2" || labels[1] == "Tagging: 1 / 2") << labels[1];
    EXPECT_EQ(window.Prompts.FolderDialogs, 1);
    EXPECT_EQ(window.Logic.State().Shown, Pane::Log);
    EXPECT_EQ(window.Names(), names);

    EXPECT_NE(ReadFileBytes(window.road.AlphaMp3), window.road.AlphaBytes);
    EXPECT_EQ(window.View.ViewerText, window.Logged("File tagged..: ", kAlpha) +
                                          window.Logged("Error tagging: ", kGammaLive));
    EXPECT_TRUE(window[ControlId::LyricsViewer].Visible);
    EXPECT_FALSE(window[ControlId::ResultList].Visible);
    EXPECT_FALSE(window[ControlId::InfoPanel].Visible);
    EXPECT_EQ(window[ControlId::TagButton].Caption, "Return to list");
    EXPECT_EQ(window.Logic.State().Shown, Pane::Log);
    // The pass changes no row.
    EXPECT_TRUE(window.RowNamed(kAlpha).Checked);
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 2");
    // Escape leaves the log alone: it asks a question first.
    window.Logic.EscapePressed();
    EXPECT_TRUE(window[ControlId::LyricsViewer].Visible);
    // Under the log the selection and check buttons are still and the way back
    // stays open, whatever reaches them.
    for (int i = 0; i < std::ssize(kStillDuringTagging); ++i) {
        const ControlId control = kStillDuringTagging[i];
        EXPECT_EQ(window[control].Enabled, i >= kListCommandCount) << DesignName(control);
    }
    window.Logic.SelectRows(RowSelection::All);
    window.Logic.CheckSelectedRows(false);
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 2");
    EXPECT_TRUE(window[ControlId::TagButton].Enabled);
    window.Prompts.Answers = {false};
    window.Press(ControlId::TagButton);
    EXPECT_TRUE(window[ControlId::ResultList].Visible);
    EXPECT_TRUE(window[ControlId::UncheckSelectedButton].Enabled);
}

// The stop, or closing the window, during the pass: the file being written is
// finished and the rest not tried. The journal keeps the pass for its undo; the
// log shows the file done, or the program ends once that file is whole.
TEST(TaggingLogic, TheStopOrClosingEndsThePassAfterTheFileBeingWritten) {
    for (const bool closing : {false, true}) {
        MatchedWindow window;
        window.Prompts.Answers = {true};
        window.ProcessEventsCalls = 0;  // the yields of the tagging pass from here
        window.OnProcessEvents = [&](int call) {
            if (call != 2) {  // yield 2 comes after the first file
                return;
            }
            if (closing) {
                EXPECT_FALSE(window.Logic.Close());  // the window stays meanwhile
            } else {
                window.Press(ControlId::TagButton);
                EXPECT_FALSE(window[ControlId::TagButton].Enabled);
            }
            EXPECT_EQ(window.EndProgramCalls, 0);
        };
        window.Press(ControlId::TagButton);

        EXPECT_EQ(window.ProcessEventsCalls, 2) << closing;
        EXPECT_NE(ReadFileBytes(window.road.AlphaMp3), window.road.AlphaBytes);
        EXPECT_EQ(ReadFileBytes(window.road.GammaLiveMp3), window.road.GammaLiveBytes);
        const std::vector<PassSummary> passes = ListPasses(DefaultJournalFolder());
        ASSERT_EQ(passes.size(), 1u);
        EXPECT_EQ(passes[0].Files, 1u);
        EXPECT_EQ(window.EndProgramCalls, closing ? 1 : 0);
        if (closing) {
            EXPECT_EQ(window.EndProgramStatus, 0);
            continue;
        }
        EXPECT_EQ(window.View.ViewerText, window.Logged("File tagged..: ", kAlpha));
        EXPECT_EQ(window.Logic.State().Shown, Pane::Log);
        EXPECT_EQ(window[ControlId::TagButton].Caption, "Return to list");
        EXPECT_TRUE(window[ControlId::TagButton].Enabled);
        EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 2");
        EXPECT_TRUE(window[ControlId::FolderButton].Enabled);
        EXPECT_FALSE(window.Logic.State().StopTagging);
    }
}

// The window never waits for another pass: while one holds the lock, the press
// asks nothing, tags nothing and says why, "Tag checked files" is disabled with
// the reason as its tooltip; the next act of the user looks again.
TEST(TaggingLogic, AnotherPassRunningDisablesTaggingWithTheReasonUntilItEnds) {
    MatchedWindow window;
    auto other = std::make_unique<PassLock>(PassLock::Take(DefaultJournalFolder()));
    ASSERT_TRUE(other->Held()) << other->Reason();
    window.Prompts.Answers = {true};
    window.Press(ControlId::TagButton);

    EXPECT_TRUE(window.Prompts.Asked.empty());
    EXPECT_EQ(window.Prompts.Messages, std::vector<std::string>{texts::kOtherPassRunning});
    EXPECT_EQ(ReadFileBytes(window.road.AlphaMp3), window.road.AlphaBytes);
    EXPECT_FALSE(window[ControlId::TagButton].Enabled);
    EXPECT_EQ(window[ControlId::TagButton].ToolTip, texts::kOtherPassRunning);
    EXPECT_TRUE(window[ControlId::ResultList].Visible);
    window.Logic.RowChecked(window.RowOf(kAlpha), false);  // still running
    EXPECT_FALSE(window[ControlId::TagButton].Enabled);

    other.reset();
    window.Logic.RowChecked(window.RowOf(kAlpha), true);
    EXPECT_TRUE(window[ControlId::TagButton].Enabled);
    EXPECT_EQ(window[ControlId::TagButton].ToolTip, "");
    window.Press(ControlId::TagButton);
    EXPECT_EQ(window.Prompts.Asked.size(), 1u);
    EXPECT_NE(ReadFileBytes(window.road.AlphaMp3), window.road.AlphaBytes);
    EXPECT_TRUE(window[ControlId::LyricsViewer].Visible);
}

TEST(TaggingLogic, ReturnToListAnsweredNoShowsTheRowsAsTheyWere) {
    MatchedWindow window;
    window.Prompts.Answers = {true, false};
    window.Press(ControlId::TagButton);
    window.Press(ControlId::TagButton);

    ASSERT_EQ(window.Prompts.Asked.size(), 2u);
    EXPECT_EQ(window.Prompts.Asked[1].Text,
              "Do you want to refresh the list using the same folder?");
    EXPECT_EQ(window.Prompts.Asked[1].Icon, PromptIcon::None);
    EXPECT_FALSE(window[ControlId::LyricsViewer].Visible);
    EXPECT_EQ(window.View.ViewerText, "");
    EXPECT_TRUE(window[ControlId::ResultList].Visible);
    EXPECT_EQ(window.Logic.Rows().VisibleCount(), 7);
    EXPECT_TRUE(window.RowNamed(kGammaLive).Checked);
    EXPECT_EQ(window[ControlId::TagButton].Caption, "Tag checked files");
    EXPECT_TRUE(window[ControlId::TagButton].Enabled);
    window.ExpectStepOneCurrent(true);
}

TEST(TaggingLogic, ReturnToListAnsweredYesMatchesTheSameFolderAgain) {
    MatchedWindow window;
    window.Prompts.Answers = {true, true};
    window.Press(ControlId::TagButton);
    bool tagButtonDisabledDuringPass = false;
    std::string folderCaptionDuringPass;
    window.OnProcessEvents = [&](int) {
        tagButtonDisabledDuringPass = !window[ControlId::TagButton].Enabled;
        folderCaptionDuringPass = window[ControlId::FolderButton].Caption;
    };
    window.Press(ControlId::TagButton);

    EXPECT_TRUE(tagButtonDisabledDuringPass);
    EXPECT_EQ(folderCaptionDuringPass, "Stop matching .mp3 files");
    EXPECT_EQ(window.Prompts.FolderDialogs, 1);
    EXPECT_EQ(window[ControlId::MatchesLabel].Caption, "Matches: 7 / 8 (87.5%)");
    // The two files now carry a tag: no row is checked any more.
    EXPECT_EQ(Mp3TextColour(window.RowNamed(kAlpha)), std::optional<Colour>(TaggedFileColour));
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 0");
    EXPECT_FALSE(window[ControlId::TagButton].Enabled);
    EXPECT_EQ(window[ControlId::TagButton].Caption, "Tag checked files");
    EXPECT_EQ(window[ControlId::FolderButton].Caption, window.road.Music());
    EXPECT_TRUE(window[ControlId::ResultList].Visible);
    EXPECT_FALSE(window[ControlId::LyricsViewer].Visible);
    window.ExpectStepOneCurrent(false);
}

TEST(TaggingLogic, TheFolderCommandOrAnotherLogCloseWhatTheViewerShows) {
    MatchedWindow window;
    window.Prompts.Answers = {true};
    window.Press(ControlId::TagButton);
    window.ChooseFolderAndMatch(window.road.Music());
    EXPECT_FALSE(window[ControlId::LyricsViewer].Visible);
    EXPECT_TRUE(window[ControlId::ResultList].Visible);
    EXPECT_EQ(window[ControlId::TagButton].Caption, "Tag checked files");

    // The log replaces an open lyrics viewer.
    window.Logic.RowChecked(window.RowOf(kBeta), true);
    window.Click(kBeta);
    window.Press(ControlId::DisplayLyricsButton);
    EXPECT_EQ(window[ControlId::DisplayLyricsButton].Caption, "Return to list");
    window.Prompts.Answers = {true};
    window.Press(ControlId::TagButton);
    EXPECT_EQ(window.View.ViewerText.rfind("File tagged..: ", 0), 0u);
    EXPECT_EQ(window[ControlId::DisplayLyricsButton].Caption, "Display lyrics");
    EXPECT_FALSE(window[ControlId::DisplayLyricsButton].Bold);
}

TEST(ViewersLogic, EachButtonTogglesItsViewerAndTheOtherTakesOver) {
    MatchedWindow window;
    window.Click(kEpsilon);
    EXPECT_TRUE(window[ControlId::DisplaySavedLyricsButton].Visible);
    window.View.Focus = ControlId::ResultList;
    window.Press(ControlId::DisplayLyricsButton);
    EXPECT_EQ(window.View.ViewerText, FilteredLyrics("Old words") + "\r\n" + kCredit);
    EXPECT_EQ(window.View.Focus, ControlId::LyricsViewer);  // the viewer takes the list's focus

    window.Press(ControlId::DisplaySavedLyricsButton);
    EXPECT_EQ(window.View.ViewerText, "old words");
    EXPECT_EQ(window[ControlId::DisplaySavedLyricsButton].Caption, "Return to list");
    EXPECT_TRUE(window[ControlId::DisplaySavedLyricsButton].Bold);
    EXPECT_EQ(window[ControlId::DisplayLyricsButton].Caption, "Display lyrics");
    EXPECT_FALSE(window[ControlId::DisplayLyricsButton].Bold);
    EXPECT_FALSE(window[ControlId::ResultList].Visible);

    window.Press(ControlId::DisplayLyricsButton);  // and back the other way, directly
    EXPECT_EQ(Shown(window.View.ViewerText).rfind("Old words\n", 0), 0u);
    EXPECT_EQ(window[ControlId::DisplaySavedLyricsButton].Caption,
              "Display lyrics saved into this file");
    EXPECT_FALSE(window[ControlId::DisplaySavedLyricsButton].Bold);

    // The selection and check buttons do not act on the list the viewer hides.
    EXPECT_FALSE(window[ControlId::SelectAllButton].Enabled);
    EXPECT_FALSE(window[ControlId::UncheckSelectedButton].Enabled);
    window.Logic.SelectRows(RowSelection::All);
    window.Logic.CheckSelectedRows(false);
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 2");

    window.Logic.EscapePressed();
    EXPECT_TRUE(window[ControlId::ResultList].Visible);
    EXPECT_FALSE(window[ControlId::LyricsViewer].Visible);
    EXPECT_EQ(window.View.ViewerText, "");
    EXPECT_EQ(window.View.Focus, ControlId::ResultList);
    EXPECT_EQ(window[ControlId::DisplayLyricsButton].Caption, "Display lyrics");
    EXPECT_TRUE(window[ControlId::SelectAllButton].Enabled);
    EXPECT_TRUE(window[ControlId::UncheckSelectedButton].Enabled);
}

TEST(ViewersLogic, SavedLyricsComeFromTheTaggedRowThePanelShows) {
    const std::string missing =
        "The lyrics3 tag is present, but the lyrics field is missing.\n"
        "You can insert the lyrics in this file safely.";
    MatchedWindow window;
    window.Click("Kappa - Empty Tag.mp3");
    window.Press(ControlId::DisplaySavedLyricsButton);
    EXPECT_EQ(Shown(window.View.ViewerText), missing);
    window.Press(ControlId::DisplaySavedLyricsButton);
    EXPECT_EQ(window[ControlId::DisplaySavedLyricsButton].Caption,
              "Display lyrics saved into this file");

    window.Click(kZeta);  // a newer version is not read, and tagging keeps it
    window.Press(ControlId::DisplaySavedLyricsButton);
    EXPECT_EQ(Shown(window.View.ViewerText),
              "This file contains a Lyrics3 tag of a version higher than the supported; "
              "Versemark cannot read it.\n"
              "Tagging keeps that tag and writes a version 2.00 tag after it, so it is not "
              "recommended to tag this file.");
    window.Press(ControlId::DisplaySavedLyricsButton);

    // The current row moves without a click to an untagged row: nothing opens.
    window.Click(kEpsilon);
    window.View.Current = window.RowOf(kAlpha);
    window.Press(ControlId::DisplaySavedLyricsButton);
    EXPECT_FALSE(window[ControlId::LyricsViewer].Visible);
    EXPECT_EQ(window[ControlId::DisplaySavedLyricsButton].Caption,
              "Display lyrics saved into this file");
}

TEST(ViewersLogic, EnterOpensThePreparedLyricsAndAnUnreadableFileShowsTheCredit) {
    MatchedWindow window;
    std::filesystem::remove(window.road.AlphaLyrics);
    window.View.Current = window.RowOf(kAlpha);
    window.Logic.RowOpened(window.RowOf(kAlpha));
    EXPECT_TRUE(window[ControlId::InfoPanel].Visible);  // the panel describes the row first
    EXPECT_EQ(window.View.ViewerText, "\r\n" + kCredit);
    EXPECT_EQ(window[ControlId::DisplayLyricsButton].Caption, "Return to list");
    window.Logic.RowOpened(window.RowOf(kAlpha));  // stays open
    EXPECT_EQ(window.Logic.State().Shown, Pane::PreparedLyrics);
}

}  // namespace
