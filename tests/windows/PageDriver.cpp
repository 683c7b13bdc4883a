// SPDX-License-Identifier: GPL-3.0-or-later
// Goes through an installer's (or uninstaller's) pages as a user would, under
// Wine on a virtual screen: finds the dialog whose title holds every --title
// word, and on each page prints one line (the page's title, then its buttons,
// check boxes and radio buttons with their states), ticks or unticks the boxes
// named by caption, and presses the page's default button. A question box is
// answered as --answer says. Ends with status 0 when the dialog has closed, 1
// with the page it was stuck on when nothing changes for --timeout seconds.
// Usage: PageDriver --title WORD... [--tick CAPTION]... [--untick CAPTION]...
//                   [--answer Yes|No] [--timeout SECONDS]
#include <windows.h>

#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

// The dialog's controls, as the installer's pages number them.
constexpr int kDefaultButtonId = IDOK;   // "Next >", "I Agree", "Install", "Finish", "Close"
constexpr int kHeaderTitleId = 1037;     // the title in the header of the inner pages
constexpr int kWelcomeTitleId = 1201;    // the title of the welcome and finish pages
constexpr int kQuestionTextId = 0xFFFF;  // the text of a message box

constexpr auto kPollInterval = std::chrono::milliseconds(150);
// A page counts as shown once its title and buttons stay the same this many polls.
constexpr int kSettledPolls = 3;
constexpr int kDefaultTimeoutSeconds = 60;
constexpr std::size_t kMaxText = 1024;

using Clock = std::chrono::steady_clock;

struct Options {
    std::vector<std::wstring> titleWords;
    std::vector<std::wstring> tick;
    std::vector<std::wstring> untick;
    std::optional<bool> answerYes;
    std::chrono::seconds timeout{kDefaultTimeoutSeconds};
};

// One button, check box or radio button as the user sees it.
struct Control {
    HWND window;
    std::wstring caption;
    bool checkable;
    bool checked;
    bool enabled;
};

// What a page shows: its title and its controls, in the order of the dialog.
struct Page {
    std::wstring title;
    std::vector<Control> controls;
};

std::wstring textOf(HWND window) {
    wchar_t text[kMaxText] = {};
    GetWindowTextW(window, text, static_cast<int>(kMaxText));
    return text;
}

std::wstring classOf(HWND window) {
    wchar_t name[kMaxText] = {};
    GetClassNameW(window, name, static_cast<int>(kMaxText));
    return name;
}

// A caption as it reads: without the "&" that marks the access key.
std::wstring withoutAccessKey(const std::wstring& caption) {
    std::wstring plain;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) {
            ++i;
        }
        plain += caption[i];
    }
    return plain;
}

void printLine(const std::wstring& line) {
    int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    std::printf("%s\n", bytes.c_str());
    std::fflush(stdout);
}

std::optional<Options> parseOptions() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    Options options;
    bool valid = arguments != nullptr;
    for (int i = 1; valid && i < count; ++i) {
        std::wstring name = arguments[i];
        if (i + 1 >= count) {
            valid = false;
            break;
        }
        std::wstring value = arguments[++i];
        if (name == L"--title") {
            options.titleWords.push_back(value);
        } else if (name == L"--tick") {
            options.tick.push_back(value);
        } else if (name == L"--untick") {
            options.untick.push_back(value);
        } else if (name == L"--answer" && (value == L"Yes" || value == L"No")) {
            options.answerYes = value == L"Yes";
        } else if (name == L"--timeout" && _wtoi(value.c_str()) > 0) {
            options.timeout = std::chrono::seconds(_wtoi(value.c_str()));
        } else {
            valid = false;
        }
    }
    LocalFree(arguments);
    if (!valid || options.titleWords.empty()) {
        return std::nullopt;
    }
    return options;
}

bool hasAllWords(const std::wstring& title, const std::vector<std::wstring>& words) {
    for (const std::wstring& word : words) {
        if (title.find(word) == std::wstring::npos) {
            return false;
        }
    }
    return true;
}

bool isQuestion(HWND window) {
    return GetDlgItem(window, IDYES) != nullptr || GetDlgItem(window, IDNO) != nullptr;
}

