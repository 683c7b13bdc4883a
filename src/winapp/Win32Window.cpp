// SPDX-License-Identifier: GPL-3.0-or-later
#include "winapp/Win32Window.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "platform/win32/SystemPath.h"
#include "platform/win32/WideText.h"
#include "winapp/WinButtonFace.h"
#include "winapp/WinPictures.h"
#include "winapp/WinSecondStart.h"
#include "windowlogic/WindowLogic.h"
#include "windowlogic/WindowTexts.h"

namespace versemark::winapp {
namespace {

// Posted to itself when a second start handed a folder over: asked once the
// hand-over has returned, so that the second start does not wait for the answer.
constexpr UINT kAskHandedFolder = WM_APP + 1;
constexpr UINT_PTR kViewerSubclass = 1;
constexpr UINT_PTR kListSubclass = 2;

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kProgramIconResource));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconResource), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
}

// The viewer is a multi-line text box that would keep Tab, Enter and Escape for
// itself; here Tab leaves it and Escape reaches the window, as in a dialog.
LRESULT CALLBACK ViewerProcedure(HWND viewer, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
    if (message == WM_GETDLGCODE) {
        return DefSubclassProc(viewer, message, wParam, lParam) &
               ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    }
    return DefSubclassProc(viewer, message, wParam, lParam);
}

// Makes the window no larger than the work area of its monitor (the screen less
// the task bar), moved inside it: the layout then gives the loss to the list.
void KeepWithinWorkArea(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    RECT outer{};
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor) ||
        !GetWindowRect(window, &outer)) {
        return;
    }
    const RECT& work = monitor.rcWork;
    const LONG width = std::min(outer.right - outer.left, work.right - work.left);
    const LONG height = std::min(outer.bottom - outer.top, work.bottom - work.top);
    const LONG left = std::clamp(outer.left, work.left, work.right - width);
    const LONG top = std::clamp(outer.top, work.top, work.bottom - height);
    if (left != outer.left || top != outer.top || width != outer.right - outer.left ||
        height != outer.bottom - outer.top) {
        SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool IsPushButton(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    return lstrcmpiW(name, L"Button") == 0 &&
           (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW);
}

}  // namespace

Win32Window::Win32Window(HINSTANCE instance)
    : instance_(instance),
      dpi_(ScreenDpi()),
      fonts_(MakeFonts(dpi_)),
      controls_(dpi_, fonts_.Default),
      pictures_(dpi_, fonts_.Default) {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&classes);
    RegisterWindowClass(instance, Procedure);
    RegisterPanelClass(instance);

    RECT area{0, 0, controls_.ToPixels(kDesignClientSize.Width),
              controls_.ToPixels(kDesignClientSize.Height)};
    AdjustWindowRectEx(&area, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CONTROLPARENT);
    window_ = CreateWindowExW(
        WS_EX_CONTROLPARENT, kWindowClass, DisplayWide(texts::kWindowCaption).c_str(),
        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, area.right - area.left,
        area.bottom - area.top, nullptr, nullptr, instance, this);
    KeepWithinWorkArea(window_);
    CreateControls();
    SetTabOrder();
    SetWindowSubclass(Handle(ControlId::LyricsViewer), ViewerProcedure, kViewerSubclass, 0);
    SetWindowSubclass(Handle(ControlId::ResultList), ListProcedure, kListSubclass,
                      reinterpret_cast<DWORD_PTR>(this));
    DragAcceptFiles(window_, TRUE);
}

Win32Window::~Win32Window() {
    logic_ = nullptr;
    destroying_ = true;
    if (IsWindow(window_)) {
        DestroyWindow(window_);
    }
    for (HFONT font : {fonts_.Default, fonts_.Bold, fonts_.LyricsCount, fonts_.Viewer}) {
        DeleteObject(font);
    }
}

void Win32Window::Attach(WindowLogic& logic) {
    logic_ = &logic;
    logic.Load();
    logic.Resize();
}

void Win32Window::Show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
}

HWND Win32Window::Handle(ControlId control) const {
    const auto found = handles_.find(control);
    return found == handles_.end() ? nullptr : found->second;
}

bool Win32Window::TranslateForWindow(MSG& message) {
    return IsDialogMessageW(window_, &message) != FALSE;
}

