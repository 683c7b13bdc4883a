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

constexpr Control kTagButton{ControlName::cmdTagThem};
constexpr Control kFolderButton{ControlName::cmdBrowseForFolder};
constexpr Control kPrepared{ControlName::cmdDisplayLyrics};
constexpr Control kSaved{ControlName::cmdDisplaySavedLyrics};
constexpr Control kList{ControlName::list};
constexpr Control kViewer{ControlName::txtViewLyrics};
constexpr Control kPanel{ControlName::picInfo};
constexpr Control kMatchesLabel{ControlName::Label1, 1};
constexpr Control kCheckedLabel{ControlName::Label1, 2};
constexpr Control kStepOne{ControlName::Label1, 8};
constexpr Control kStepTwo{ControlName::Label1, 9};
constexpr Control kSelectAll{ControlName::cmdSel, 0};
constexpr Control kUncheckSelected{ControlName::cmdCheck, 1};

// The controls that act on the list or start a pass: still while a tagging pass
// runs (the first four also while the log or a viewer shows).
constexpr Control kStillDuringTagging[] = {
    {ControlName::cmdSel, 0},
    {ControlName::cmdSel, 6},
    {ControlName::cmdCheck, 0},
    {ControlName::cmdCheck, 1},
    {ControlName::cmdBrowseForFolder},
    {ControlName::chkSubfolders},
    {ControlName::chkAlsoId3v2},
    {ControlName::cmdDisplayLyrics},
    {ControlName::cmdDisplaySavedLyrics},
    {ControlName::cboLyrics},
    {ControlName::list},
    {ControlName::txtViewLyrics},
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
        EXPECT_EQ(View[kStepOne].TextColour, current ? kCurrentStepColour : kOtherStepColour);
        EXPECT_EQ(View[kStepTwo].TextColour, current ? kOtherStepColour : kCurrentStepColour);
    }

    RoadLibrary road;
};

