// SPDX-License-Identifier: GPL-3.0-or-later
// The window at load, the folder command over the road library (the dialog, the
// command line's folder, the start-up in run mode 2, the pass with its labels and
// step colours, the stop request, closing the window, a dropped folder) and the
// layout's rules.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "FakeView.h"
#include "startup/CacheLocation.h"
#include "support/NativePath.h"
#include "support/RoadLibrary.h"
#include "tagging/Journal.h"
#include "tags/Id3v2Lyrics.h"
#include "windowlogic/Colours.h"
#include "windowlogic/FirstPassReader.h"
#include "windowlogic/MatchTexts.h"
#include "windowlogic/PassPace.h"
#include "windowlogic/RowLook.h"
#include "windowlogic/WindowStartup.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

struct RoadWindow : LogicWindow {
    RoadWindow() { road.IndexInto(Values); }
    RoadLibrary road;
};

TEST(WindowLoad, ShowsTheDesignWithItsPicturesAndStepOneCurrent) {
    struct Case {
        ControlId Id;
        int Picture;
    };
    const Case pictures[] = {
        {ControlId::Mp3Picture, kPictureOneMatch},
        {ControlId::Id3v1AlertPicture, kPictureAlert},
        {ControlId::SharedLyricsAlertPicture, kPictureAlert},
        {ControlId::NewerTagAlertPicture, kPictureNewerTag},
        {ControlId::SeveralMatchesExamplePicture, kPictureAlert},
        {ControlId::UnfilteredExamplePicture, kPictureUnfiltered},
    };
    LogicWindow window;
    for (const Case& test : pictures) {
        EXPECT_EQ(window[test.Id].Picture, test.Picture) << DesignName(test.Id);
    }
    for (const ControlId step :
         {ControlId::StepOneLabel, ControlId::StepTwoLabel, ControlId::StepThreeLabel}) {
        EXPECT_EQ(window[step].TextColour,
                  step == ControlId::StepOneLabel ? kCurrentStepColour : kOtherStepColour);
    }
    EXPECT_FALSE(window[ControlId::TagButton].Enabled);
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 0");
}

TEST(WindowLoad, TheId3v2ChoiceIsRememberedWhereTheBuildCanWriteIt) {
    LogicWindow first;
    EXPECT_FALSE(first[ControlId::AlsoId3v2Box].Checked);
    first.Press(ControlId::AlsoId3v2Box);
    EXPECT_TRUE(first.Settings.Value);

    LogicWindow second;
    second.Settings.Value = true;
    second.Logic.Load();
    EXPECT_EQ(second[ControlId::AlsoId3v2Box].Checked, Id3v2LyricsAvailable());
    EXPECT_EQ(second.Settings.Writes, 0);  // loading writes nothing back

    LogicWindow without(false);  // a view without the check box
    without.Settings.Value = true;
    without.Logic.Load();
    EXPECT_FALSE(without.View.Has(ControlId::AlsoId3v2Box));

    // The formats and beside-file choices: off at first, remembered in every build.
    const ControlId allFormats = ControlId::AllFormatsBox;
    const ControlId besideFile = ControlId::BesideFileBox;
    EXPECT_FALSE(first[allFormats].Checked);
    EXPECT_FALSE(first[besideFile].Checked);
    first.Press(allFormats);
    first.Press(besideFile);
    EXPECT_TRUE(first.Settings.AllFormatsValue);
    EXPECT_TRUE(first.Settings.BesideFileValue);
    second.Settings.AllFormatsValue = true;
    second.Settings.BesideFileValue = true;
    second.Logic.Load();
    EXPECT_TRUE(second[allFormats].Checked);
    EXPECT_TRUE(second[besideFile].Checked);
    EXPECT_EQ(second.Settings.Writes, 0);
}

MatchResult ResultOf(int rows, int processed) {
    MatchResult result;
    result.FilesFound = processed;
    result.Processed = processed;
    result.Rows = rows;
    return result;
}

