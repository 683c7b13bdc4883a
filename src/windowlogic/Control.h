// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window's controls, one name each for what it shows or does. The
// window logic names the controls it acts on this way, and each view keeps its
// own map from these names to its toolkit's controls. The form designer's names
// ("Label1_1", "cmdSel_5") live only in the design table (WindowDesign.h).
namespace versemark {

enum class ControlId {
    // The song information frame and the three step frames, each with its panel.
    InfoFrame,
    BrowseFrame,
    SelectFrame,
    TagFrame,
    InfoPanel,
    BrowsePanel,
    SelectPanel,
    TagPanel,

    // Labels.
    LyricsCountLabel,    // how many lyrics files the index holds
    MatchesLabel,        // the matching pass's progress, then its result
    CheckedLabel,        // "Checked: n", the tagging pass's progress
    FolderLabel,         // "Folder:"
    Mp3FileLabel,        // "Mp3 file:" in the panel
    LyricsLabel,         // "Lyrics:" or "Lyrics(n):" in the panel
    TaggedExampleLabel,  // the legend's example of a tagged file
    SharedExampleLabel,  // the legend's example of a shared lyrics file
    StepOneLabel,
    StepTwoLabel,
    StepThreeLabel,
    LegendHeadsLabel,  // "mp3 ... lyrics" above the legend's columns
    LegendLabel,       // "Legend"
    Mp3FileName,       // the panel's MP3 file name
    LyricsFileName,    // the panel's lyrics file name (one candidate)

    // Pictures of the image list.
    Mp3Picture,
    LyricsPicture,
    Id3v1AlertPicture,             // an ID3v1 tag will be added to the file
    SharedLyricsAlertPicture,      // the lyrics file matched more than one MP3 file
    NewerTagAlertPicture,          // the file has a newer tag version than supported
    SeveralMatchesExamplePicture,  // the legend's MP3 file with several matches
    UnfilteredExamplePicture,      // the legend's lyrics file without the filter marker

    // Rules.
    InfoRule,           // between the panel's MP3 and lyrics lines
    LegendHeadsRule,    // above the legend's column heads
    LegendColumnsRule,  // between the legend's two columns
    LegendRule,         // above the legend

    // Commands.
    FolderButton,
    SubfoldersBox,
    AllFormatsBox,
    SelectAllButton,
    InvertSelectionButton,
    UnfilteredButton,
    WithLyrics3TagButton,
    MoreThanOneMatchButton,
    MatchedMoreThanOnceButton,
    CheckSelectedButton,
    UncheckSelectedButton,
    TagButton,
    AlsoId3v2Box,  // only in a build that can write the ID3v2 lyrics frame
    BesideFileBox,
    DisplayLyricsButton,
    DisplaySavedLyricsButton,
    LyricsChoice,  // the choice among a file's candidate lyrics files

    // The result list and the text box that takes its place.
    ResultList,
    LyricsViewer,
};

// A rectangle in twips, in the coordinates of the control's container.
struct TwipRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    friend constexpr bool operator==(const TwipRect&, const TwipRect&) = default;
};

struct TwipSize {
    int Width = 0;
    int Height = 0;
};

}  // namespace versemark
