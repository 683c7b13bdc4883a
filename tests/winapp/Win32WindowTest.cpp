// SPDX-License-Identifier: GPL-3.0-or-later
// The window on the Windows common controls, opened as the companion starts it
// (run mode 2 on the demo library) and checked through the controls themselves:
// the list's item texts, check marks and pictures, captions, colours as the
// window answers the controls' own requests, visible and enabled states. Clicks
// and keys are sent as the system's messages; questions are answered by a script.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "demo/DemoLibrary.h"
#include "platform/CodePage.h"
#include "platform/win32/SystemPath.h"
#include "platform/win32/WideText.h"
#include "support/DesignNames.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"
#include "tags/LyricsText.h"
#include "winapp/WinSession.h"
#include "windowlogic/PassPace.h"
#include "windowlogic/UserPrompts.h"
#include "windowlogic/WindowDesign.h"

using namespace versemark;
using namespace versemark::testing;
using versemark::winapp::WindowSession;

namespace {

constexpr wchar_t kNoBreakSpace[] = L"\u00A0";
// Where the tagging test leaves the two files it tagged, for the comparison with
// the Linux build (scripts/build-windows.sh).
constexpr char kTaggedOutVariable[] = "VERSEMARK_WINDOW_TAGGED_OUT";
// The dpi the Windows build script sets for a second run of the window's tests.
constexpr char kExpectedDpiVariable[] = "VERSEMARK_WINDOW_DPI";
// The design's fonts (8.25 points) at 96 dpi.
constexpr int kDesignFontPixels = 11;
// The row pictures' size at 96 dpi, in pixels.
constexpr int kDesignPicturePixels = 16;

// Answers the window's questions from a script and records every question.
class ScriptedPrompts final : public UserPrompts {
  public:
    std::deque<bool> Answers;
    std::vector<std::string> Asked;

    std::string ChooseFolder(const std::string& instruction) override {
        Asked.push_back(instruction);
        return std::string();
    }
    bool AskYesNo(const std::string& text, PromptIcon) override {
        Asked.push_back(text);
        if (Answers.empty()) {
            return false;
        }
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void ShowMessage(const std::string& text) override { Asked.push_back(text); }
};

std::wstring Text(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::wstring Wide(std::string_view bytes) {
    return win32::Wide(DisplayUtf8(bytes));
}

// A control's place in its container's client area, in pixels.
RECT PlaceInParent(HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// The room `text` takes on one line in `font`.
SIZE TextExtent(HFONT font, const std::wstring& text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size;
}

// The blank rows above and below picture `position` of a list's pictures, as the
// list draws it on the window colour.
std::pair<int, int> BlankRowsOfListPicture(HWND list, int position) {
    HIMAGELIST pictures = ListView_GetImageList(list, LVSIL_SMALL);
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(pictures, &width, &height);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(dc, canvas);
    const COLORREF back = RGB(255, 0, 255);
    HBRUSH brush = CreateSolidBrush(back);
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    ImageList_Draw(pictures, position, dc, 0, 0, ILD_TRANSPARENT);
    int first = height;
    int last = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (GetPixel(dc, x, y) != back) {
                first = std::min(first, y);
                last = y;
                break;
            }
        }
    }
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return {first, height - 1 - last};
}

// How many lines `text` wraps into in `font` within `width` pixels.
int LinesNeeded(HFONT font, const std::wstring& text, int width) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT area{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &area, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteDC(dc);
    return metrics.tmHeight > 0 ? area.bottom / metrics.tmHeight : 0;
}

// The same face, weight and slant at the size it has at 96 dpi.
HFONT FontAt96Dpi(HFONT font) {
    LOGFONTW shape{};
    GetObjectW(font, sizeof(shape), &shape);
    shape.lfHeight = -kDesignFontPixels;
    return CreateFontIndirectW(&shape);
}

// Records every text a control is given (the subclass's data is the record).
LRESULT CALLBACK RecordTexts(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR record) {
    if (message == WM_SETTEXT && lParam != 0) {
        reinterpret_cast<std::vector<std::wstring>*>(record)->push_back(
            reinterpret_cast<const wchar_t*>(lParam));
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

class Win32WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // As versemark.exe: pixels at the screen's own dpi, not a scaled 96.
        SetProcessDPIAware();
        demo_ = WriteDemoLibrary(dir_ / "demo");
        ASSERT_TRUE(demo_.Ok) << demo_.Error;
        // Run mode 2 as the companion starts it: the folder with its subfolders.
        values_.Config.Mode = RunMode::ScanFolder;
        values_.Config.Folder = demo_.MusicFolder;
        values_.Config.Subfolders = true;
        values_.Cache.CachePath = demo_.LyricsFolder;
        values_.Cache.SingleDir = true;
        session_ = std::make_unique<WindowSession>(GetModuleHandleW(nullptr), values_, &prompts_);
        session_->Start(false, SW_SHOWNOACTIVATE);  // returns when the pass has ended
        Pump();
    }

    HWND Handle(ControlId control) { return session_->View().Handle(control); }
    HWND List() { return Handle(ControlId::ResultList); }
    void Pump() { winapp::ProcessPendingMessages(session_->View()); }
    bool Visible(ControlId control) { return IsWindowVisible(Handle(control)) != FALSE; }
    std::wstring Caption(ControlId control) { return Text(Handle(control)); }

    std::wstring ItemText(int row, int column) {
        wchar_t text[MAX_PATH] = {};
        ListView_GetItemText(List(), row, column, text, MAX_PATH);
        return text;
    }
    // The picture number (1 to 5) a cell shows; 0 for none.
    int Picture(int row, int column) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        item.iSubItem = column;
        ListView_GetItem(List(), &item);
        return item.iImage >= 0 ? item.iImage + 1 : 0;
    }
    bool Checked(int row) { return ListView_GetCheckState(List(), row) != FALSE; }
    int RowOf(std::wstring_view mp3Name) {
        for (int row = 0; row < ListView_GetItemCount(List()); ++row) {
            if (ItemText(row, 1) == mp3Name) {
                return row;
            }
        }
        return -1;
    }