TEST(MatchTexts, TheSummaryCutsThePercentageToFourCharactersWithoutRounding) {
    EXPECT_EQ(MatchesSummaryText(ResultOf(12, 40)), "Matches: 12 / 40 (30%)");
    EXPECT_EQ(MatchesSummaryText(ResultOf(2, 3)), "Matches: 2 / 3 (66.6%)");
    EXPECT_EQ(MatchesSummaryText(ResultOf(1, 3)), "Matches: 1 / 3 (33.3%)");
    EXPECT_EQ(MatchesSummaryText(ResultOf(3, 3)), "Matches: 3 / 3 (100%)");
    EXPECT_EQ(MatchesSummaryText(ResultOf(0, 5)), "Matches: 0 / 5 (0%)");
    EXPECT_EQ(MatchesSummaryText(ResultOf(1, 8)), "Matches: 1 / 8 (12.5%)");
    EXPECT_EQ(MatchesSummaryText(ResultOf(1, 200000)), "Matches: 1 / 200000 (0.00%)");
    EXPECT_EQ(MatchesSummaryText(ResultOf(40000, 40000)), "Matches: 40000 / 40000 (100%)");
    EXPECT_EQ(MatchesLabelColour(ResultOf(0, 5)), kBlack);
    // A stop after some files: the files processed count, not those found.
    MatchResult stopped = ResultOf(5, 10);
    stopped.FilesFound = 100;
    stopped.Stopped = true;
    EXPECT_EQ(MatchesSummaryText(stopped), "Matches: 5 / 10 (50%)");
    // While the pass runs: the rows of the files done, then the rows parsed.
    EXPECT_EQ(MatchProgressText({MatchPhase::MatchingFiles, 40, 90, 12}), "Matches: 12 / 40");
    EXPECT_EQ(MatchProgressText({MatchPhase::ChoosingLyrics, 3, 12, 12}), "Parsing: 3/12");
}

TEST(MatchTexts, NoFilesGiveTheRedMessageInsteadOfDividingByZero) {
    EXPECT_EQ(MatchesSummaryText(ResultOf(0, 0)), "No .mp3 files found");
    EXPECT_EQ(MatchesLabelColour(ResultOf(0, 0)), kRed);
    EXPECT_EQ(LyricsCountCaption(412), "Matching 412 lyrics");
}

TEST(FolderCommandLogic, APassFillsTheSortedListAndMakesStepsTwoAndThreeCurrent) {
    RoadWindow window;
    window.ChooseFolderAndMatch(window.road.Music());

    EXPECT_EQ(window.Prompts.FolderDialogs, 1);
    EXPECT_EQ(window.Prompts.LastInstruction, "Select folder...");
    EXPECT_EQ(window[ControlId::MatchesLabel].Caption, "Matches: 6 / 7 (85.7%)");
    EXPECT_EQ(window.Logic.MatchesCaption(), "Matches: 6 / 7 (85.7%)");
    EXPECT_EQ(window[ControlId::MatchesLabel].TextColour, kBlack);
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 2");
    EXPECT_TRUE(window[ControlId::TagButton].Enabled);
    EXPECT_EQ(window[ControlId::FolderButton].Caption, window.road.Music());
    EXPECT_EQ(window[ControlId::FolderButton].ToolTip, window.road.Music());
    EXPECT_TRUE(window[ControlId::FolderButton].Enabled);
    EXPECT_TRUE(window[ControlId::SubfoldersBox].Enabled);
    EXPECT_TRUE(window[ControlId::ResultList].Visible);
    EXPECT_EQ(window[ControlId::StepOneLabel].TextColour, kOtherStepColour);
    EXPECT_EQ(window[ControlId::StepTwoLabel].TextColour, kCurrentStepColour);
    EXPECT_EQ(window[ControlId::StepThreeLabel].TextColour, kCurrentStepColour);
    // Unchecked rows (empty text) before the checked ones, each group in search order.
    EXPECT_EQ(window.Names(),
              (std::vector<std::string>{kBeta, kEpsilon, kZeta, kGamma, kAlpha, kGammaLive}));
    EXPECT_TRUE(window.Logic.Rows().Sorted());
    EXPECT_TRUE(window.View.Sort.Shown);
    EXPECT_EQ(window.View.Sort.Column, 0);
}