TEST(TaggingLogic, TheQuestionCountsTheCheckedFilesAndNoChangesNothing) {
    MatchedWindow window;
    window.Prompts.Answers = {false};
    window.Logic.cmdTagThem_Click();
    ASSERT_EQ(window.Prompts.Asked.size(), 1u);
    EXPECT_EQ(window.Prompts.Asked[0].Text, "Are you sure you want to tag 2 files?");
    EXPECT_EQ(window.Prompts.Asked[0].Icon, PromptIcon::Question);
    EXPECT_EQ(ReadFileBytes(window.road.AlphaMp3), window.road.AlphaBytes);
    EXPECT_TRUE(window[kList].Visible);
    EXPECT_FALSE(window[kViewer].Visible);
    EXPECT_EQ(window[kTagButton].Caption, "Tag checked files");

    window.Logic.list_ItemCheck(window.RowOf(kAlpha), false);
    window.Logic.cmdTagThem_Click();
    EXPECT_EQ(window.Prompts.Asked.back().Text, "Are you sure you want to tag 1 file?");

    window.Logic.list_ItemCheck(window.RowOf(kGammaLive), false);
    window.Logic.cmdTagThem_Click();  // nothing checked: no question at all
    EXPECT_EQ(window.Prompts.Asked.size(), 2u);
    EXPECT_FALSE(window[kViewer].Visible);
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
        labels.push_back(window[kCheckedLabel].Caption);
        if (call != 1) {
            return;
        }
        EXPECT_EQ(window[kTagButton].Caption, "Stop tagging");
        EXPECT_TRUE(window[kTagButton].Enabled);
        for (const Control control : kStillDuringTagging) {
            EXPECT_FALSE(window[control].Enabled) << ElementName(control);
        }
        window.Logic.cmdSel_Click(0);
        window.Logic.cmdCheck_Click(1);
        window.Logic.list_ItemCheck(window.RowOf(kGammaLive), false);
        window.Logic.list_KeySpace();
        window.Logic.list_ColumnClick(2);
        window.Logic.cmdBrowseForFolder_Click();
        window.Logic.cmdDisplayLyrics_Click();
        EXPECT_FALSE(window.Logic.CanTakeDrop());
    };
    window.Logic.cmdTagThem_Click();
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0], "Tagging: 0 / 2");
    EXPECT_TRUE(labels[1] == "Tagging: 0 / 2" || labels[1] == "Tagging: 1 / 2") << labels[1];
    EXPECT_EQ(window.Prompts.FolderDialogs, 1);
    EXPECT_EQ(window.Logic.State().Shown, Pane::Log);
    EXPECT_EQ(window.Names(), names);

    EXPECT_NE(ReadFileBytes(window.road.AlphaMp3), window.road.AlphaBytes);
    EXPECT_EQ(window.View.ViewerText, window.Logged("File tagged..: ", kAlpha) +
                                          window.Logged("Error tagging: ", kGammaLive));
    EXPECT_TRUE(window[kViewer].Visible);
    EXPECT_FALSE(window[kList].Visible);
    EXPECT_FALSE(window[kPanel].Visible);
    EXPECT_EQ(window[kTagButton].Caption, "Return to list");
    EXPECT_EQ(window.Logic.State().Shown, Pane::Log);
    // The pass changes no row.
    EXPECT_TRUE(window.RowNamed(kAlpha).Checked);
    EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: 2");
    // Escape leaves the log alone: it asks a question first.
    window.Logic.txtViewLyrics_KeyEscape();
    EXPECT_TRUE(window[kViewer].Visible);
    // Under the log the selection and check buttons are still and the way back
    // stays open, whatever reaches them.
    for (int i = 0; i < std::ssize(kStillDuringTagging); ++i) {
        const Control control = kStillDuringTagging[i];
        EXPECT_EQ(window[control].Enabled, i >= kListCommandCount) << ElementName(control);
    }
    window.Logic.cmdSel_Click(0);
    window.Logic.cmdCheck_Click(1);
    EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: 2");
    EXPECT_TRUE(window[kTagButton].Enabled);
    window.Prompts.Answers = {false};
    window.Logic.cmdTagThem_Click();
    EXPECT_TRUE(window[kList].Visible);
    EXPECT_TRUE(window[kUncheckSelected].Enabled);
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
                EXPECT_FALSE(window.Logic.Form_Unload());  // the window stays meanwhile
            } else {
                window.Logic.cmdTagThem_Click();
                EXPECT_FALSE(window[kTagButton].Enabled);
            }
            EXPECT_EQ(window.EndProgramCalls, 0);
        };
        window.Logic.cmdTagThem_Click();

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
        EXPECT_EQ(window[kTagButton].Caption, "Return to list");
        EXPECT_TRUE(window[kTagButton].Enabled);
        EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: 2");
        EXPECT_TRUE(window[kFolderButton].Enabled);
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
    window.Logic.cmdTagThem_Click();

    EXPECT_TRUE(window.Prompts.Asked.empty());
    EXPECT_EQ(window.Prompts.Messages, std::vector<std::string>{texts::kOtherPassRunning});
    EXPECT_EQ(ReadFileBytes(window.road.AlphaMp3), window.road.AlphaBytes);
    EXPECT_FALSE(window[kTagButton].Enabled);
    EXPECT_EQ(window[kTagButton].ToolTip, texts::kOtherPassRunning);
    EXPECT_TRUE(window[kList].Visible);
    window.Logic.list_ItemCheck(window.RowOf(kAlpha), false);  // still running
    EXPECT_FALSE(window[kTagButton].Enabled);

    other.reset();
    window.Logic.list_ItemCheck(window.RowOf(kAlpha), true);
    EXPECT_TRUE(window[kTagButton].Enabled);
    EXPECT_EQ(window[kTagButton].ToolTip, "");
    window.Logic.cmdTagThem_Click();
    EXPECT_EQ(window.Prompts.Asked.size(), 1u);
    EXPECT_NE(ReadFileBytes(window.road.AlphaMp3), window.road.AlphaBytes);
    EXPECT_TRUE(window[kViewer].Visible);
}