    // The text colour a label is drawn in, as the window answers its request.
    COLORREF LabelColour(ControlId label) {
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(GetParent(Handle(label)), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(Handle(label)));
        const COLORREF colour = GetTextColor(dc);
        DeleteDC(dc);
        return colour;
    }
    // The text colour of a list cell, as the window answers the list's custom draw.
    COLORREF CellColour(int row, int column) {
        HDC dc = CreateCompatibleDC(nullptr);
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr.hwndFrom = List();
        draw.nmcd.hdr.code = NM_CUSTOMDRAW;
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
        draw.nmcd.hdc = dc;
        draw.iSubItem = column;
        SendMessageW(session_->View().Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw));
        DeleteDC(dc);
        return draw.clrText;
    }

    void MouseClick(POINT at) {
        const LPARAM where = MAKELPARAM(at.x, at.y);
        PostMessageW(List(), WM_LBUTTONDOWN, MK_LBUTTON, where);
        PostMessageW(List(), WM_LBUTTONUP, 0, where);
        Pump();
    }
    // A click on the row's MP3 file name.
    void ClickRow(int row) {
        RECT cell{};
        ListView_GetSubItemRect(List(), row, 1, LVIR_LABEL, &cell);
        MouseClick({(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
    }
    // A click on the row's check box: the first point of the row that the list
    // itself says is its state picture.
    void ClickCheckBox(int row) {
        RECT bounds{};
        ListView_GetItemRect(List(), row, &bounds, LVIR_BOUNDS);
        for (int x = bounds.left; x < bounds.left + 40; ++x) {
            LVHITTESTINFO hit{};
            hit.pt = {x, (bounds.top + bounds.bottom) / 2};
            if (ListView_HitTest(List(), &hit) == row &&
                (hit.flags & LVHT_ONITEM) == LVHT_ONITEMSTATEICON) {
                MouseClick(hit.pt);
                return;
            }
        }
        ADD_FAILURE() << "no check box found in row " << row;
    }
    void Press(ControlId button) {
        SendMessageW(Handle(button), BM_CLICK, 0, 0);
        Pump();
    }
    // From now on every text the control is given lands in `texts`.
    void RecordTextsOf(ControlId control, std::vector<std::wstring>& texts) {
        SetWindowSubclass(Handle(control), RecordTexts, reinterpret_cast<UINT_PTR>(&texts),
                          reinterpret_cast<DWORD_PTR>(&texts));
    }
    // Leaves only `rows` (MP3 file names) checked: every row unchecked, then a
    // check-box click on each.
    void CheckOnly(const std::vector<std::wstring>& names) {
        Press(ControlId::SelectAllButton);
        Press(ControlId::UncheckSelectedButton);
        for (const std::wstring& name : names) {
            ClickCheckBox(RowOf(name));
        }
    }
    // A key as the user types it: into the focused control, through the window's
    // own message handling.
    void Key(HWND target, WPARAM key) {
        SetFocus(target);
        PostMessageW(target, WM_KEYDOWN, key, 0);
        PostMessageW(target, WM_KEYUP, key, 0);
        Pump();
    }

    TempDir dir_;
    // A state folder of the window's own: its passes' lock is no other test's.
    const ScopedEnv state_{kStateFolderVariable, dir_.MakeFolder("state")};
    DemoLibraryResult demo_;
    ProgramValues values_;
    ScriptedPrompts prompts_;
    std::unique_ptr<WindowSession> session_;
};

TEST_F(Win32WindowTest, AfterThePassTheListAndTheStepsShowTheMatchedFiles) {
    EXPECT_EQ(Caption(ControlId::MatchesLabel), L"Matches: 13 / 14 (92.8%)");
    EXPECT_EQ(Caption(ControlId::CheckedLabel), L"Checked: 6");
    EXPECT_EQ(Caption(ControlId::FolderButton), Wide(demo_.MusicFolder));
    EXPECT_TRUE(IsWindowEnabled(Handle(ControlId::TagButton)));
    EXPECT_FALSE(Visible(ControlId::InfoPanel));
    EXPECT_FALSE(Visible(ControlId::LyricsViewer));
    EXPECT_TRUE(Visible(ControlId::ResultList));
    EXPECT_EQ(Text(session_->View().Handle()), L"Versemark");
    // Steps two and three are current, step one is done.
    EXPECT_EQ(LabelColour(ControlId::StepOneLabel), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(LabelColour(ControlId::StepTwoLabel), RGB(0, 128, 128));
    EXPECT_EQ(LabelColour(ControlId::StepThreeLabel), RGB(0, 128, 128));

    ASSERT_EQ(ListView_GetItemCount(List()), 13);
    int checked = 0;
    for (int row = 0; row < 13; ++row) {
        // The row text is the no-break space exactly on checked rows.
        EXPECT_EQ(ItemText(row, 0), Checked(row) ? kNoBreakSpace : L"") << row;
        checked += Checked(row) ? 1 : 0;
    }
    EXPECT_EQ(checked, 6);
    // Sorted by the row text: unchecked rows first.
    EXPECT_FALSE(Checked(0));
    EXPECT_TRUE(Checked(12));

    struct Expected {
        const wchar_t* Mp3;
        const wchar_t* Lyrics;
        bool Checked;
        int Mp3Picture;
        int LyricsPicture;
    };
    const Expected rows[] = {
        {L"Amber Coast - Harbour Lights.mp3", L"Amber Coast - Harbour Lights", true, 5, 1},
        {L"Cinder Hall - Slow River.mp3", L"Cinder Hall - Slow River", false, 5, 3},
        {L"Fern Gully Band - Open Road.mp3", L"Fern Gully Band - Open Road", false, 4, 1},
        {L"Grey Wolves - Moon Song (Live).mp3", L"Grey Wolves - Moon Song", true, 2, 1},
        {L"Lumen - Don't Stop.mp3", L"Don't Stop - Lumen", true, 5, 1},
        {L"Track 07.mp3", L"Kite Runners - Blue Sky", true, 5, 1},
        {L"ZO\u00CB VANCE - \u00C9LAN.mp3", L"Zo\u00EB Vance - \u00C9lan", true, 5, 1},
    };
    for (const Expected& expected : rows) {
        const int row = RowOf(expected.Mp3);
        ASSERT_GE(row, 0) << expected.Mp3;
        EXPECT_EQ(ItemText(row, 2), expected.Lyrics);
        EXPECT_EQ(Checked(row), expected.Checked) << expected.Mp3;
        EXPECT_EQ(Picture(row, 1), expected.Mp3Picture) << expected.Mp3;
        EXPECT_EQ(Picture(row, 2), expected.LyricsPicture) << expected.Mp3;
    }
    // A file with a Lyrics3 tag, and lyrics matched by two files, in their colours.
    EXPECT_EQ(CellColour(RowOf(L"Delta Nine - Glass House.mp3"), 1), COLORREF{0x828250});
    EXPECT_EQ(CellColour(RowOf(L"Harbor Kids - Summer.mp3"), 2), COLORREF{0x825050});
    EXPECT_EQ(CellColour(RowOf(L"Cinder Hall - Slow River.mp3"), 1), GetSysColor(COLOR_WINDOWTEXT));
}

TEST_F(Win32WindowTest, AWiderWindowMovesTheStepsAndWidensTheListAndThePanel) {
    const auto width = [](HWND control) {
        RECT area{};
        GetWindowRect(control, &area);
        return area.right - area.left;
    };
    const auto left = [](HWND control) {
        RECT area{};
        GetWindowRect(control, &area);
        return area.left;
    };
    HWND window = session_->View().Handle();
    HWND infoBox = session_->View().Controls().FrameBox(Handle(ControlId::InfoFrame));
    const int listWidth = width(List());
    const int boxWidth = width(infoBox);
    const int stepLeft = left(Handle(ControlId::SelectFrame));
    const int buttonLeft = left(Handle(ControlId::DisplayLyricsButton));
    RECT outer{};
    GetWindowRect(window, &outer);
    // 1000 twips wider: 67 pixels at 96 dpi, rounded the same way for every edge.
    const int wider = session_->View().Controls().ToPixels(1000);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + wider, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    EXPECT_NEAR(width(List()) - listWidth, wider, 1);
    EXPECT_NEAR(width(infoBox) - boxWidth, wider, 1);
    EXPECT_NEAR(left(Handle(ControlId::SelectFrame)) - stepLeft, wider, 1);
    EXPECT_NEAR(left(Handle(ControlId::DisplayLyricsButton)) - buttonLeft, wider, 1);
}

// The Windows build script runs this test at 96 and again at 144 dpi.
TEST_F(Win32WindowTest, AtTheScreensDpiTheControlsScaleAndTheirTextsKeepTheirRoom) {
    const winapp::ControlSet& controls = session_->View().Controls();
    const int dpi = controls.Dpi();
    if (const char* expected = std::getenv(kExpectedDpiVariable)) {
        ASSERT_EQ(dpi, std::atoi(expected));  // the screen's setting took effect
    }
    ClickRow(RowOf(L"Grey Wolves - Moon Song (Live).mp3"));  // every picture shown
    for (const ControlDesign& design : WindowDesign()) {
        HWND control = Handle(design.Id);
        if (control == nullptr) {
            continue;  // AlsoId3v2Box in a build that cannot write the frame
        }
        const std::string name(design.Name);
        // Where its twips say, at this dpi: no control sized by the system instead
        // (a drop-down list's closed height is the system's).
        const TwipRect twips = session_->View().Geometry(design.Id);
        const RECT place = PlaceInParent(control);
        EXPECT_NEAR(place.left, controls.ToPixels(twips.Left), 1) << name;
        EXPECT_NEAR(place.top, controls.ToPixels(twips.Top), 1) << name;
        EXPECT_NEAR(place.right, controls.ToPixels(twips.Left + twips.Width), 1) << name;
        if (design.Kind != ControlKind::ComboBox) {
            EXPECT_NEAR(place.bottom, controls.ToPixels(twips.Top + twips.Height), 1) << name;
        } else {
            // The open list shows its entries, up to 12 before it scrolls, not a
            // line of one pixel.
            constexpr int kListEntriesShown = 12;
            SendMessageW(control, CB_SHOWDROPDOWN, TRUE, 0);
            COMBOBOXINFO parts{};
            parts.cbSize = sizeof(parts);
            RECT open{};
            EXPECT_TRUE(GetComboBoxInfo(control, &parts) && GetWindowRect(parts.hwndList, &open))
                << name;
            SendMessageW(control, CB_SHOWDROPDOWN, FALSE, 0);
            const auto count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
            const auto entry = static_cast<int>(SendMessageW(control, CB_GETITEMHEIGHT, 0, 0));
            EXPECT_GT(count, 0) << name;
            EXPECT_GE(open.bottom - open.top, std::min(count, kListEntriesShown) * entry) << name;
        }
        // A caption wraps into no more lines than at 96 dpi, in lines no taller
        // against the dpi, so that what fits there is not cut off here. The text's
        // width is its control's less the room of a button's edges or a check box's
        // box, at 96 dpi in pixels.
        const std::optional<int> edges = design.Kind == ControlKind::Label    ? 0
                                         : design.Kind == ControlKind::Button ? 6
                                         : design.Kind == ControlKind::CheckBox
                                             ? 19
                                             : std::optional<int>();
        if (edges && !design.AutoSize) {
            const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
            HFONT at96 = FontAt96Dpi(font);
            const std::wstring caption = Text(control);
            const int width96 = twips.Width * winapp::kDesignDpi / winapp::kTwipsPerInch;
            const int width = place.right - place.left;
            EXPECT_LE(LinesNeeded(font, caption, width - *edges * dpi / winapp::kDesignDpi),
                      LinesNeeded(at96, caption, width96 - *edges))
                << name << " at " << dpi;
            EXPECT_LE(TextExtent(font, caption).cy * winapp::kDesignDpi,
                      (TextExtent(at96, caption).cy + 1) * dpi)
                << name << " at " << dpi;
            // Every line a label's or a button's caption of the design wraps
            // into fits the control's height, less a button's frame above and
            // below ("Matched more than once" lost its third line). A check box
            // leaves its box less room than the edges above, a folder's path on a
            // button is cut where it must be.
            constexpr int kButtonFrame = 2;  // pixels at 96 dpi
            if (design.Kind != ControlKind::CheckBox &&
                caption == winapp::DisplayWide(design.Caption)) {
                const int frame = design.Kind == ControlKind::Button ? kButtonFrame : 0;
                EXPECT_LE(LinesNeeded(font, caption, width - *edges * dpi / winapp::kDesignDpi) *
                              TextExtent(font, L"M").cy,
                          place.bottom - place.top - 2 * frame * dpi / winapp::kDesignDpi)
                    << name << " at " << dpi;
            }
            // A label wraps between words: no word wider than the label, where it
            // would be cut ("Lyrics(2):" of the row clicked above).
            for (std::size_t start = 0;
                 design.Kind == ControlKind::Label && start < caption.size();) {
                const std::size_t end = std::min(caption.find(L' ', start), caption.size());
                EXPECT_LE(TextExtent(font, caption.substr(start, end - start)).cx, width)
                    << name << " at " << dpi;
                start = end + 1;
            }
            DeleteObject(at96);
        }
        // A picture within its control.
        if (design.Kind == ControlKind::Picture) {
            const auto icon = reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0));
            ICONINFO info{};
            BITMAP bitmap{};
            ASSERT_TRUE(icon != nullptr && GetIconInfo(icon, &info)) << name;
            GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap);
            DeleteObject(info.hbmMask);
            DeleteObject(info.hbmColor);
            EXPECT_LE(bitmap.bmWidth, place.right - place.left) << name << " at " << dpi;
            EXPECT_LE(bitmap.bmHeight, place.bottom - place.top) << name << " at " << dpi;
        }
    }
    // The list's rows and header hold their text and the row pictures.
    int pictureWidth = 0;
    int pictureHeight = 0;
    ImageList_GetIconSize(ListView_GetImageList(List(), LVSIL_SMALL), &pictureWidth,
                          &pictureHeight);
    const RECT imageRoom = PlaceInParent(Handle(ControlId::Mp3Picture));
    EXPECT_LE(pictureHeight, imageRoom.bottom - imageRoom.top);
    const auto listFont = reinterpret_cast<HFONT>(SendMessageW(List(), WM_GETFONT, 0, 0));
    const int lineHeight = TextExtent(listFont, L"Mp3 file").cy;
    RECT row{};
    ListView_GetItemRect(List(), 0, &row, LVIR_BOUNDS);
    EXPECT_GE(row.bottom - row.top, std::max(lineHeight, pictureHeight));
    // The row pictures grow with the dpi (16 pixels at 96, 20 at 120, 24 at 144),
    // and stand in the middle of their rows: the list draws a picture at its
    // row's top, so the pictures are as tall as the rows, centred in them.
    const auto shown =
        reinterpret_cast<HICON>(SendMessageW(Handle(ControlId::Mp3Picture), STM_GETICON, 0, 0));
    ICONINFO shownInfo{};
    BITMAP shownBitmap{};
    ASSERT_TRUE(shown != nullptr && GetIconInfo(shown, &shownInfo));
    GetObjectW(shownInfo.hbmMask, sizeof(shownBitmap), &shownBitmap);
    DeleteObject(shownInfo.hbmMask);
    DeleteObject(shownInfo.hbmColor);
    EXPECT_EQ(shownBitmap.bmWidth, kDesignPicturePixels * dpi / winapp::kDesignDpi);
    EXPECT_LE(row.bottom - row.top - pictureHeight, 1) << "at " << dpi;
    const auto [blankAbove, blankBelow] = BlankRowsOfListPicture(List(), 0);
    EXPECT_NEAR(blankAbove, blankBelow, 1) << "at " << dpi;
    RECT header{};
    GetWindowRect(ListView_GetHeader(List()), &header);
    EXPECT_GE(header.bottom - header.top, lineHeight);
    // The window as first shown lies within its monitor's work area.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    HWND window = session_->View().Handle();
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor));
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_GE(outer.left, monitor.rcWork.left);
    EXPECT_GE(outer.top, monitor.rcWork.top);
    EXPECT_LE(outer.right, monitor.rcWork.right);
    EXPECT_LE(outer.bottom, monitor.rcWork.bottom);
}

