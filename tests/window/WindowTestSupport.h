// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "startup/ProgramValues.h"
#include "support/ScopedEnv.h"
#include "support/ScriptedPrompts.h"
#include "support/SongLibrary.h"
#include "support/TempDir.h"
#include "window/QtWindow.h"

class QAbstractButton;
class QLabel;
class QPushButton;

namespace versemark::testing {

// A window over program values of its own, with scripted prompts and counted
// event processing, as the tests drive it.
class WindowUnderTest {
  public:
    WindowUnderTest();
    ~WindowUnderTest();

    // A state folder of the window's own: its passes' lock is no other test's.
    TempDir StateHome;
    ScopedEnv StateFolder{kStateFolderVariable, StateHome.Path()};
    ProgramValues Values;
    ScriptedPrompts Prompts;
    int ProcessEventsCalls = 0;
    int EndProgramCalls = 0;
    int EndProgramStatus = -1;  // the exit status of the last call
    // Called on every yield of a pass with the number of yields so far.
    std::function<void(int call)> OnProcessEvents;

    QtWindow& Form() { return *form_; }

    template <typename T>
    T* Find(const QString& name) const {
        return form_->findChild<T*>(name);
    }
    QLabel* Label(const QString& name) const;
    QPushButton* Button(const QString& name) const;
    QString Text(const QString& labelName) const;
    QString Caption(const QString& buttonName) const;

    // Shows the window at its design size and waits until it is laid out.
    void Show();
    // Picks `folder` in the folder dialog and runs the folder command.
    void ChooseFolderAndMatch(const std::string& folder);

    // The row showing this MP3 file name; -1 when there is none.
    int RowOf(std::string_view mp3Name) const;
    const ResultRow& RowNamed(std::string_view mp3Name) const;

  private:
    std::unique_ptr<QtWindow> form_;
};

}  // namespace versemark::testing
