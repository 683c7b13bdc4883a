#pragma once

#include <QString>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "startup/basMain.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "window/frmMain.h"
#include "windowlogic/UserPrompts.h"

class QAbstractButton;
class QLabel;
class QPushButton;

namespace versemark::testing {

// Answers the window's questions from a script and records every question.
class ScriptedPrompts : public UserPrompts {
  public:
    struct Question {
        QString Text;
        PromptIcon Icon;
    };

    std::deque<std::string> Folders;  // the next folder dialog's answer ("" cancels)
    std::deque<bool> Answers;         // the next Yes/No answer
    std::vector<Question> Asked;
    int FolderDialogs = 0;

    std::vector<std::string> Messages;  // every message shown

    std::string ChooseFolder(const std::string& instruction) override;
    bool AskYesNo(const std::string& text, PromptIcon icon) override;
    void ShowMessage(const std::string& text) override;

    QString LastInstruction;
};

// A window over program values of its own, with scripted prompts and counted
// event processing, as the tests drive it.
class WindowUnderTest {
  public:
    WindowUnderTest();
    ~WindowUnderTest();

    ProgramValues Values;
    ScriptedPrompts Prompts;
    int ProcessEventsCalls = 0;
    int EndProgramCalls = 0;
    // Called on every yield of a pass with the number of yields so far.
    std::function<void(int call)> OnProcessEvents;

    frmMain& Form() { return *form_; }

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
    std::unique_ptr<frmMain> form_;
};

// Lyrics files and MP3 files in a temporary folder: "cache" holds the lyrics
// files (flat), "music" the MP3 files.
class SongLibrary {
  public:
    SongLibrary();

    std::string CachePath() const { return dir_ / "cache"; }
    std::string MusicPath() const { return dir_ / "music"; }
    const TempDir& Dir() const { return dir_; }

    // "cache/<name>.txt"; returns its path.
    std::string AddLyrics(std::string_view name, std::string_view text) const;
    // "music/<relative>"; returns its path.
    std::string AddMp3(std::string_view relative, const TailBuilder& file) const;

    // Builds the window's lyrics index from the cache.
    void IndexInto(ProgramValues& values) const;

  private:
    TempDir dir_;
};

// Lyrics text whose end carries the filter marker.
std::string FilteredLyrics(std::string_view words);
// Lyrics text without any marker.
std::string UnfilteredLyrics(std::string_view words);
// An MP3 file of a little silent audio.
TailBuilder PlainMp3();

// The position of the index entry with this display name; -1 when none.
int EntryNamed(const ProgramValues& values, std::string_view displayName);

}  // namespace versemark::testing