TEST(FolderCommandLogic, ACancelledDialogChangesNothing) {
    RoadWindow window;
    window.ChooseFolderAndMatch(window.road.Music());
    window.Prompts.Folders.push_back("");
    window.Logic.FolderCommand();
    EXPECT_EQ(window.Prompts.FolderDialogs, 2);
    EXPECT_TRUE(window[ControlId::FolderButton].Enabled);
    EXPECT_EQ(window.Logic.Rows().VisibleCount(), 6);
    EXPECT_EQ(window[ControlId::MatchesLabel].Caption, "Matches: 6 / 7 (85.7%)");
    EXPECT_EQ(window[ControlId::FolderButton].Caption, window.road.Music());
}

TEST(FolderCommandLogic, AFolderNamedLikeTheStopCaptionIsStillAFolder) {
    // The button shows the folder: a folder named like its stop caption (here as
    // a path relative to the working folder) is matched, and the next press opens
    // the dialog.
    RoadWindow window;
    const std::string folder = "Stop matching .mp3 files";
    window.road.Library.AddMp3(folder + "/" + kAlpha, PlainMp3());
    const std::filesystem::path working = std::filesystem::current_path();
    std::filesystem::current_path(window.road.Music());
    window.ChooseFolderAndMatch(folder);
    window.Prompts.Folders.push_back("");
    window.Logic.FolderCommand();
    std::filesystem::current_path(working);
    EXPECT_EQ(window.Prompts.FolderDialogs, 2);
    EXPECT_EQ(window[ControlId::MatchesLabel].Caption, "Matches: 1 / 1 (100%)");
    EXPECT_EQ(window[ControlId::FolderButton].Caption, folder);
}

TEST(FolderCommandLogic, TheCommandLineFolderReplacesTheDialog) {
    RoadWindow window;
    window.Values.Config.Folder = window.road.Music();
    window.Logic.FolderCommand();
    window.Logic.FolderCommand();
    EXPECT_EQ(window.Logic.Rows().VisibleCount(), 6);
    EXPECT_EQ(window.Prompts.FolderDialogs, 0);
}

TEST(FolderCommandLogic, AReaderStartedBeforeTheWindowServesOnlyTheFirstPassOverItsFolder) {
    // A file added after the early reader listed the folder is missing from the
    // pass that uses that reader, and found by any pass that lists anew.
    struct Case {
        bool Subfolders;  // the reader's choice; the check box stays checked
        const char* FirstLabel;
    };
    for (const Case& test :
         {Case{true, "Matches: 6 / 7 (85.7%)"}, Case{false, "Matches: 6 / 8 (75%)"}}) {
        RoadWindow window;
        window.Values.Config.Mode = RunMode::ScanFolder;
        window.Values.Config.Folder = window.road.Music();
        window.Values.Config.Subfolders = test.Subfolders;
        FirstPassReader first = StartFirstPassReader(window.Values.Config);
        ASSERT_NE(first.Reader, nullptr);
        EXPECT_EQ(first.Reader->FileCount(), test.Subfolders ? 7U : 6U);
        window.road.Library.Dir().WriteFile("music/Omega - Added Later.mp3", "added");
        window.Logic.SetFirstPassReader(std::move(first));

        window.Logic.FolderCommand();
        EXPECT_EQ(window[ControlId::MatchesLabel].Caption, test.FirstLabel) << test.Subfolders;
        window.Logic.FolderCommand();
        EXPECT_EQ(window[ControlId::MatchesLabel].Caption, "Matches: 6 / 8 (75%)")
            << test.Subfolders;
    }
    RunConfig withoutFolder;
    withoutFolder.Mode = RunMode::ScanFolder;
    EXPECT_EQ(StartFirstPassReader(withoutFolder).Reader, nullptr);
}