// A folder dropped on the window is matched, however long its path: beyond
// MAX_PATH (260) characters too.
TEST_F(Win32WindowTest, AFolderDroppedOnTheWindowIsMatchedWithItsWholeLongPath) {
    constexpr std::size_t kLongPath = 300;
    std::string folder = dir_ / "dropped";
    ASSERT_TRUE(CreateDirectoryW(win32::SystemPath(folder).c_str(), nullptr));
    while (folder.size() <= kLongPath) {
        folder += "\\" + std::string(40, 'f');
        ASSERT_TRUE(CreateDirectoryW(win32::SystemPath(folder).c_str(), nullptr)) << folder;
    }
    // What the shell hands over: the list of dropped paths after its header,
    // each ended by a zero, the list by another.
    const std::wstring path = win32::Wide(folder);
    const std::size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    ASSERT_NE(drop, nullptr);
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::copy(path.begin(), path.end(),
              reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(header) + sizeof(DROPFILES)));
    GlobalUnlock(drop);
    SendMessageW(session_->View().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    Pump();
    EXPECT_EQ(Caption(ControlId::FolderButton), path);
    EXPECT_EQ(ListView_GetItemCount(List()), 0);
}

// A click that waits in the queue is taken at the pass's first look at its
// messages, before the first file: phase one ends after that file.
TEST_F(Win32WindowTest, TheFolderButtonStopsAPassAndTheWindowStaysUsable) {
    HWND folderButton = Handle(ControlId::FolderButton);
    PostMessageW(folderButton, BM_CLICK, 0, 0);
    std::this_thread::sleep_for(2 * kPassEventInterval);  // the pass's first look is due
    Press(ControlId::FolderButton);
    const int rows = ListView_GetItemCount(List());
    ASSERT_LE(rows, 1);
    EXPECT_EQ(Caption(ControlId::MatchesLabel), L"Matches: " + std::to_wstring(rows) + L" / 1 (" +
                                                    (rows == 1 ? L"100" : L"0") + L"%)");
    EXPECT_EQ(Caption(ControlId::FolderButton), Wide(demo_.MusicFolder));
    EXPECT_TRUE(IsWindowEnabled(folderButton));
    EXPECT_TRUE(IsWindowEnabled(Handle(ControlId::SubfoldersBox)));
    EXPECT_TRUE(Visible(ControlId::ResultList));
    EXPECT_EQ(GetFocus(), folderButton);
    // The next press matches the whole folder.
    Press(ControlId::FolderButton);
    EXPECT_EQ(Caption(ControlId::MatchesLabel), L"Matches: 13 / 14 (92.8%)");
    EXPECT_EQ(ListView_GetItemCount(List()), 13);
}

