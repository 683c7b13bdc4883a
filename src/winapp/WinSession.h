// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <memory>

#include "startup/ProgramValues.h"
#include "winapp/Win32Window.h"
#include "winapp/WinPrompts.h"
#include "windowlogic/WindowLogic.h"
#include "windowlogic/WindowSettings.h"
#include "windowlogic/WindowStartup.h"

// The window's run modes on Windows: the window, its logic and who answers its
// questions, put together as the program starts them.
namespace versemark::winapp {

// The window's remembered choices, kept per user in the registry (UserChoices.h).
class RegistrySettings final : public WindowSettings {
  public:
    bool AlsoId3v2() const override;
    void SetAlsoId3v2(bool alsoId3v2) override;
    bool AllFormats() const override;
    void SetAllFormats(bool allFormats) override;
    bool BesideFile() const override;
    void SetBesideFile(bool besideFile) override;
};

class WindowSession {
  public:
    // What a killed tagging run left half written is put right first; in run
    // mode 2 the given folder is then listed and read, and the lyrics index read
    // and its matcher built, while the window is made.
    // `prompts` answers the window's questions; nullptr: the system's dialogs.
    WindowSession(HINSTANCE instance, ProgramValues& values, UserPrompts* prompts = nullptr);
    ~WindowSession();

    Win32Window& View() { return view_; }
    WindowLogic& Logic() { return *logic_; }

    // The lyrics index and its caption, the manifest when the common controls
    // allow it, the window shown, what an unfinished tagging run left said, and
    // in run mode 2 the pass over the given folder (returns when it has ended).
    void Start(bool probe, int showCommand);
    // The message loop until the window closes; the exit code.
    int Run();

  private:
    ProgramValues& values_;
    // Before the window, which is made while the reader and the index read.
    WindowStartup startup_;
    Win32Window view_;
    std::unique_ptr<Win32Prompts> dialogs_;
    UserPrompts* prompts_;
    RegistrySettings settings_;
    std::unique_ptr<WindowLogic> logic_;
};

}  // namespace versemark::winapp
