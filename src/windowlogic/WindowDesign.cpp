// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlogic/WindowDesign.h"

#include <array>

#include "windowlogic/Colours.h"
#include "windowlogic/MatchTexts.h"
#include "windowlogic/RowLook.h"
#include "windowlogic/WindowTexts.h"

namespace versemark {
namespace {

using enum ControlName;
using enum ControlKind;

constexpr Control kInfoFrame{fraFrames, 3};
constexpr Control kBrowsePanel{Picture1, 0};
constexpr Control kSelectPanel{Picture1, 1};
constexpr Control kTagPanel{Picture1, 3};
constexpr Control kInfoPanel{picInfo};

// Legend texts: 26 blanks between the two column heads.
constexpr std::string_view kLegendHeads = "mp3                          lyrics";
constexpr std::string_view kSharedTip = "This lyrics file matched more than 1 mp3";

constexpr std::array kDesign = {
    // The song information frame and its panel.
    ControlDesign{.Id = kInfoFrame,
                  .Kind = Frame,
                  .Caption = "Selected song information",
                  .Place = {120, 120, 9255, 1095}},
    ControlDesign{.Id = kInfoPanel,
                  .Kind = Panel,
                  .Container = kInfoFrame,
                  .Place = {120, 240, 9000, 825},
                  .Visible = false},
    ControlDesign{
        .Id = {img, 0}, .Kind = Picture, .Container = kInfoPanel, .Place = {0, 0, 255, 255}},
    ControlDesign{.Id = {Label1, 4},
                  .Kind = Label,
                  .Container = kInfoPanel,
                  .Caption = "Mp3 file:",
                  .Place = {360, 30, 600, 195}},
    ControlDesign{.Id = {lblInfo, 0},
                  .Kind = Label,
                  .Container = kInfoPanel,
                  .Caption = "Mp3 File",
                  .Place = {1080, 30, 600, 195},
                  .AutoSize = true},
    ControlDesign{.Id = {Line1}, .Kind = Rule, .Container = kInfoPanel, .Place = {0, 360, 9000, 0}},
    ControlDesign{
        .Id = {img, 1}, .Kind = Picture, .Container = kInfoPanel, .Place = {0, 480, 255, 255}},
    ControlDesign{.Id = {Label1, 5},
                  .Kind = Label,
                  .Container = kInfoPanel,
                  .Caption = texts::kLyricsCaption,
                  .Place = {360, 510, 600, 195}},
    ControlDesign{.Id = {lblInfo, 1},
                  .Kind = Label,
                  .Container = kInfoPanel,
                  .Caption = "Lyrics file",
                  .Place = {1080, 510, 645, 195},
                  .AutoSize = true},
    // lblInfo_1 shows the single lyrics file until a row says otherwise.
    ControlDesign{.Id = {cboLyrics},
                  .Kind = ComboBox,
                  .Container = kInfoPanel,
                  .Place = {1080, 450, 5775, 315},
                  .Visible = false},
    ControlDesign{.Id = {cmdDisplaySavedLyrics},
                  .Kind = Button,
                  .Container = kInfoPanel,
                  .Caption = texts::kDisplaySavedLyrics,
                  .Place = {6120, 0, 2415, 255}},
    ControlDesign{.Id = {cmdDisplayLyrics},
                  .Kind = Button,
                  .Container = kInfoPanel,
                  .Caption = texts::kDisplayLyrics,
                  .Place = {6960, 480, 1575, 255}},
    ControlDesign{.Id = {img, 2},
                  .Kind = Picture,
                  .Container = kInfoPanel,
                  .Place = {8640, 0, 255, 255},
                  .ToolTip = "An id3v1 tag will be added to this file",
                  .Visible = false},
    ControlDesign{.Id = {img, 4},
                  .Kind = Picture,
                  .Container = kInfoPanel,
                  .Place = {8640, 0, 255, 255},
                  .ToolTip = "This file contains a tag version higher than the supported. It is "
                             "not recommended to tag it.",
                  .Visible = false},
    ControlDesign{.Id = {img, 3},
                  .Kind = Picture,
                  .Container = kInfoPanel,
                  .Place = {8640, 480, 255, 255},
                  .ToolTip = kSharedTip,
                  .Visible = false},

    // Step one.
    // Taller than it was by the room of the formats check box under "search
    // subfolders"; the frames below move down by as much.
    ControlDesign{
        .Id = {fraFrames, 0}, .Kind = Frame, .Caption = "Browse", .Place = {9480, 120, 3015, 2760}},
    ControlDesign{.Id = kBrowsePanel,
                  .Kind = Panel,
                  .Container = Control{fraFrames, 0},
                  .Place = {120, 240, 2775, 2400}},
    ControlDesign{.Id = {Label1, 8},
                  .Kind = Label,
                  .Container = kBrowsePanel,
                  .Caption = "Step one: Select the folder where the mp3 files you want to tag "
                             "are located.",
                  .Place = {0, 0, 2775, 495}},
    ControlDesign{.Id = {Label1, 3},
                  .Kind = Label,
                  .Container = kBrowsePanel,
                  .Caption = "Folder:",
                  .Place = {135, 645, 480, 195}},
    ControlDesign{.Id = {cmdBrowseForFolder},
                  .Kind = Button,
                  .Container = kBrowsePanel,
                  .Caption = texts::kFolderButtonStart,
                  .Place = {720, 480, 2055, 540}},
    // The caption's three leading blanks are the gap after the box.
    ControlDesign{.Id = {chkSubfolders},
                  .Kind = CheckBox,
                  .Container = kBrowsePanel,
                  .Caption = "   search subfolders",
                  .Place = {1080, 1080, 1695, 255},
                  .Checked = true},
    ControlDesign{.Id = {chkAllFormats},
                  .Kind = CheckBox,
                  .Container = kBrowsePanel,
                  .Caption = texts::kAllFormats,
                  .Place = {0, 1365, 2775, 465}},
    ControlDesign{.Id = {Label1, 1},
                  .Kind = Label,
                  .Container = kBrowsePanel,
                  .Caption = kMatchesPending,
                  .Place = {120, 1920, 840, 195},
                  .AutoSize = true},
    ControlDesign{.Id = {Label1, 0},
                  .Kind = Label,
                  .Container = kBrowsePanel,
                  .Caption = kLyricsCountPlaceholder,
                  .Place = {120, 2160, 2640, 195},
                  .Font = DesignFont::LyricsCount},

    // Step two.
    ControlDesign{.Id = {fraFrames, 1},
                  .Kind = Frame,
                  .Caption = "Select songs",
                  .Place = {9480, 2985, 3015, 4680}},
    ControlDesign{.Id = kSelectPanel,
                  .Kind = Panel,
                  .Container = Control{fraFrames, 1},
                  .Place = {120, 240, 2775, 4350}},
    ControlDesign{.Id = {Label1, 9},
                  .Kind = Label,
                  .Container = kSelectPanel,
                  .Caption = "Step two: Check the files that you want to tag. PAY ATTENTION on "
                             "alerts, unfiltered and  colored files.",
                  .Place = {120, 0, 2535, 615}},
    ControlDesign{.Id = {cmdSel, 0},
                  .Kind = Button,
                  .Container = kSelectPanel,
                  .Caption = texts::kSelectAll,
                  .Place = {0, 720, 1335, 495}},
    ControlDesign{.Id = {cmdSel, 2},
                  .Kind = Button,
                  .Container = kSelectPanel,
                  .Caption = texts::kInvertSelection,
                  .Place = {1440, 720, 1335, 495}},
    ControlDesign{.Id = {cmdCheck, 0},
                  .Kind = Button,
                  .Container = kSelectPanel,
                  .Caption = texts::kCheckSelected,
                  .Place = {0, 1320, 1335, 495}},
    ControlDesign{.Id = {cmdCheck, 1},
                  .Kind = Button,
                  .Container = kSelectPanel,
                  .Caption = texts::kUncheckSelected,
                  .Place = {1440, 1320, 1335, 495}},
    ControlDesign{.Id = {Label1, 2},
                  .Kind = Label,
                  .Container = kSelectPanel,
                  .Caption = "Checked: 0",
                  .Place = {120, 1920, 825, 195},
                  .AutoSize = true},
    // The legend: two example rows, each above the two filters it explains.
    ControlDesign{
        .Id = {Line4}, .Kind = Rule, .Container = kSelectPanel, .Place = {0, 2280, 2775, 0}},
    ControlDesign{.Id = {Label3},
                  .Kind = Label,
                  .Container = kSelectPanel,
                  .Caption = "Legend",
                  .Place = {0, 2295, 2760, 195},
                  .TextColour = kSystemButtonShadow},
    ControlDesign{.Id = {Label2},
                  .Kind = Label,
                  .Container = kSelectPanel,
                  .Caption = kLegendHeads,
                  .Place = {480, 2520, 1935, 255},
                  .TextColour = kSystemButtonShadow},
    ControlDesign{
        .Id = {Line2}, .Kind = Rule, .Container = kSelectPanel, .Place = {0, 2520, 2775, 0}},
    ControlDesign{
        .Id = {Line3}, .Kind = Rule, .Container = kSelectPanel, .Place = {1380, 2520, 0, 1770}},
    ControlDesign{.Id = {Label1, 6},
                  .Kind = Label,
                  .Container = kSelectPanel,
                  .Caption = "Example",
                  .Place = {360, 2760, 600, 195},
                  .AutoSize = true,
                  .TextColour = TaggedFileColour},
    ControlDesign{.Id = {img, 6},
                  .Kind = Picture,
                  .Container = kSelectPanel,
                  .Place = {1980, 2760, 255, 255},
                  .ToolTip = "Lyrics file without the filter marker"},
    ControlDesign{.Id = {cmdSel, 5},
                  .Kind = Button,
                  .Container = kSelectPanel,
                  .Caption = texts::kWithLyrics3Tag,
                  .Place = {-7, 3000, 1335, 495}},
    ControlDesign{.Id = {cmdSel, 3},
                  .Kind = Button,
                  .Container = kSelectPanel,
                  .Caption = texts::kUnfiltered,
                  .Place = {1440, 3000, 1335, 495}},
    ControlDesign{.Id = {img, 5},
                  .Kind = Picture,
                  .Container = kSelectPanel,
                  .Place = {540, 3600, 255, 255},
                  .ToolTip = "This mp3 matched more than 1 lyrics file"},
    ControlDesign{.Id = {Label1, 7},
                  .Kind = Label,
                  .Container = kSelectPanel,
                  .Caption = "Example",
                  .Place = {1800, 3600, 600, 195},
                  .AutoSize = true,
                  .TextColour = SharedLyricsColour},
    ControlDesign{.Id = {cmdSel, 6},
                  .Kind = Button,
                  .Container = kSelectPanel,
                  .Caption = texts::kMoreThanOneMatch,
                  .Place = {0, 3840, 1335, 495},
                  .ToolTip = "mp3 files which were matched to more than 1 lyrics"},
    ControlDesign{.Id = {cmdSel, 1},
                  .Kind = Button,
                  .Container = kSelectPanel,
                  .Caption = texts::kMatchedMoreThanOnce,
                  .Place = {1440, 3840, 1335, 495},
                  .ToolTip = "Lyrics files which were matched for more than 1 mp3"},

    // Step three: taller than the other frames' share by the room of the ID3v2
    // check box, taken from the frame above, and by that of the beside-file
    // check box, added to the window's height.
    ControlDesign{.Id = {fraFrames, 2},
                  .Kind = Frame,
                  .Caption = "Insert tags",
                  .Place = {9480, 7770, 3015, 1935}},
    ControlDesign{.Id = kTagPanel,
                  .Kind = Panel,
                  .Container = Control{fraFrames, 2},
                  .Place = {120, 240, 2775, 1575}},
    ControlDesign{.Id = {Label1, 10},
                  .Kind = Label,
                  .Container = kTagPanel,
                  .Caption = "Step three: Tag them!",
                  .Place = {0, 0, 2745, 195}},
    ControlDesign{.Id = {cmdTagThem},
                  .Kind = Button,
                  .Container = kTagPanel,
                  .Caption = texts::kTagCheckedFiles,
                  .Place = {0, 240, 2775, 375},
                  .Font = DesignFont::Bold,
                  .Enabled = false},
    ControlDesign{.Id = {chkAlsoId3v2},
                  .Kind = CheckBox,
                  .Container = kTagPanel,
                  .Caption = texts::kAlsoId3v2,
                  .Place = {0, 645, 2775, 465}},
    ControlDesign{.Id = {chkBesideFile},
                  .Kind = CheckBox,
                  .Container = kTagPanel,
                  .Caption = texts::kBesideFile,
                  .Place = {0, 1110, 2775, 465}},

    // The result list and the viewer in its place.
    ControlDesign{.Id = {list}, .Kind = ListView, .Place = {120, 1320, 9255, 7455}},
    ControlDesign{.Id = {txtViewLyrics},
                  .Kind = TextBox,
                  .Place = {120, 1320, 9255, 7455},
                  .Font = DesignFont::Viewer,
                  .Visible = false},
};

// Step one, the list (or the viewer in its place) with the panel that describes
// its row, step two in reading order, step three.
constexpr std::array kTabOrder = {
    Control{cmdBrowseForFolder}, Control{chkSubfolders},
    Control{chkAllFormats},      Control{list},
    Control{txtViewLyrics},      Control{cboLyrics},
    Control{cmdDisplayLyrics},   Control{cmdDisplaySavedLyrics},
    Control{cmdSel, 0},          Control{cmdSel, 2},
    Control{cmdCheck, 0},        Control{cmdCheck, 1},
    Control{cmdSel, 5},          Control{cmdSel, 3},
    Control{cmdSel, 6},          Control{cmdSel, 1},
    Control{cmdTagThem},         Control{chkAlsoId3v2},
    Control{chkBesideFile},
};

}  // namespace

std::span<const ControlDesign> WindowDesign() {
    return kDesign;
}

std::span<const Control> TabOrder() {
    return kTabOrder;
}

}  // namespace versemark