TEST(FolderCommandLogic, TheStartUpShowsTheWindowThenWhatWasRecoveredThenScansTheGivenFolder) {
    // A killed run's journal with a pending record of a file gone since.
    RoadLibrary road;
    const std::string journals = road.Library.Dir().MakeFolder("state");
    const std::string gone = road.Library.Dir().WriteFile("gone.mp3", "0123456789");
    {
        std::string reason;
        const auto journal = PassJournal::Create(journals, PassHeader{1, road.Music(), ""}, reason);
        ASSERT_NE(journal, nullptr) << reason;
        const auto opened = OpenFile(gone, FileAccess::Read);
        ASSERT_NE(opened, nullptr);
        ASSERT_TRUE(
            journal->Begin(gone, opened->Stamp(), TailChange{4, 10, "456789", "new"}, reason))
            << reason;
    }
    std::filesystem::remove(gone);

    // Run mode 2 without subfolders; the index is read by the start-up itself.
    LogicWindow window;
    window.Values.Cache.CachePath = road.Library.CachePath();
    window.Values.Config.Mode = RunMode::ScanFolder;
    window.Values.Config.Folder = road.Music();
    window.Values.Config.Subfolders = false;
    WindowStartup startup(window.Values, journals);
    int shows = 0;
    startup.Finish(window.Logic, window.Prompts, false, [&] {
        ++shows;
        EXPECT_EQ(window.Values.Index.LyricsCount(), 6);
        EXPECT_EQ(window[ControlId::LyricsCountLabel].Caption, "Matching 6 lyrics");
        EXPECT_TRUE(window.Prompts.Messages.empty());
        EXPECT_EQ(window.Logic.Rows().VisibleCount(), 0);
    });

    EXPECT_EQ(shows, 1);
    ASSERT_EQ(window.Prompts.Messages.size(), 1U);
    EXPECT_EQ(window.Prompts.Messages[0].rfind("Could not recover " + gone + ": ", 0), 0U)
        << window.Prompts.Messages[0];
    EXPECT_FALSE(window[ControlId::SubfoldersBox].Checked);
    EXPECT_EQ(window[ControlId::MatchesLabel].Caption, "Matches: 5 / 6 (83.3%)");
    EXPECT_EQ(window.Prompts.FolderDialogs, 0);
}

// A settings line naming a cache folder that does not exist: the label counts no
// lyrics, and once the window is shown one message says which folder, where it
// was named and what to do.
TEST(FolderCommandLogic, TheStartUpSaysOnceThatTheCacheFolderDoesNotExist) {
    LogicWindow window;
    const std::string songleaf = window.StateHome.MakeFolder("sl") + NativePath("/");
    const std::string cache = window.StateHome / "no-cache";
    window.StateHome.WriteFile("sl/settings.txt", "[CachePath] " + cache + "\r\n");
    window.Values.Cache.SongleafPath = songleaf;
    ReadSettings(window.Values.Cache);
    WindowStartup startup(window.Values, window.StateHome.MakeFolder("journals"));
    startup.Finish(window.Logic, window.Prompts, false, [&] {
        EXPECT_EQ(window[ControlId::LyricsCountLabel].Caption, "Matching 0 lyrics");
        EXPECT_TRUE(window.Prompts.Messages.empty());
    });

    EXPECT_EQ(window.Prompts.Messages,
              std::vector<std::string>{
                  "No lyrics cache was found: the folder " + cache +
                  " does not exist, so no lyrics can be matched.\n"
                  "Songleaf's folder is " +
                  songleaf + "; the [CachePath] line of " + songleaf +
                  "settings.txt names the cache folder.\n"
                  "Correct that line, or download lyrics with Songleaf; then start Versemark "
                  "again.\n"});
    EXPECT_EQ(window.Values.Index.LyricsCount(), 0);
}

TEST(FolderCommandLogic, WithoutSubfoldersAndWithoutMp3Files) {
    RoadWindow window;
    window[ControlId::SubfoldersBox].Checked = false;
    window.ChooseFolderAndMatch(window.road.Music());
    EXPECT_EQ(window[ControlId::MatchesLabel].Caption, "Matches: 5 / 6 (83.3%)");
    EXPECT_EQ(window.RowOf(kGamma), -1);

    const std::string empty = window.road.Library.Dir().MakeFolder("empty");
    window.ChooseFolderAndMatch(empty);
    EXPECT_EQ(window[ControlId::MatchesLabel].Caption, "No .mp3 files found");
    EXPECT_EQ(window[ControlId::MatchesLabel].TextColour, kRed);
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 0");
    EXPECT_FALSE(window[ControlId::TagButton].Enabled);
    // The next pass starts black again.
    window.ChooseFolderAndMatch(window.road.Music());
    EXPECT_EQ(window[ControlId::MatchesLabel].TextColour, kBlack);
}