LRESULT CALLBACK Win32Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Win32Window*>(create->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT Win32Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (logic_ != nullptr) {
                logic_->Resize();
                // Controls moved in the layout leave stale pixels behind
                // (maximized above all): everything is drawn afresh.
                RedrawWindow(window_, nullptr, nullptr,
                             RDW_ALLCHILDREN | RDW_INVALIDATE | RDW_ERASE);
            }
            return 0;
        case WM_COMMAND:
            if (lParam == 0) {  // Enter and Escape, as the dialog manager reports them
                if (LOWORD(wParam) == IDOK) {
                    OnEnterKey();
                } else if (LOWORD(wParam) == IDCANCEL) {
                    OnEscapeKey();
                }
            } else {
                OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            }
            return 0;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DRAWITEM:  // the push buttons
            DrawButtonFace(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), dpi_);
            return TRUE;
        case WM_DROPFILES:
            OnDrop(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_COPYDATA:
            if (ReadFolderHandOver(*reinterpret_cast<const COPYDATASTRUCT*>(lParam), handedFolder_,
                                   handedSubfolders_)) {
                PostMessageW(window_, kAskHandedFolder, 0, 0);
                return TRUE;
            }
            return FALSE;
        case kAskHandedFolder:
            AskHandedFolder();
            return 0;
        case WM_CLOSE:
            // The window stays while a tagging pass finishes its file; the
            // program ends after it.
            if (logic_ == nullptr || logic_->Close()) {
                DestroyWindow(window_);
            }
            return 0;
        case WM_DESTROY:
            // The user closed the window: the program's message loop ends.
            if (!destroying_) {
                PostQuitMessage(0);
            }
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void Win32Window::OnCommand(HWND from, int code) {
    const auto found = ids_.find(from);
    if (logic_ == nullptr || found == ids_.end()) {
        return;
    }
    const ControlId control = found->second;
    if (control == ControlId::LyricsChoice) {
        if (code == CBN_SELCHANGE) {
            logic_->ChooseLyrics(static_cast<int>(SendMessageW(from, CB_GETCURSEL, 0, 0)));
        }
        return;
    }
    // Labels and pictures report clicks too; the logic gives them no command.
    if (code == BN_CLICKED) {
        logic_->Clicked(control);
    }
}

void Win32Window::OnEnterKey() {
    HWND focus = GetFocus();
    if (focus == Handle(ControlId::ResultList)) {
        const int row = CurrentRow();
        if (logic_ != nullptr && row >= 0) {
            logic_->RowOpened(row);
        }
    } else if (focus != nullptr && IsPushButton(focus)) {
        SendMessageW(focus, BM_CLICK, 0, 0);
    }
}

void Win32Window::OnEscapeKey() {
    // Escape closes a lyrics viewer wherever the focus is.
    if (logic_ != nullptr) {
        logic_->EscapePressed();
    }
}

void Win32Window::OnDrop(HDROP drop) {
    // A local folder dropped on the window is matched as if chosen in the dialog.
    // The path's length is asked first, so that a path of any length is read whole.
    std::wstring path;
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
        path.resize(DragQueryFileW(drop, 0, nullptr, 0) + 1);
        path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    }
    DragFinish(drop);
    const std::string folder = win32::Utf8(path);
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES
                                          : GetFileAttributesW(win32::SystemPath(folder).c_str());
    if (logic_ != nullptr && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && logic_->CanTakeDrop()) {
        logic_->FolderDropped(folder);
    }
}

void Win32Window::AskHandedFolder() {
    const std::string folder = std::move(handedFolder_);
    handedFolder_.clear();
    if (logic_ != nullptr && !folder.empty()) {
        logic_->FolderHandedOver(folder, handedSubfolders_);
    }
}