// The window closed during a pass ends the program there and then, with exit
// code 0 (in a child process of the test program).
TEST_F(Win32WindowTest, ClosingTheWindowDuringAPassEndsTheProgramAtOnce) {
    EXPECT_EXIT(
        {
            PostMessageW(session_->View().Handle(), WM_CLOSE, 0, 0);
            std::this_thread::sleep_for(2 * kPassEventInterval);
            Press(ControlId::FolderButton);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Win32WindowTest, AClickOnARowFillsThePanel) {
    const int several = RowOf(L"Grey Wolves - Moon Song (Live).mp3");
    ClickRow(several);
    EXPECT_TRUE(Visible(ControlId::InfoPanel));
    EXPECT_EQ(ListView_GetNextItem(List(), -1, LVNI_FOCUSED), several);
    EXPECT_TRUE(ListView_GetItemState(List(), several, LVIS_SELECTED) != 0);
    EXPECT_EQ(Caption(ControlId::Mp3FileName), L"Grey Wolves - Moon Song (Live).mp3");
    // Several lyrics files: the choice instead of the single name, in red.
    const int candidates =
        static_cast<int>(SendMessageW(Handle(ControlId::LyricsChoice), CB_GETCOUNT, 0, 0));
    EXPECT_GE(candidates, 2);
    EXPECT_EQ(Caption(ControlId::LyricsLabel), L"Lyrics(" + std::to_wstring(candidates) + L"):");
    EXPECT_EQ(LabelColour(ControlId::LyricsLabel), RGB(255, 0, 0));
    EXPECT_TRUE(Visible(ControlId::LyricsChoice));
    EXPECT_FALSE(Visible(ControlId::LyricsFileName));
    EXPECT_EQ(Caption(ControlId::LyricsChoice), ItemText(several, 2));
    EXPECT_EQ(session_->View().PictureNumber(ControlId::LyricsPicture), Picture(several, 2));
    EXPECT_FALSE(Visible(ControlId::DisplaySavedLyricsButton));
    // The check mark is not touched by a click on the name.
    EXPECT_TRUE(Checked(several));

    struct Alerts {
        const wchar_t* Mp3;
        bool SavedLyrics;  // the file carries a Lyrics3 tag
        bool Id3v1Added;   // Id3v1AlertPicture
        bool NewerTag;     // NewerTagAlertPicture
        bool Shared;       // SharedLyricsAlertPicture
    };
    const Alerts cases[] = {
        {L"Delta Nine - Glass House.mp3", true, false, false, false},
        {L"Juniper - Falling Snow.mp3", false, true, false, false},
        {L"Fern Gully Band - Open Road.mp3", true, false, true, false},
        {L"Harbor Kids - Summer.mp3", false, true, false, true},
        {L"Cinder Hall - Slow River.mp3", false, false, false, false},
    };
    for (const Alerts& expected : cases) {
        const int row = RowOf(expected.Mp3);
        ClickRow(row);
        EXPECT_EQ(Caption(ControlId::Mp3FileName), expected.Mp3);
        EXPECT_EQ(Caption(ControlId::LyricsLabel), L"Lyrics:");
        EXPECT_TRUE(Visible(ControlId::LyricsFileName));
        EXPECT_FALSE(Visible(ControlId::LyricsChoice));
        EXPECT_EQ(Caption(ControlId::LyricsFileName), ItemText(row, 2));
        EXPECT_EQ(Visible(ControlId::DisplaySavedLyricsButton), expected.SavedLyrics)
            << expected.Mp3;
        EXPECT_EQ(Visible(ControlId::Id3v1AlertPicture), expected.Id3v1Added) << expected.Mp3;
        EXPECT_EQ(Visible(ControlId::NewerTagAlertPicture), expected.NewerTag) << expected.Mp3;
        EXPECT_EQ(Visible(ControlId::SharedLyricsAlertPicture), expected.Shared) << expected.Mp3;
    }
}

TEST_F(Win32WindowTest, AHeaderClickSortsWithTheArrowAndTheSelectionFollowsItsRow) {
    const auto arrow = [this](int column) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(ListView_GetHeader(List()), column, &item);
        return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    };
    const auto clickHeader = [this](int column) {
        // What the list tells its window when a header is clicked.
        NMLISTVIEW click{};
        click.hdr.hwndFrom = List();
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageW(session_->View().Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
        Pump();
    };
    EXPECT_EQ(arrow(0), HDF_SORTUP);
    const std::wstring name = L"Juniper - Falling Snow.mp3";
    ClickRow(RowOf(name));

    clickHeader(1);  // by MP3 file name, ascending
    EXPECT_EQ(arrow(0), 0);
    EXPECT_EQ(arrow(1), HDF_SORTUP);
    EXPECT_EQ(ItemText(0, 1), L"Amber Coast - Harbour Lights.mp3");
    const int row = RowOf(name);
    EXPECT_EQ(ListView_GetNextItem(List(), -1, LVNI_SELECTED), row);
    EXPECT_EQ(ListView_GetNextItem(List(), row, LVNI_SELECTED), -1);
    EXPECT_EQ(ListView_GetNextItem(List(), -1, LVNI_FOCUSED), row);

    clickHeader(1);  // the same column again: descending
    EXPECT_EQ(arrow(1), HDF_SORTDOWN);
    EXPECT_EQ(ItemText(12, 1), L"Amber Coast - Harbour Lights.mp3");
    EXPECT_EQ(ListView_GetNextItem(List(), -1, LVNI_SELECTED), RowOf(name));
}

TEST_F(Win32WindowTest, ChoosingAnotherLyricsFileChangesTheRow) {
    const int row = RowOf(L"Grey Wolves - Moon Song (Live).mp3");
    ClickRow(row);
    HWND combo = Handle(ControlId::LyricsChoice);
    const int chosen = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    const int other = chosen == 0 ? 1 : 0;
    const std::wstring before = ItemText(row, 2);
    // The user's choice: the entry changes and the box tells its owner.
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(other), 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    Pump();
    EXPECT_NE(ItemText(row, 2), before);
    EXPECT_EQ(ItemText(row, 2), Caption(ControlId::LyricsChoice));
    EXPECT_EQ(session_->View().PictureNumber(ControlId::LyricsPicture), Picture(row, 2));
    EXPECT_TRUE(Checked(row));
    EXPECT_EQ(Caption(ControlId::CheckedLabel), L"Checked: 6");
}

TEST_F(Win32WindowTest, DisplayLyricsShowsThePreparedTextInPlaceOfTheList) {
    const int row = RowOf(L"Amber Coast - Harbour Lights.mp3");
    ClickRow(row);
    Press(ControlId::DisplayLyricsButton);
    EXPECT_TRUE(Visible(ControlId::LyricsViewer));
    EXPECT_FALSE(Visible(ControlId::ResultList));
    EXPECT_EQ(Caption(ControlId::DisplayLyricsButton), L"Return to list");
    std::string expected = ReadFileBytes(demo_.LyricsFolder + "\\Amber Coast - Harbour Lights.txt");
    ASSERT_FALSE(expected.empty());
    PrepareStoredLyrics(expected);
    EXPECT_EQ(Caption(ControlId::LyricsViewer), Wide(expected));

    // Escape in the viewer goes back to the list.
    Key(Handle(ControlId::LyricsViewer), VK_ESCAPE);
    EXPECT_TRUE(Visible(ControlId::ResultList));
    EXPECT_FALSE(Visible(ControlId::LyricsViewer));
    EXPECT_EQ(Caption(ControlId::LyricsViewer), L"");
    EXPECT_EQ(Caption(ControlId::DisplayLyricsButton), L"Display lyrics");

    // Enter on the list's current row opens its lyrics the same way.
    Key(List(), VK_RETURN);
    EXPECT_TRUE(Visible(ControlId::LyricsViewer));
    EXPECT_EQ(Caption(ControlId::LyricsViewer), Wide(expected));

    // Escape closes the viewer wherever the focus is.
    for (const ControlId focus : {ControlId::DisplayLyricsButton, ControlId::SubfoldersBox}) {
        if (!Visible(ControlId::LyricsViewer)) {
            Press(ControlId::DisplayLyricsButton);
        }
        Key(Handle(focus), VK_ESCAPE);
        EXPECT_FALSE(Visible(ControlId::LyricsViewer)) << DesignName(focus);
        EXPECT_TRUE(Visible(ControlId::ResultList)) << DesignName(focus);
    }
}

TEST_F(Win32WindowTest, KeyboardTabOrderAndSpace) {
    HWND window = session_->View().Handle();
    // Step one, the list (the viewer and the panel are hidden), step two, step three.
    const ControlId order[] = {ControlId::FolderButton,
                               ControlId::SubfoldersBox,
                               ControlId::AllFormatsBox,
                               ControlId::ResultList,
                               ControlId::SelectAllButton,
                               ControlId::InvertSelectionButton,
                               ControlId::CheckSelectedButton,
                               ControlId::UncheckSelectedButton,
                               ControlId::WithLyrics3TagButton,
                               ControlId::UnfilteredButton,
                               ControlId::MoreThanOneMatchButton,
                               ControlId::MatchedMoreThanOnceButton,
                               ControlId::TagButton};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        EXPECT_EQ(GetNextDlgTabItem(window, Handle(order[i - 1]), FALSE), Handle(order[i])) << i;
    }
    // Space on the current row flips its check mark and the count.
    const int row = RowOf(L"Cinder Hall - Slow River.mp3");
    ClickRow(row);
    Key(List(), VK_SPACE);
    EXPECT_TRUE(Checked(row));
    EXPECT_EQ(ItemText(row, 0), kNoBreakSpace);
    EXPECT_EQ(Caption(ControlId::CheckedLabel), L"Checked: 7");
}

TEST_F(Win32WindowTest, TaggingTwoCheckedRowsWritesThemAndShowsTheLog) {
    // Only two rows stay checked: every row unchecked, then two check-box clicks.
    Press(ControlId::SelectAllButton);
    Press(ControlId::UncheckSelectedButton);
    EXPECT_EQ(Caption(ControlId::CheckedLabel), L"Checked: 0");
    const std::wstring names[] = {L"Delta Nine - Glass House.mp3", L"Juniper - Falling Snow.mp3"};
    for (const std::wstring& name : names) {
        ClickCheckBox(RowOf(name));
        EXPECT_TRUE(Checked(RowOf(name)));
    }
    EXPECT_EQ(Caption(ControlId::CheckedLabel), L"Checked: 2");
    ASSERT_TRUE(IsWindowEnabled(Handle(ControlId::TagButton)));

    prompts_.Answers = {true};
    std::vector<std::wstring> labels;
    std::vector<std::wstring> captions;
    RecordTextsOf(ControlId::CheckedLabel, labels);
    RecordTextsOf(ControlId::TagButton, captions);
    Press(ControlId::TagButton);
    ASSERT_FALSE(prompts_.Asked.empty());
    EXPECT_EQ(prompts_.Asked.back(), "Are you sure you want to tag 2 files?");
    // During the pass the label counted the files done and the button was the
    // stop; after it they have their usual texts.
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), L"Tagging: 0 / 2");
    EXPECT_EQ(labels.back(), L"Checked: 2");
    ASSERT_FALSE(captions.empty());
    EXPECT_EQ(captions.front(), L"Stop tagging");
    EXPECT_EQ(Caption(ControlId::CheckedLabel), L"Checked: 2");
    EXPECT_EQ(Caption(ControlId::TagButton), L"Return to list");
    // Under the log the selection and check buttons do not act on the hidden
    // list; the way back stays open.
    EXPECT_FALSE(IsWindowEnabled(Handle(ControlId::SelectAllButton)));
    EXPECT_FALSE(IsWindowEnabled(Handle(ControlId::UncheckSelectedButton)));
    EXPECT_TRUE(IsWindowEnabled(Handle(ControlId::TagButton)));
    EXPECT_TRUE(IsWindowEnabled(Handle(ControlId::FolderButton)));
    EXPECT_TRUE(Visible(ControlId::LyricsViewer));
    EXPECT_FALSE(Visible(ControlId::ResultList));
    EXPECT_FALSE(Visible(ControlId::InfoPanel));
    const std::string glass = demo_.MusicFolder + "\\Delta Nine - Glass House.mp3";
    const std::string snow = demo_.MusicFolder + "\\Juniper - Falling Snow.mp3";
    const std::wstring log = Caption(ControlId::LyricsViewer);
    EXPECT_NE(log.find(L"File tagged..: " + Wide(glass) + L"\r\n"), std::wstring::npos)
        << log.size();
    EXPECT_NE(log.find(L"File tagged..: " + Wide(snow) + L"\r\n"), std::wstring::npos);

    // The bytes are compared with the Linux build's by the Windows build script.
    if (const char* out = std::getenv(kTaggedOutVariable)) {
        for (const std::string& path : {glass, snow}) {
            const std::string name = path.substr(path.rfind('\\') + 1);
            std::ofstream(std::string(out) + "\\" + name, std::ios::binary) << ReadFileBytes(path);
        }
    }

    // "Return to list" without a refresh: the rows as before, step one current.
    prompts_.Answers = {false};
    Press(ControlId::TagButton);
    EXPECT_EQ(prompts_.Asked.back(), "Do you want to refresh the list using the same folder?");
    EXPECT_EQ(Caption(ControlId::TagButton), L"Tag checked files");
    EXPECT_TRUE(Visible(ControlId::ResultList));
    EXPECT_EQ(ListView_GetItemCount(List()), 13);
    EXPECT_EQ(LabelColour(ControlId::StepOneLabel), RGB(0, 128, 128));
    EXPECT_TRUE(IsWindowEnabled(Handle(ControlId::SelectAllButton)));
}