// The visible top-level dialogs whose title holds every word.
std::vector<HWND> dialogsTitled(const std::vector<std::wstring>& words) {
    struct Search {
        const std::vector<std::wstring>* words;
        std::vector<HWND> found;
    } search{&words, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* search = reinterpret_cast<Search*>(data);
            if (IsWindowVisible(window) && hasAllWords(textOf(window), *search->words)) {
                search->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A question box of the same program as the dialog: visible, top-level, with Yes or No.
HWND questionOf(HWND dialog) {
    struct Search {
        DWORD process;
        HWND found;
    } search{0, nullptr};
    GetWindowThreadProcessId(dialog, &search.process);
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* search = reinterpret_cast<Search*>(data);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == search->process && IsWindowVisible(window) && isQuestion(window)) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool isVisibleChild(HWND window) {
    return IsWindowVisible(window) != FALSE;
}

// The page's title: the header's, or on the welcome and finish pages (which have
// no header) their own title.
std::wstring pageTitleOf(HWND dialog) {
    HWND header = GetDlgItem(dialog, kHeaderTitleId);
    if (header != nullptr && isVisibleChild(header) && !textOf(header).empty()) {
        return textOf(header);
    }
    struct Search {
        HWND found;
    } search{nullptr};
    EnumChildWindows(
        dialog,
        [](HWND window, LPARAM data) -> BOOL {
            auto* search = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(window) == kWelcomeTitleId && isVisibleChild(window) &&
                !textOf(window).empty()) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr ? textOf(search.found) : std::wstring();
}

bool isCheckable(HWND button) {
    LONG style = GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
    return style == BS_CHECKBOX || style == BS_AUTOCHECKBOX || style == BS_RADIOBUTTON ||
           style == BS_AUTORADIOBUTTON || style == BS_3STATE || style == BS_AUTO3STATE;
}

bool isGroupBox(HWND button) {
    return (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

Page pageOf(HWND dialog) {
    Page page{pageTitleOf(dialog), {}};
    EnumChildWindows(
        dialog,
        [](HWND window, LPARAM data) -> BOOL {
            auto* page = reinterpret_cast<Page*>(data);
            if (isVisibleChild(window) && classOf(window) == L"Button" && !isGroupBox(window) &&
                !textOf(window).empty()) {
                bool checkable = isCheckable(window);
                bool checked = checkable && SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
                page->controls.push_back({window, withoutAccessKey(textOf(window)), checkable,
                                          checked, IsWindowEnabled(window) != FALSE});
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&page));
    return page;
}

std::wstring describe(const Page& page) {
    std::wstring line = page.title;
    for (const Control& control : page.controls) {
        line += L" | ";
        if (control.checkable) {
            line += control.checked ? L"[x] " : L"[ ] ";
        }
        line += control.caption;
        if (!control.enabled) {
            line += L" (off)";
        }
    }
    return line;
}

bool sameView(const Page& a, const Page& b) {
    return describe(a) == describe(b);
}

// Sets a check box or radio button by clicking it, as a user would, so that
// the page's own handlers see the change; ends false when it did not take.
bool setChecked(const Control& control, bool checked) {
    if (control.checked == checked) {
        return true;
    }
    SendMessageW(control.window, BM_CLICK, 0, 0);
    bool now = SendMessageW(control.window, BM_GETCHECK, 0, 0) == BST_CHECKED;
    printLine((checked ? L"  ticked: " : L"  unticked: ") + control.caption);
    return now == checked;
}

// Ticks and unticks the page's boxes named on the command line, and notes the
// names found; the others are left for later pages.
bool applyChoices(const Page& page, const Options& options, std::set<std::wstring>& found) {
    for (const Control& control : page.controls) {
        if (!control.checkable) {
            continue;
        }
        for (const std::wstring& caption : options.tick) {
            if (control.caption != caption) {
                continue;
            }
            found.insert(caption);
            if (!setChecked(control, true)) {
                printLine(L"  could not tick '" + caption + L"'");
                return false;
            }
        }
        for (const std::wstring& caption : options.untick) {
            if (control.caption != caption) {
                continue;
            }
            found.insert(caption);
            if (!setChecked(control, false)) {
                printLine(L"  could not untick '" + caption + L"'");
                return false;
            }
        }
    }
    return true;
}

// Presses a button the way the dialog hears a click: posted, so that a dialog
// that opens a question meanwhile does not hold the driver.
void press(HWND owner, int id) {
    PostMessageW(owner, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(owner, id)));
}

bool answerQuestion(HWND question, const Options& options) {
    std::wstring line = L"question: " + textOf(GetDlgItem(question, kQuestionTextId));
    for (std::size_t at = line.find_first_of(L"\r\n"); at != std::wstring::npos;
         at = line.find_first_of(L"\r\n")) {
        line.replace(at, line.find_first_not_of(L"\r\n", at) - at, L" ");
    }
    if (!options.answerYes) {
        printLine(line + L" | not answered: no --answer given");
        return false;
    }
    printLine(line + (*options.answerYes ? L" | answered Yes" : L" | answered No"));
    press(question, *options.answerYes ? IDYES : IDNO);
    return true;
}

HWND waitForDialog(const Options& options) {
    Clock::time_point deadline = Clock::now() + options.timeout;
    while (Clock::now() < deadline) {
        for (HWND window : dialogsTitled(options.titleWords)) {
            if (!isQuestion(window)) {
                return window;
            }
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return nullptr;
}

std::wstring joined(const std::vector<std::wstring>& words) {
    std::wstring text;
    for (const std::wstring& word : words) {
        text += (text.empty() ? L"'" : L" '") + word + L"'";
    }
    return text;
}

// Whether every box named on the command line was on a page: a caption that
// changed must not let a run go by without its choice.
bool allFound(const Options& options, const std::set<std::wstring>& found) {
    bool all = true;
    for (const auto* captions : {&options.tick, &options.untick}) {
        for (const std::wstring& caption : *captions) {
            if (found.count(caption) == 0) {
                printLine(L"page-driver: no page had a box '" + caption + L"'");
                all = false;
            }
        }
    }
    return all;
}

// The pages, one after the other, until the dialog closes.
int drive(HWND dialog, const Options& options) {
    Page shown;            // the page last printed
    Page seen;             // what the last poll saw
    int settled = 0;       // polls for which the view stayed the same
    bool pressed = false;  // whether this page's default button was pressed
    bool printed = false;  // whether this page was printed
    // Whether this page's default button was off when it showed: a progress page,
    // which moves on, or names its end in a new title, by itself.
    bool progress = false;
    std::set<std::wstring> found;  // the boxes named on the command line that were seen
    Clock::time_point lastChange = Clock::now();
    for (;; std::this_thread::sleep_for(kPollInterval)) {
        if (HWND question = questionOf(dialog)) {
            if (!answerQuestion(question, options)) {
                return 1;
            }
            while (IsWindow(question) && IsWindowVisible(question) &&
                   Clock::now() - lastChange < options.timeout) {
                std::this_thread::sleep_for(kPollInterval);
            }
            lastChange = Clock::now();
            continue;
        }
        // Only a window gone counts: between two pages the dialog may be hidden a moment.
        if (!IsWindow(dialog)) {
            printLine(L"closed");
            return allFound(options, found) ? 0 : 1;
        }
        Page now = pageOf(dialog);
        settled = sameView(now, seen) ? settled + 1 : 0;
        seen = now;
        if (now.title != shown.title) {
            // A new page: printed once it has settled, then worked like a user would.
            printed = false;
            pressed = false;
            shown = Page{now.title, {}};
            lastChange = Clock::now();
        }
        if (!printed && settled >= kSettledPolls && !now.title.empty()) {
            shown = now;
            printed = true;
            HWND shownDefault = GetDlgItem(dialog, kDefaultButtonId);
            progress = shownDefault == nullptr || !IsWindowEnabled(shownDefault);
            printLine(L"page: " + describe(now));
            if (!applyChoices(now, options, found)) {
                printLine(L"page-driver: the choices failed on page '" + now.title + L"'");
                return 1;
            }
            continue;
        }
        HWND defaultButton = GetDlgItem(dialog, kDefaultButtonId);
        // A press on a progress page could land on the page it moves on to.
        if (printed && !pressed && !progress && defaultButton != nullptr &&
            IsWindowEnabled(defaultButton) && IsWindowVisible(defaultButton)) {
            press(dialog, kDefaultButtonId);
            pressed = true;
            lastChange = Clock::now();
        }
        if (Clock::now() - lastChange > options.timeout) {
            printLine(L"page-driver: stuck on page '" + now.title + L"' (" +
                      (pressed    ? L"pressed '" + textOf(defaultButton) + L"'"
                       : progress ? L"waiting for it to move on"
                                  : L"not pressed") +
                      L") for " + std::to_wstring(options.timeout.count()) + L" s");
            return 1;
        }
    }
}

}  // namespace

int main() {
    std::optional<Options> options = parseOptions();
    if (!options) {
        std::fprintf(stderr,
                     "usage: PageDriver --title WORD... [--tick CAPTION]... [--untick CAPTION]... "
                     "[--answer Yes|No] [--timeout SECONDS]\n");
        return 2;
    }
    HWND dialog = waitForDialog(*options);
    if (dialog == nullptr) {
        printLine(L"page-driver: no window titled with " + joined(options->titleWords) + L" in " +
                  std::to_wstring(options->timeout.count()) + L" s");
        return 1;
    }
    printLine(L"window: " + textOf(dialog));
    return drive(dialog, *options);
}