TEST(TaggingLogic, ReturnToListAnsweredNoShowsTheRowsAsTheyWere) {
    MatchedWindow window;
    window.Prompts.Answers = {true, false};
    window.Logic.cmdTagThem_Click();
    window.Logic.cmdTagThem_Click();

    ASSERT_EQ(window.Prompts.Asked.size(), 2u);
    EXPECT_EQ(window.Prompts.Asked[1].Text,
              "Do you want to refresh the list using the same folder?");
    EXPECT_EQ(window.Prompts.Asked[1].Icon, PromptIcon::None);
    EXPECT_FALSE(window[kViewer].Visible);
    EXPECT_EQ(window.View.ViewerText, "");
    EXPECT_TRUE(window[kList].Visible);
    EXPECT_EQ(window.Logic.Rows().VisibleCount(), 7);
    EXPECT_TRUE(window.RowNamed(kGammaLive).Checked);
    EXPECT_EQ(window[kTagButton].Caption, "Tag checked files");
    EXPECT_TRUE(window[kTagButton].Enabled);
    window.ExpectStepOneCurrent(true);
}

TEST(TaggingLogic, ReturnToListAnsweredYesMatchesTheSameFolderAgain) {
    MatchedWindow window;
    window.Prompts.Answers = {true, true};
    window.Logic.cmdTagThem_Click();
    bool tagButtonDisabledDuringPass = false;
    std::string folderCaptionDuringPass;
    window.OnProcessEvents = [&](int) {
        tagButtonDisabledDuringPass = !window[kTagButton].Enabled;
        folderCaptionDuringPass = window[kFolderButton].Caption;
    };
    window.Logic.cmdTagThem_Click();

    EXPECT_TRUE(tagButtonDisabledDuringPass);
    EXPECT_EQ(folderCaptionDuringPass, "Stop matching .mp3 files");
    EXPECT_EQ(window.Prompts.FolderDialogs, 1);
    EXPECT_EQ(window[kMatchesLabel].Caption, "Matches: 7 / 8 (87.5%)");
    // The two files now carry a tag: no row is checked any more.
    EXPECT_EQ(Mp3TextColour(window.RowNamed(kAlpha)), std::optional<Colour>(TaggedFileColour));
    EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: 0");
    EXPECT_FALSE(window[kTagButton].Enabled);
    EXPECT_EQ(window[kTagButton].Caption, "Tag checked files");
    EXPECT_EQ(window[kFolderButton].Caption, window.road.Music());
    EXPECT_TRUE(window[kList].Visible);
    EXPECT_FALSE(window[kViewer].Visible);
    window.ExpectStepOneCurrent(false);
}

TEST(TaggingLogic, TheFolderCommandOrAnotherLogCloseWhatTheViewerShows) {
    MatchedWindow window;
    window.Prompts.Answers = {true};
    window.Logic.cmdTagThem_Click();
    window.ChooseFolderAndMatch(window.road.Music());
    EXPECT_FALSE(window[kViewer].Visible);
    EXPECT_TRUE(window[kList].Visible);
    EXPECT_EQ(window[kTagButton].Caption, "Tag checked files");

    // The log replaces an open lyrics viewer.
    window.Logic.list_ItemCheck(window.RowOf(kBeta), true);
    window.Click(kBeta);
    window.Logic.cmdDisplayLyrics_Click();
    EXPECT_EQ(window[kPrepared].Caption, "Return to list");
    window.Prompts.Answers = {true};
    window.Logic.cmdTagThem_Click();
    EXPECT_EQ(window.View.ViewerText.rfind("File tagged..: ", 0), 0u);
    EXPECT_EQ(window[kPrepared].Caption, "Display lyrics");
    EXPECT_FALSE(window[kPrepared].Bold);
}

