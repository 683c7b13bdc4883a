// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlogic/WindowDesign.h"

#include <array>

#include "matching/LyricsIndex.h"
#include "windowlogic/Colours.h"
#include "windowlogic/RowLook.h"
#include "windowlogic/WindowTexts.h"

namespace versemark {
namespace {

using enum ControlId;
using enum ControlKind;

// Legend texts: 26 blanks between the two column heads.
constexpr std::string_view kLegendHeads = "mp3                          lyrics";
constexpr std::string_view kSharedTip = "This lyrics file matched more than 1 mp3";

constexpr std::array kDesign = {
    // The song information frame and its panel.
    ControlDesign{.Id = InfoFrame,
                  .Name = "fraFrames_3",
                  .Kind = Frame,
                  .Caption = "Selected song information",
                  .Place = {120, 120, 9255, 1095}},
    ControlDesign{.Id = InfoPanel,
                  .Name = "picInfo",
                  .Kind = Panel,
                  .Container = InfoFrame,
                  .Place = {120, 240, 9000, 825},
                  .Visible = false},
    ControlDesign{.Id = Mp3Picture,
                  .Name = "img_0",
                  .Kind = Picture,
                  .Container = InfoPanel,
                  .Place = {0, 0, 255, 255}},
    ControlDesign{.Id = Mp3FileLabel,
                  .Name = "Label1_4",
                  .Kind = Label,
                  .Container = InfoPanel,
                  .Caption = "Mp3 file:",
                  .Place = {360, 30, 600, 195}},
    ControlDesign{.Id = Mp3FileName,
                  .Name = "lblInfo_0",
                  .Kind = Label,
                  .Container = InfoPanel,
                  .Caption = "Mp3 File",
                  .Place = {1080, 30, 600, 195},
                  .AutoSize = true},
    ControlDesign{.Id = InfoRule,
                  .Name = "Line1",
                  .Kind = Rule,
                  .Container = InfoPanel,
                  .Place = {0, 360, 9000, 0}},
    ControlDesign{.Id = LyricsPicture,
                  .Name = "img_1",
                  .Kind = Picture,
                  .Container = InfoPanel,
                  .Place = {0, 480, 255, 255}},
    ControlDesign{.Id = LyricsLabel,
                  .Name = "Label1_5",
                  .Kind = Label,
                  .Container = InfoPanel,
                  .Caption = texts::kLyricsCaption,
                  .Place = {360, 510, 600, 195}},
    ControlDesign{.Id = LyricsFileName,
                  .Name = "lblInfo_1",
                  .Kind = Label,
                  .Container = InfoPanel,
                  .Caption = "Lyrics file",
                  .Place = {1080, 510, 645, 195},
                  .AutoSize = true},
    // LyricsFileName shows the single lyrics file until a row says otherwise.
    ControlDesign{.Id = LyricsChoice,
                  .Name = "cboLyrics",
                  .Kind = ComboBox,
                  .Container = InfoPanel,
                  .Place = {1080, 450, 5775, 315},
                  .Visible = false},
    ControlDesign{.Id = DisplaySavedLyricsButton,
                  .Name = "cmdDisplaySavedLyrics",
                  .Kind = Button,
                  .Container = InfoPanel,
                  .Caption = texts::kDisplaySavedLyrics,
                  .Place = {6120, 0, 2415, 255}},
    ControlDesign{.Id = DisplayLyricsButton,
                  .Name = "cmdDisplayLyrics",
                  .Kind = Button,
                  .Container = InfoPanel,
                  .Caption = texts::kDisplayLyrics,
                  .Place = {6960, 480, 1575, 255}},
    ControlDesign{.Id = Id3v1AlertPicture,
                  .Name = "img_2",
                  .Kind = Picture,
                  .Container = InfoPanel,
                  .Place = {8640, 0, 255, 255},
                  .ToolTip = "An id3v1 tag will be added to this file",
                  .Visible = false},
    ControlDesign{.Id = NewerTagAlertPicture,
                  .Name = "img_4",
                  .Kind = Picture,
                  .Container = InfoPanel,
                  .Place = {8640, 0, 255, 255},
                  .ToolTip = "This file contains a tag version higher than the supported. It is "
                             "not recommended to tag it.",
                  .Visible = false},
    ControlDesign{.Id = SharedLyricsAlertPicture,
                  .Name = "img_3",
                  .Kind = Picture,
                  .Container = InfoPanel,
                  .Place = {8640, 480, 255, 255},
                  .ToolTip = kSharedTip,
                  .Visible = false},

    // Step one.
    // Taller than it was by the room of the formats check box under "search
    // subfolders"; the frames below move down by as much.
    ControlDesign{.Id = BrowseFrame,
                  .Name = "fraFrames_0",
                  .Kind = Frame,
                  .Caption = "Browse",
                  .Place = {9480, 120, 3015, 2760}},
    ControlDesign{.Id = BrowsePanel,
                  .Name = "Picture1_0",
                  .Kind = Panel,
                  .Container = BrowseFrame,
                  .Place = {120, 240, 2775, 2400}},
    ControlDesign{.Id = StepOneLabel,
                  .Name = "Label1_8",
                  .Kind = Label,
                  .Container = BrowsePanel,
                  .Caption = "Step one: Select the folder where the mp3 files you want to tag "
                             "are located.",
                  .Place = {0, 0, 2775, 495}},
    ControlDesign{.Id = FolderLabel,
                  .Name = "Label1_3",
                  .Kind = Label,
                  .Container = BrowsePanel,
                  .Caption = "Folder:",
                  .Place = {135, 645, 480, 195}},
    ControlDesign{.Id = FolderButton,
                  .Name = "cmdBrowseForFolder",
                  .Kind = Button,
                  .Container = BrowsePanel,
                  .Caption = texts::kFolderButtonStart,
                  .Place = {720, 480, 2055, 540}},
    // The caption's three leading blanks are the gap after the box.
    ControlDesign{.Id = SubfoldersBox,
                  .Name = "chkSubfolders",
                  .Kind = CheckBox,
                  .Container = BrowsePanel,
                  .Caption = "   search subfolders",
                  .Place = {1080, 1080, 1695, 255},
                  .Checked = true},
    ControlDesign{.Id = AllFormatsBox,
                  .Name = "chkAllFormats",
                  .Kind = CheckBox,
                  .Container = BrowsePanel,
                  .Caption = texts::kAllFormats,
                  .Place = {0, 1365, 2775, 465}},
    ControlDesign{.Id = MatchesLabel,
                  .Name = "Label1_1",
                  .Kind = Label,
                  .Container = BrowsePanel,
                  .Caption = kMatchesPending,
                  .Place = {120, 1920, 840, 195},
                  .AutoSize = true},
    ControlDesign{.Id = LyricsCountLabel,
                  .Name = "Label1_0",
                  .Kind = Label,
                  .Container = BrowsePanel,
                  .Caption = kLyricsCountPlaceholder,
                  .Place = {120, 2160, 2640, 195},
                  .Font = DesignFont::LyricsCount},

    // Step two.
    ControlDesign{.Id = SelectFrame,
                  .Name = "fraFrames_1",
                  .Kind = Frame,
                  .Caption = "Select songs",
                  .Place = {9480, 2985, 3015, 4680}},
    ControlDesign{.Id = SelectPanel,
                  .Name = "Picture1_1",
                  .Kind = Panel,
                  .Container = SelectFrame,
                  .Place = {120, 240, 2775, 4350}},
    ControlDesign{.Id = StepTwoLabel,
                  .Name = "Label1_9",
                  .Kind = Label,
                  .Container = SelectPanel,
                  .Caption = "Step two: Check the files that you want to tag. PAY ATTENTION on "
                             "alerts, unfiltered and  colored files.",
                  .Place = {120, 0, 2535, 615}},
    ControlDesign{.Id = SelectAllButton,
                  .Name = "cmdSel_0",
                  .Kind = Button,
                  .Container = SelectPanel,
                  .Caption = texts::kSelectAll,
                  .Place = {0, 720, 1335, 495}},
    ControlDesign{.Id = InvertSelectionButton,
                  .Name = "cmdSel_2",
                  .Kind = Button,
                  .Container = SelectPanel,
                  .Caption = texts::kInvertSelection,
                  .Place = {1440, 720, 1335, 495}},
    ControlDesign{.Id = CheckSelectedButton,
                  .Name = "cmdCheck_0",
                  .Kind = Button,
                  .Container = SelectPanel,
                  .Caption = texts::kCheckSelected,
                  .Place = {0, 1320, 1335, 495}},
    ControlDesign{.Id = UncheckSelectedButton,
                  .Name = "cmdCheck_1",
                  .Kind = Button,
                  .Container = SelectPanel,
                  .Caption = texts::kUncheckSelected,
                  .Place = {1440, 1320, 1335, 495}},
    ControlDesign{.Id = CheckedLabel,
                  .Name = "Label1_2",
                  .Kind = Label,
                  .Container = SelectPanel,
                  .Caption = "Checked: 0",
                  .Place = {120, 1920, 825, 195},
                  .AutoSize = true},
    // The legend: two example rows, each above the two filters it explains.
    ControlDesign{.Id = LegendRule,
                  .Name = "Line4",
                  .Kind = Rule,
                  .Container = SelectPanel,
                  .Place = {0, 2280, 2775, 0}},
    ControlDesign{.Id = LegendLabel,
                  .Name = "Label3",
                  .Kind = Label,
                  .Container = SelectPanel,
                  .Caption = "Legend",
                  .Place = {0, 2295, 2760, 195},
                  .TextColour = kSystemButtonShadow},
    ControlDesign{.Id = LegendHeadsLabel,
                  .Name = "Label2",
                  .Kind = Label,
                  .Container = SelectPanel,
                  .Caption = kLegendHeads,
                  .Place = {480, 2520, 1935, 255},
                  .TextColour = kSystemButtonShadow},
    ControlDesign{.Id = LegendHeadsRule,
                  .Name = "Line2",
                  .Kind = Rule,
                  .Container = SelectPanel,
                  .Place = {0, 2520, 2775, 0}},
    ControlDesign{.Id = LegendColumnsRule,
                  .Name = "Line3",
                  .Kind = Rule,
                  .Container = SelectPanel,
                  .Place = {1380, 2520, 0, 1770}},
    ControlDesign{.Id = TaggedExampleLabel,
                  .Name = "Label1_6",
                  .Kind = Label,
                  .Container = SelectPanel,
                  .Caption = "Example",
                  .Place = {360, 2760, 600, 195},
                  .AutoSize = true,
                  .TextColour = TaggedFileColour},
    ControlDesign{.Id = UnfilteredExamplePicture,
                  .Name = "img_6",
                  .Kind = Picture,
                  .Container = SelectPanel,
                  .Place = {1980, 2760, 255, 255},
                  .ToolTip = "Lyrics file without the filter marker"},
    ControlDesign{.Id = WithLyrics3TagButton,
                  .Name = "cmdSel_5",
                  .Kind = Button,
                  .Container = SelectPanel,
                  .Caption = texts::kWithLyrics3Tag,
                  .Place = {-7, 3000, 1335, 495}},
    ControlDesign{.Id = UnfilteredButton,
                  .Name = "cmdSel_3",
                  .Kind = Button,
                  .Container = SelectPanel,
                  .Caption = texts::kUnfiltered,
                  .Place = {1440, 3000, 1335, 495}},
    ControlDesign{.Id = SeveralMatchesExamplePicture,
                  .Name = "img_5",
                  .Kind = Picture,
                  .Container = SelectPanel,
                  .Place = {540, 3600, 255, 255},
                  .ToolTip = "This mp3 matched more than 1 lyrics file"},
    ControlDesign{.Id = SharedExampleLabel,
                  .Name = "Label1_7",
                  .Kind = Label,
                  .Container = SelectPanel,
                  .Caption = "Example",
                  .Place = {1800, 3600, 600, 195},
                  .AutoSize = true,
                  .TextColour = SharedLyricsColour},
    ControlDesign{.Id = MoreThanOneMatchButton,
                  .Name = "cmdSel_6",
                  .Kind = Button,
                  .Container = SelectPanel,
                  .Caption = texts::kMoreThanOneMatch,
                  .Place = {0, 3840, 1335, 495},
                  .ToolTip = "mp3 files which were matched to more than 1 lyrics"},
    ControlDesign{.Id = MatchedMoreThanOnceButton,
                  .Name = "cmdSel_1",
                  .Kind = Button,
                  .Container = SelectPanel,
                  .Caption = texts::kMatchedMoreThanOnce,
                  .Place = {1440, 3840, 1335, 495},
                  .ToolTip = "Lyrics files which were matched for more than 1 mp3"},

    // Step three: taller than the other frames' share by the room of the ID3v2
    // check box, taken from the frame above, and by that of the beside-file
    // check box, added to the window's height.
    ControlDesign{.Id = TagFrame,
                  .Name = "fraFrames_2",
                  .Kind = Frame,
                  .Caption = "Insert tags",
                  .Place = {9480, 7770, 3015, 1935}},
    ControlDesign{.Id = TagPanel,
                  .Name = "Picture1_3",
                  .Kind = Panel,
                  .Container = TagFrame,
                  .Place = {120, 240, 2775, 1575}},
    ControlDesign{.Id = StepThreeLabel,
                  .Name = "Label1_10",
                  .Kind = Label,
                  .Container = TagPanel,
                  .Caption = "Step three: Tag them!",
                  .Place = {0, 0, 2745, 195}},
    ControlDesign{.Id = TagButton,
                  .Name = "cmdTagThem",
                  .Kind = Button,
                  .Container = TagPanel,
                  .Caption = texts::kTagCheckedFiles,
                  .Place = {0, 240, 2775, 375},
                  .Font = DesignFont::Bold,
                  .Enabled = false},
    ControlDesign{.Id = AlsoId3v2Box,
                  .Name = "chkAlsoId3v2",
                  .Kind = CheckBox,
                  .Container = TagPanel,
                  .Caption = texts::kAlsoId3v2,
                  .Place = {0, 645, 2775, 465}},
    ControlDesign{.Id = BesideFileBox,
                  .Name = "chkBesideFile",
                  .Kind = CheckBox,
                  .Container = TagPanel,
                  .Caption = texts::kBesideFile,
                  .Place = {0, 1110, 2775, 465}},

    // The result list and the viewer in its place.
    ControlDesign{
        .Id = ResultList, .Name = "list", .Kind = ListView, .Place = {120, 1320, 9255, 7455}},
    ControlDesign{.Id = LyricsViewer,
                  .Name = "txtViewLyrics",
                  .Kind = TextBox,
                  .Place = {120, 1320, 9255, 7455},
                  .Font = DesignFont::Viewer,
                  .Visible = false},
};

// Every control is in the table once: its design name is always found.
constexpr bool EachControlOnce() {
    constexpr std::size_t kControlCount = static_cast<std::size_t>(LyricsViewer) + 1;
    std::array<int, kControlCount> seen{};
    for (const ControlDesign& design : kDesign) {
        ++seen[static_cast<std::size_t>(design.Id)];
    }
    for (const int count : seen) {
        if (count != 1) {
            return false;
        }
    }
    return true;
}
static_assert(EachControlOnce(), "every control has one row in the design table");

// Step one, the list (or the viewer in its place) with the panel that describes
// its row, step two in reading order, step three.
constexpr std::array kTabOrder = {
    FolderButton,
    SubfoldersBox,
    AllFormatsBox,
    ResultList,
    LyricsViewer,
    LyricsChoice,
    DisplayLyricsButton,
    DisplaySavedLyricsButton,
    SelectAllButton,
    InvertSelectionButton,
    CheckSelectedButton,
    UncheckSelectedButton,
    WithLyrics3TagButton,
    UnfilteredButton,
    MoreThanOneMatchButton,
    MatchedMoreThanOnceButton,
    TagButton,
    AlsoId3v2Box,
    BesideFileBox,
};

}  // namespace

std::span<const ControlDesign> WindowDesign() {
    return kDesign;
}

std::string_view DesignName(ControlId control) {
    for (const ControlDesign& design : kDesign) {
        if (design.Id == control) {
            return design.Name;
        }
    }
    return {};
}

std::span<const ControlId> TabOrder() {
    return kTabOrder;
}

}  // namespace versemark
