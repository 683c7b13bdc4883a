// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "winapp/WinControls.h"
#include "winapp/WinPictures.h"
#include "windowlogic/WindowDesign.h"
#include "windowlogic/WindowView.h"

// The main window on the Windows common controls: one view of the window logic.
// It places the controls at their design twips, shows what the logic tells it,
// and passes the user's mouse and keyboard events on to the logic's handlers.
// The result list is a virtual report-view list that reads its rows from the
// logic's row store, so that tens of thousands of rows stay quick.
namespace versemark {
class WindowLogic;
}

namespace versemark::winapp {

class Win32Window final : public WindowView {
  public:
    explicit Win32Window(HINSTANCE instance);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // The logic whose handlers get the events; attached once, before Show.
    // Calls Load and the first Resize.
    void Attach(WindowLogic& logic);
    // No more events reach the logic (it is going away before the window).
    void Detach() { logic_ = nullptr; }
    void Show(int showCommand);

    HWND Handle() const { return window_; }
    // The system control behind a control of the design (nullptr for one the window
    // lacks).
    HWND Handle(ControlId control) const;
    const ControlSet& Controls() const { return controls_; }
    // The picture number an image control was last given (the system keeps only
    // the icon).
    int PictureNumber(ControlId control) const;

    // Handles one message of the window's thread the way the window's keyboard
    // wants it (Tab, Enter, Escape); false when it should be dispatched as usual.
    bool TranslateForWindow(MSG& message);

    // WindowView.
    void SetCaption(ControlId control, std::string_view caption) override;
    void SetToolTip(ControlId control, std::string_view tip) override;
    void SetVisible(ControlId control, bool visible) override;
    void SetEnabled(ControlId control, bool enabled) override;
    void SetTextColour(ControlId control, Colour colour) override;
    void SetBold(ControlId control, bool bold) override;
    void SetChecked(ControlId control, bool checked) override;
    bool IsChecked(ControlId control) const override;
    void SetPicture(ControlId control, int picture) override;
    void Refresh(ControlId control) override;
    std::optional<ControlId> FocusedControl() const override;
    void SetFocus(ControlId control) override;
    TwipSize ClientSize() const override;
    TwipRect Geometry(ControlId control) const override;
    void SetGeometry(ControlId control, const TwipRect& twips) override;
    void SetLineEnd(ControlId line, int x2) override;
    void SetComboItems(ControlId combo, const std::vector<std::string>& items,
                       int current) override;
    void SetViewerText(ControlId textBox, std::string_view text) override;
    void ListRowsAboutToReset() override;
    void ListRowsReset() override;
    void ListRowsAboutToMove() override;
    void ListRowsMoved(const std::vector<std::size_t>& newPositions) override;
    void ListRowsChanged(int first, int last) override;
    void ShowSortIndicator(int column, SortOrder order, bool shown) override;
    std::vector<bool> SelectedRows() const override;
    void SelectRows(const std::vector<bool>& rows) override;
    int CurrentRow() const override;

  private:
    struct Fonts {
        HFONT Default = nullptr;
        HFONT Bold = nullptr;
        HFONT LyricsCount = nullptr;
        HFONT Viewer = nullptr;
    };

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Building the controls from the design table (Win32WindowControls.cpp).
    static Fonts MakeFonts(int dpi);
    HFONT FontOf(DesignFont font) const;
    void CreateControls();
    HWND MakeControl(const ControlDesign& design, HWND parent);
    HWND MakeList(HWND parent, const TwipRect& at);
    void SetTabOrder();

    // Events.
    static LRESULT CALLBACK ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR self);
    bool OnListMouse(UINT message, LPARAM lParam);
    void OnCommand(HWND from, int code);
    void OnDrop(HDROP drop);
    // A folder a second start handed over: matched when the user agrees.
    void AskHandedFolder();
    void KeepFocusOnAControl(HWND leaving);
    LRESULT OnNotify(NMHDR* header);
    LRESULT OnListNotify(NMHDR* header);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw) const;
    void OnDisplayInfo(NMLVDISPINFOW* info);
    void OnListClick(const NMITEMACTIVATE* click);
    void OnListStateChange(const NMLISTVIEW* change);
    LRESULT OnControlColour(HDC dc, HWND control) const;
    void OnEnterKey();
    void OnEscapeKey();

    HINSTANCE instance_;
    HWND window_ = nullptr;
    WindowLogic* logic_ = nullptr;
    int dpi_ = kDesignDpi;
    Fonts fonts_;
    ControlSet controls_;
    PictureList pictures_;
    HWND toolTips_ = nullptr;
    std::map<ControlId, HWND> handles_;
    std::unordered_map<HWND, ControlId> ids_;
    std::unordered_map<HWND, int> pictureNumbers_;
    std::wstring cellText_;  // the text last handed to the list
    std::vector<bool> selectionBeforeMove_;
    int currentBeforeMove_ = -1;
    // True while the program itself changes the list's selection or focus: those
    // changes are not the user's row clicks.
    bool settingList_ = false;
    // True while the program itself destroys the window: that ends no message loop.
    bool destroying_ = false;
    // The row a focus change already reported as clicked, so that the click
    // that moved the focus does not report it twice.
    int focusReported_ = -1;
    // The folder a second start handed over, until it is asked about.
    std::string handedFolder_;
    bool handedSubfolders_ = false;
};

// Processes the window's pending messages without waiting: how a matching pass
// lets the window draw and take the stop request.
void ProcessPendingMessages(Win32Window& window);
// The message loop until the window is closed; returns the exit code.
int RunMessageLoop(Win32Window& window);

}  // namespace versemark::winapp