// A press of "Stop tagging" that waits in the queue is taken at the pass's first
// look at its messages, before the first file: no file is written, the log is
// empty and the window stays usable.
TEST_F(Win32WindowTest, StopTaggingEndsThePassBeforeTheNextFile) {
    const std::wstring name = L"Delta Nine - Glass House.mp3";
    CheckOnly({name});
    const std::string path = demo_.MusicFolder + "\\" + win32::Utf8(name);
    const std::string before = ReadFileBytes(path);
    prompts_.Answers = {true};
    PostMessageW(Handle(ControlId::TagButton), BM_CLICK, 0, 0);
    std::this_thread::sleep_for(2 * kPassEventInterval);  // the pass's first look is due
    Press(ControlId::TagButton);
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_EQ(Caption(ControlId::LyricsViewer), L"");
    EXPECT_EQ(Caption(ControlId::TagButton), L"Return to list");
    EXPECT_TRUE(IsWindowEnabled(Handle(ControlId::TagButton)));
    EXPECT_EQ(Caption(ControlId::CheckedLabel), L"Checked: 1");
    EXPECT_TRUE(IsWindowEnabled(Handle(ControlId::FolderButton)));
}

// The window closed during a tagging pass stays until the pass has stopped;
// the program ends then, with exit code 0 (in a child process of the test
// program).
TEST_F(Win32WindowTest, ClosingTheWindowDuringTaggingEndsTheProgramAfterThePass) {
    CheckOnly({L"Delta Nine - Glass House.mp3"});
    prompts_.Answers = {true};
    EXPECT_EXIT(
        {
            PostMessageW(session_->View().Handle(), WM_CLOSE, 0, 0);
            std::this_thread::sleep_for(2 * kPassEventInterval);
            Press(ControlId::TagButton);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