TEST(ViewersLogic, EachButtonTogglesItsViewerAndTheOtherTakesOver) {
    MatchedWindow window;
    window.Click(kEpsilon);
    EXPECT_TRUE(window[kSaved].Visible);
    window.View.Focus = kList;
    window.Logic.cmdDisplayLyrics_Click();
    EXPECT_EQ(window.View.ViewerText, FilteredLyrics("Old words") + "\r\n" + kCredit);
    EXPECT_EQ(window.View.Focus, kViewer);  // the viewer takes the list's focus

    window.Logic.cmdDisplaySavedLyrics_Click();
    EXPECT_EQ(window.View.ViewerText, "old words");
    EXPECT_EQ(window[kSaved].Caption, "Return to list");
    EXPECT_TRUE(window[kSaved].Bold);
    EXPECT_EQ(window[kPrepared].Caption, "Display lyrics");
    EXPECT_FALSE(window[kPrepared].Bold);
    EXPECT_FALSE(window[kList].Visible);

    window.Logic.cmdDisplayLyrics_Click();  // and back the other way, directly
    EXPECT_EQ(Shown(window.View.ViewerText).rfind("Old words\n", 0), 0u);
    EXPECT_EQ(window[kSaved].Caption, "Display lyrics saved into this file");
    EXPECT_FALSE(window[kSaved].Bold);

    // The selection and check buttons do not act on the list the viewer hides.
    EXPECT_FALSE(window[kSelectAll].Enabled);
    EXPECT_FALSE(window[kUncheckSelected].Enabled);
    window.Logic.cmdSel_Click(0);
    window.Logic.cmdCheck_Click(1);
    EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: 2");

    window.Logic.txtViewLyrics_KeyEscape();
    EXPECT_TRUE(window[kList].Visible);
    EXPECT_FALSE(window[kViewer].Visible);
    EXPECT_EQ(window.View.ViewerText, "");
    EXPECT_EQ(window.View.Focus, kList);
    EXPECT_EQ(window[kPrepared].Caption, "Display lyrics");
    EXPECT_TRUE(window[kSelectAll].Enabled);
    EXPECT_TRUE(window[kUncheckSelected].Enabled);
}

TEST(ViewersLogic, SavedLyricsComeFromTheTaggedRowThePanelShows) {
    const std::string missing =
        "The lyrics3 tag is present, but the lyrics field is missing.\n"
        "You can insert the lyrics in this file safely.";
    MatchedWindow window;
    window.Click("Kappa - Empty Tag.mp3");
    window.Logic.cmdDisplaySavedLyrics_Click();
    EXPECT_EQ(Shown(window.View.ViewerText), missing);
    window.Logic.cmdDisplaySavedLyrics_Click();
    EXPECT_EQ(window[kSaved].Caption, "Display lyrics saved into this file");

    window.Click(kZeta);  // a newer version is not read, and tagging keeps it
    window.Logic.cmdDisplaySavedLyrics_Click();
    EXPECT_EQ(Shown(window.View.ViewerText),
              "This file contains a Lyrics3 tag of a version higher than the supported; "
              "Versemark cannot read it.\n"
              "Tagging keeps that tag and writes a version 2.00 tag after it, so it is not "
              "recommended to tag this file.");
    window.Logic.cmdDisplaySavedLyrics_Click();

    // The current row moves without a click to an untagged row: nothing opens.
    window.Click(kEpsilon);
    window.View.Current = window.RowOf(kAlpha);
    window.Logic.cmdDisplaySavedLyrics_Click();
    EXPECT_FALSE(window[kViewer].Visible);
    EXPECT_EQ(window[kSaved].Caption, "Display lyrics saved into this file");
}

TEST(ViewersLogic, EnterOpensThePreparedLyricsAndAnUnreadableFileShowsTheCredit) {
    MatchedWindow window;
    std::filesystem::remove(window.road.AlphaLyrics);
    window.View.Current = window.RowOf(kAlpha);
    window.Logic.list_KeyEnter(window.RowOf(kAlpha));
    EXPECT_TRUE(window[kPanel].Visible);  // the panel describes the row first
    EXPECT_EQ(window.View.ViewerText, "\r\n" + kCredit);
    EXPECT_EQ(window[kPrepared].Caption, "Return to list");
    window.Logic.list_KeyEnter(window.RowOf(kAlpha));  // stays open
    EXPECT_EQ(window.Logic.State().Shown, Pane::PreparedLyrics);
}

}  // namespace