TEST(FolderCommandLogic, TheButtonStopsThePassAndStaysDisabledUntilItEnds) {
    RoadWindow window;
    bool disabledAfterStop = false;
    int callsAfterStop = 0;
    window.OnProcessEvents = [&](int call) {
        // Yield 1 comes before the search, yield 3 after the second file.
        if (call == 2) {
            EXPECT_EQ(window[ControlId::FolderButton].Caption, "Stop matching .mp3 files");
            EXPECT_FALSE(window[ControlId::SubfoldersBox].Enabled);
            EXPECT_FALSE(window[ControlId::ResultList].Visible);
            EXPECT_EQ(window.Logic.Rows().VisibleCount(), 0);
            EXPECT_FALSE(window.Logic.CanTakeDrop());
        }
        if (call == 3) {
            window.Logic.FolderCommand();
            disabledAfterStop = !window[ControlId::FolderButton].Enabled;
            EXPECT_EQ(window[ControlId::FolderButton].Caption,
                      "");                                    // the first pass's empty tooltip
            window.Logic.FolderDropped(window.road.Music());  // no pass inside a pass
            window.Logic.FolderHandedOver(window.road.Music(), false);  // nor asked
        }
        if (call > 3) {
            ++callsAfterStop;
        }
    };
    window.ChooseFolderAndMatch(window.road.Music());

    EXPECT_TRUE(disabledAfterStop);
    EXPECT_EQ(window.Prompts.FolderDialogs, 1);
    EXPECT_TRUE(window.Prompts.Asked.empty());
    EXPECT_EQ(window.Prompts.Messages,
              std::vector<std::string>{"Versemark was started again with a folder, but a pass is "
                                       "running; the folder was not opened:\n" +
                                       window.road.Music()});
    EXPECT_EQ(window[ControlId::MatchesLabel].Caption, "Matches: 2 / 2 (100%)");
    EXPECT_EQ(window.Logic.Rows().VisibleCount(), 2);
    EXPECT_EQ(callsAfterStop, 0);  // phase 2 of two rows does not yield
    EXPECT_TRUE(window[ControlId::FolderButton].Enabled);
    EXPECT_EQ(window[ControlId::FolderButton].Caption, window.road.Music());
    EXPECT_FALSE(window.Logic.State().StopMatching);
    EXPECT_TRUE(window.Logic.CanTakeDrop());
}

// A folder a second start hands over is matched, with its subfolders choice, only
// when the user agrees.
TEST(FolderCommandLogic, AFolderHandedOverIsMatchedWhenTheUserAgrees) {
    RoadWindow window;
    window.Logic.SetSubfolders(false);
    window.Prompts.Answers = {false, true};
    const std::string question =
        "Versemark was started again with a folder. Match the MP3 files in " + window.road.Music() +
        "?";
    window.Logic.FolderHandedOver(window.road.Music(), true);
    EXPECT_EQ(window.Logic.Rows().VisibleCount(), 0);
    EXPECT_FALSE(window[ControlId::SubfoldersBox].Checked);
    window.Logic.FolderHandedOver(window.road.Music(), true);
    EXPECT_EQ(window.Logic.Rows().VisibleCount(), 6);  // the 2 files and the 4 in subfolders
    EXPECT_TRUE(window[ControlId::SubfoldersBox].Checked);
    ASSERT_EQ(window.Prompts.Asked.size(), 2u);
    EXPECT_EQ(window.Prompts.Asked[0].Text, question);
    EXPECT_EQ(window.Prompts.Asked[1].Text, question);
    EXPECT_EQ(window.Prompts.FolderDialogs, 0);
}

// The label is drawn at a steady pace, not for every file: a file that comes
// well after the last drawing is shown, and the summary replaces it at the end.
TEST(FolderCommandLogic, TheLabelFollowsASlowPass) {
    RoadWindow window;
    std::vector<std::string> shown;
    window.OnProcessEvents = [&](int call) {
        // Yield 2 comes after the first file, yield 3 after the second.
        if (call == 2 || call == 3) {
            shown.push_back(window[ControlId::MatchesLabel].Caption);
            std::this_thread::sleep_for(2 * kProgressRedrawInterval);
        }
    };
    window.ChooseFolderAndMatch(window.road.Music());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[0].starts_with("Matches: ") && shown[0].ends_with(" / 1")) << shown[0];
    EXPECT_TRUE(shown[1].starts_with("Matches: ") && shown[1].ends_with(" / 2")) << shown[1];
    EXPECT_EQ(window[ControlId::MatchesLabel].Caption, "Matches: 6 / 7 (85.7%)");
}

