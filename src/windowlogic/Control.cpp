// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlogic/Control.h"

#include <array>

namespace versemark {
namespace {

struct NameEntry {
    ControlName Name;
    std::string_view Text;
    bool Array;
};

constexpr std::array kNames = {
    NameEntry{ControlName::fraFrames, "fraFrames", true},
    NameEntry{ControlName::Picture1, "Picture1", true},
    NameEntry{ControlName::picInfo, "picInfo", false},
    NameEntry{ControlName::Label1, "Label1", true},
    NameEntry{ControlName::Label2, "Label2", false},
    NameEntry{ControlName::Label3, "Label3", false},
    NameEntry{ControlName::lblInfo, "lblInfo", true},
    NameEntry{ControlName::img, "img", true},
    NameEntry{ControlName::Line1, "Line1", false},
    NameEntry{ControlName::Line2, "Line2", false},
    NameEntry{ControlName::Line3, "Line3", false},
    NameEntry{ControlName::Line4, "Line4", false},
    NameEntry{ControlName::cmdBrowseForFolder, "cmdBrowseForFolder", false},
    NameEntry{ControlName::chkSubfolders, "chkSubfolders", false},
    NameEntry{ControlName::cmdSel, "cmdSel", true},
    NameEntry{ControlName::cmdCheck, "cmdCheck", true},
    NameEntry{ControlName::cmdTagThem, "cmdTagThem", false},
    NameEntry{ControlName::chkAlsoId3v2, "chkAlsoId3v2", false},
    NameEntry{ControlName::chkAllFormats, "chkAllFormats", false},
    NameEntry{ControlName::chkBesideFile, "chkBesideFile", false},
    NameEntry{ControlName::cmdDisplayLyrics, "cmdDisplayLyrics", false},
    NameEntry{ControlName::cmdDisplaySavedLyrics, "cmdDisplaySavedLyrics", false},
    NameEntry{ControlName::cboLyrics, "cboLyrics", false},
    NameEntry{ControlName::list, "list", false},
    NameEntry{ControlName::txtViewLyrics, "txtViewLyrics", false},
};

constexpr bool InEnumerationOrder() {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (static_cast<std::size_t>(kNames[i].Name) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InEnumerationOrder(), "the names follow the enumeration's order");

const NameEntry& EntryOf(ControlName name) {
    return kNames[static_cast<std::size_t>(name)];
}

}  // namespace

std::string_view NameOf(ControlName name) {
    return EntryOf(name).Text;
}

bool IsControlArray(ControlName name) {
    return EntryOf(name).Array;
}

std::string ElementName(Control control) {
    std::string name(NameOf(control.Name));
    if (IsControlArray(control.Name)) {
        name += '_';
        name += std::to_string(control.Element);
    }
    return name;
}

}  // namespace versemark