LRESULT Win32Window::OnControlColour(HDC dc, HWND control) const {
    // The read-only viewer keeps the colours of a text box; labels and check
    // boxes draw their text colour on the window's face.
    if (control == Handle(ControlId::LyricsViewer)) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    SetTextColor(dc, controls_.TextColour(control));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

// --- WindowView: any control ------------------------------------------------

void Win32Window::SetCaption(ControlId control, std::string_view caption) {
    if (HWND handle = Handle(control)) {
        controls_.SetCaption(handle, caption);
    }
}

void Win32Window::SetToolTip(ControlId control, std::string_view tip) {
    HWND handle = Handle(control);
    if (handle == nullptr || toolTips_ == nullptr) {
        return;
    }
    std::wstring text = DisplayWide(tip);
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(handle);
    tool.uId = reinterpret_cast<UINT_PTR>(handle);
    tool.lpszText = text.data();
    SendMessageW(toolTips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!text.empty()) {
        SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void Win32Window::KeepFocusOnAControl(HWND leaving) {
    // A hidden or disabled control cannot keep the focus: it moves on in the tab
    // order, as in a dialog, so that the keyboard keeps working.
    HWND focus = GetFocus();
    if (focus != nullptr && (focus == leaving || IsChild(leaving, focus))) {
        HWND next = GetNextDlgTabItem(window_, leaving, FALSE);
        ::SetFocus(next != nullptr && next != leaving ? next : window_);
    }
}

void Win32Window::SetVisible(ControlId control, bool visible) {
    HWND handle = Handle(control);
    if (handle == nullptr) {
        return;
    }
    if (!visible) {
        KeepFocusOnAControl(handle);
    }
    ShowWindow(handle, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32Window::SetEnabled(ControlId control, bool enabled) {
    HWND handle = Handle(control);
    if (handle == nullptr) {
        return;
    }
    if (!enabled) {
        KeepFocusOnAControl(handle);
    }
    EnableWindow(handle, enabled ? TRUE : FALSE);
}

void Win32Window::SetTextColour(ControlId control, Colour colour) {
    if (HWND handle = Handle(control)) {
        controls_.SetTextColour(handle, colour);
    }
}

void Win32Window::SetBold(ControlId control, bool bold) {
    if (HWND handle = Handle(control)) {
        controls_.SetFont(handle, bold ? fonts_.Bold : fonts_.Default);
    }
}

void Win32Window::SetChecked(ControlId control, bool checked) {
    if (HWND handle = Handle(control)) {
        SendMessageW(handle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

bool Win32Window::IsChecked(ControlId control) const {
    HWND handle = Handle(control);
    return handle != nullptr && SendMessageW(handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::SetPicture(ControlId control, int picture) {
    if (HWND handle = Handle(control)) {
        SendMessageW(handle, STM_SETICON, reinterpret_cast<WPARAM>(pictures_.Icon(picture)), 0);
        pictureNumbers_[handle] = picture;
    }
}

int Win32Window::PictureNumber(ControlId control) const {
    const auto found = pictureNumbers_.find(Handle(control));
    return found == pictureNumbers_.end() ? 0 : found->second;
}

void Win32Window::Refresh(ControlId control) {
    if (HWND handle = Handle(control)) {
        RedrawWindow(handle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

std::optional<ControlId> Win32Window::FocusedControl() const {
    for (HWND focus = GetFocus(); focus != nullptr && focus != window_; focus = GetParent(focus)) {
        const auto found = ids_.find(focus);
        if (found != ids_.end()) {
            return found->second;
        }
    }
    return std::nullopt;
}

void Win32Window::SetFocus(ControlId control) {
    HWND handle = Handle(control);
    if (handle != nullptr && IsWindowVisible(handle) && IsWindowEnabled(handle)) {
        ::SetFocus(handle);
    }
}

// --- WindowView: geometry ---------------------------------------------------

TwipSize Win32Window::ClientSize() const {
    RECT area{};
    GetClientRect(window_, &area);
    return {controls_.ToTwips(area.right - area.left), controls_.ToTwips(area.bottom - area.top)};
}

TwipRect Win32Window::Geometry(ControlId control) const {
    return controls_.Geometry(Handle(control));
}

void Win32Window::SetGeometry(ControlId control, const TwipRect& twips) {
    if (HWND handle = Handle(control)) {
        controls_.SetGeometry(handle, twips);
        // A frame's group box covers the whole frame.
        if (HWND box = controls_.FrameBox(handle)) {
            controls_.SetGeometry(box, {0, 0, twips.Width, twips.Height});
        }
    }
}

void Win32Window::SetLineEnd(ControlId line, int x2) {
    if (HWND handle = Handle(line)) {
        controls_.SetRuleEnd(handle, x2);
    }
}

// --- WindowView: the lyrics choice and the viewer ----------------------------

void Win32Window::SetComboItems(ControlId combo, const std::vector<std::string>& items,
                                int current) {
    HWND handle = Handle(combo);
    if (handle == nullptr) {
        return;
    }
    SendMessageW(handle, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
        SendMessageW(handle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DisplayWide(item).c_str()));
    }
    SendMessageW(handle, CB_SETCURSEL, static_cast<WPARAM>(current), 0);
}

void Win32Window::SetViewerText(ControlId textBox, std::string_view text) {
    HWND handle = Handle(textBox);
    if (handle == nullptr) {
        return;
    }
    // The text box breaks lines at CR LF only; a lone CR or LF is a break too.
    const std::wstring wide = DisplayWide(text);
    std::wstring shown;
    shown.reserve(wide.size() + wide.size() / 16);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == L'\r' || wide[i] == L'\n') {
            shown += L"\r\n";
            if (wide[i] == L'\r' && i + 1 < wide.size() && wide[i + 1] == L'\n') {
                ++i;
            }
        } else {
            shown += wide[i];
        }
    }
    SetWindowTextW(handle, shown.c_str());
}

// --- The message loop ----------------------------------------------------------

void ProcessPendingMessages(Win32Window& window) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the loop outside
            return;
        }
        if (!window.TranslateForWindow(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

int RunMessageLoop(Win32Window& window) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!window.TranslateForWindow(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace versemark::winapp