TEST(FolderCommandLogic, ClosingEndsTheProgramDuringAPassAndRemovesTheRowsAfter) {
    RoadWindow window;
    int endedAtCall = 0;
    window.OnProcessEvents = [&](int call) {
        if (call == 4) {
            window.Logic.Close();
            endedAtCall = window.EndProgramCalls == 1 ? call : 0;
        }
    };
    window.ChooseFolderAndMatch(window.road.Music());
    EXPECT_EQ(endedAtCall, 4);  // at once, not when the pass ends
    EXPECT_EQ(window.Logic.Rows().VisibleCount(), 6);

    window.OnProcessEvents = nullptr;
    window.Logic.Close();
    EXPECT_EQ(window.EndProgramCalls, 1);
    EXPECT_EQ(window.Logic.Rows().VisibleCount(), 0);
}

TEST(FolderCommandLogic, TheFocusComesBackAfterAPass) {
    RoadWindow window;
    window.View.Focus = ControlId::SubfoldersBox;
    window.ChooseFolderAndMatch(window.road.Music());
    EXPECT_EQ(window.View.Focus, ControlId::SubfoldersBox);
}

TEST(LayoutLogic, TheLeftSideFollowsTheWindowAndTheFramesKeepToTheRight) {
    struct Case {
        TwipSize Client;
        TwipRect List;
        int InfoWidth;   // InfoFrame
        int PanelWidth;  // InfoPanel
        int FramesLeft;  // the three step frames
        int LyricsButtonLeft;
        int ComboWidth;
    };
    const Case cases[] = {
        // The design size.
        {{12585, 8865}, {100, 1295, 9270, 7470}, 9270, 9070, 9470, 7155, 5975},
        // Wider: the left side widens, the frames move.
        {{15585, 8865}, {100, 1295, 12270, 7470}, 12270, 12070, 12470, 10155, 8975},
        // Taller: only the list and the viewer lengthen.
        {{12585, 10865}, {100, 1295, 9270, 9470}, 9270, 9070, 9470, 7155, 5975},
        // Too narrow for the left side: it keeps its size; the frames still move.
        {{3000, 8865}, {120, 1320, 9255, 7455}, 9255, 9055, -115, 7140, 5960},
        // The panel too narrow for the combo box: the box keeps its width.
        {{4995, 8865}, {100, 1295, 1680, 7470}, 1680, 1480, 1880, -435, 5775},
        // Too short for the list: it keeps its size; the width is still followed.
        {{12585, 1000}, {120, 1320, 9255, 7455}, 9270, 9070, 9470, 7155, 5975},
    };
    for (const Case& test : cases) {
        LogicWindow window;
        window.View.Client = test.Client;
        window.Logic.Resize();
        const std::string at =
            std::to_string(test.Client.Width) + " x " + std::to_string(test.Client.Height);
        EXPECT_EQ(window[ControlId::ResultList].Place, test.List) << at;
        EXPECT_EQ(window[ControlId::LyricsViewer].Place, test.List) << at;
        EXPECT_EQ(window[ControlId::InfoFrame].Place.Width, test.InfoWidth) << at;
        EXPECT_EQ(window[ControlId::InfoPanel].Place.Width, test.PanelWidth) << at;
        for (const ControlId frame :
             {ControlId::BrowseFrame, ControlId::SelectFrame, ControlId::TagFrame}) {
            EXPECT_EQ(window[frame].Place.Left, test.FramesLeft) << at;
        }
        EXPECT_EQ(window[ControlId::DisplayLyricsButton].Place.Left, test.LyricsButtonLeft) << at;
        EXPECT_EQ(window[ControlId::LyricsChoice].Place.Width, test.ComboWidth) << at;
        EXPECT_EQ(window[ControlId::InfoRule].Place.Width, test.PanelWidth) << at;
        EXPECT_EQ(window[ControlId::SharedLyricsAlertPicture].Place.Left, test.PanelWidth - 240)
            << at;
    }
}

}  // namespace
