// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "matching/LyricsIndex.h"
#include "startup/ProgramValues.h"
#include "tagging/Journal.h"
#include "tagging/Recovery.h"
#include "windowlogic/FirstPassReader.h"

// The window's start-up, the same for both windows, in two halves around the
// making of the window: what must come before any file is read and what runs
// while the window is made, then what needs the window and its logic.
namespace versemark {

class UserPrompts;
class WindowLogic;

// The lyrics index and its word matcher, built apart from the program's values.
struct IndexBuilt {
    LyricsIndex Index;
    bool SingleDir = false;
    std::optional<int> LyricsCount;  // the lyrics files indexed; none without a cache folder
};

class WindowStartup {
  public:
    // Before the window is made. What a killed tagging run left half written in
    // `journalFolder` is put right first, before any file is read; then, on
    // other threads while the window is made, the companion's folder is listed
    // and read (run mode 2) and the lyrics index read and its matcher built.
    // `values` must outlive the start-up; only Finish writes to it. `allFormats`:
    // the remembered choice of the search for the other formats.
    explicit WindowStartup(ProgramValues& values,
                           const std::string& journalFolder = DefaultJournalFolder(),
                           bool allFormats = false);
    WindowStartup(const WindowStartup&) = delete;
    WindowStartup& operator=(const WindowStartup&) = delete;

    // Once the window's logic exists (call once): the first pass's reader handed
    // to it, the index waited for and taken into the values (an exception of
    // its build, such as std::bad_alloc, is rethrown here), the lyrics-count caption,
    // the manifest when `probe`, the window shown by `show`, what was recovered
    // said in one message, a missing cache folder in another, and in run mode 2 the pass over the
    // given folder with the subfolder box set from the command line (returns when it has ended).
    void Finish(WindowLogic& logic, UserPrompts& prompts, bool probe,
                const std::function<void()>& show);

  private:
    ProgramValues& values_;
    std::vector<RecoveryNote> recovered_;
    FirstPassReader firstPass_;
    std::future<IndexBuilt> index_;
};

}  // namespace versemark
