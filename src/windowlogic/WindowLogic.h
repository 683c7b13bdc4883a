// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "matching/LyricsIndex.h"
#include "matching/MatchFolder.h"
#include "startup/ProgramValues.h"
#include "windowlogic/Control.h"
#include "windowlogic/FirstPassReader.h"
#include "windowlogic/ListRows.h"

// The main window's behaviour without any toolkit: what each command does, which
// controls are enabled, shown and captioned how, which pane shows, the filters,
// the panel, the viewers, the tagging log and the refresh. It drives a WindowView;
// the view passes the user's events to the handlers below, named after what the
// user did.
namespace versemark {

class ProgressPace;
class UserPrompts;
class WindowSettings;
class WindowView;

// What the window needs from outside: who answers its questions, where its
// choices are remembered, how pending events are processed while a pass runs,
// and how the program ends at once.
struct WindowServices {
    UserPrompts* Prompts = nullptr;       // not owned; must outlive the window
    WindowSettings* Settings = nullptr;   // not owned; none: nothing is remembered
    std::function<void()> ProcessEvents;  // lets the window process pending events
    // Ends the process at once with this exit status.
    std::function<void(int exitStatus)> EndProgram;
};

// What takes the place of the result list: the list itself, one of the two lyrics
// viewers, or the tagging log.
enum class Pane { List, PreparedLyrics, SavedLyrics, Log };

// The rows the selection buttons select: all, the others, or those of a filter.
enum class RowSelection {
    All,
    Invert,
    WithLyrics3Tag,       // the file carries saved lyrics already
    Unfiltered,           // the chosen lyrics file lacks the filter marker
    MoreThanOneMatch,     // the file matched several lyrics files
    MatchedMoreThanOnce,  // the lyrics file matched several files
};

// Window-level values; the captions only show them.
struct WindowState {
    Pane Shown = Pane::List;
    bool StopMatching = false;         // the stop request of a running pass
    bool FillingLyricsChoice = false;  // a row click is filling the lyrics choice
    bool PassRunning = false;          // a matching pass runs (it yields to events)
    bool OtherPassRunning = false;     // "Tag checked files" disabled for another pass
    bool TaggingRunning = false;       // a tagging pass runs (it yields to events)
    bool StopTagging = false;          // the stop request of a running tagging pass
    bool CloseAfterTagging = false;    // the window was closed during the tagging pass
};

class WindowLogic {
  public:
    // `values` and `view` must outlive the logic. Nothing is shown before Load.
    WindowLogic(ProgramValues& values, WindowView& view, WindowServices services);
    ~WindowLogic();
    WindowLogic(const WindowLogic&) = delete;
    WindowLogic& operator=(const WindowLogic&) = delete;

    // Window events. The view calls Load once its controls exist at their
    // design places, Resize after every change of its size, Close when it is
    // asked to close. Close returns false while a tagging pass finishes the
    // file it writes: the window stays open, and the program ends when the pass
    // has stopped.
    void Load();
    void Resize();
    bool Close();

    // A click on a button or check box, as the views report every one: the
    // command of that control. Any other control does nothing.
    void Clicked(ControlId control);

    // The commands behind the buttons. A press of the folder button during a
    // matching pass, or of the tagging button during a tagging pass, is that
    // pass's stop request; the tagging button under the log returns to the list.
    void FolderCommand();
    void TagOrReturn();
    // Selects the rows of one kind in the list as shown.
    void SelectRows(RowSelection selection);
    // Puts the check mark (true) or takes it away on the selected rows.
    void CheckSelectedRows(bool checked);
    // Each viewer button toggles between its viewer and the list.
    void ShowPreparedLyrics();
    void ShowSavedLyrics();

    // Result list. The user's click on a row's check box: `checked` is its new mark.
    void RowChecked(int row, bool checked);
    // A click on the header of a 0-based column sorts by it.
    void SortByColumn(int column);
    // A click on a row describes it in the song information panel.
    void RowClicked(int row);
    // The entry of the lyrics choice the user chose (0-based; -1 none).
    void ChooseLyrics(int choice);

    // The keyboard: Space on the list checks or unchecks as a check-box click
    // does; Enter on a row shows its prepared lyrics; Escape closes a lyrics viewer.
    void CheckKeyPressed();
    void RowOpened(int row);
    void EscapePressed();

    // A local folder dropped on the window: matched as if chosen in the dialog.
    // CanTakeDrop says whether a drop is taken now (not while a pass runs).
    bool CanTakeDrop() const;
    void FolderDropped(const std::string& folder);
    // A folder a second start of the program handed over: matched, with its
    // subfolders choice, when the user agrees; while a pass runs, only a message.
    void FolderHandedOver(const std::string& folder, bool subfolders);

    // Start-up: the lyrics-count caption and the subfolder check box.
    void SetLyricsCountCaption(const std::string& caption);
    void SetSubfolders(bool checked);
    // A reader started before the window for the next pass: used by it when it
    // matches the reader's folder with the same subfolder choice, dropped after
    // it either way.
    void SetFirstPassReader(FirstPassReader reader);

    const WindowState& State() const { return state_; }
    const ListRows& Rows() const { return rows_; }
    ListRows& Rows() { return rows_; }
    // The matches label's text (bytes), as a run without a person reports it.
    const std::string& MatchesCaption() const { return matchesCaption_; }

  private:
    // The panel's controls follow its width.
    void ResizeInfoPanel();
    // The check boxes' choices are remembered for the next run.
    void RememberChoice(ControlId box, bool checked);

    // Pieces of the commands.
    void MatchChosenFolder(const std::string& folder);
    void RunMatchingPass(const std::string& folder);
    MatchResult MatchPassFolder(const std::string& folder, const MatchHooks& hooks);
    MatchHooks MakeMatchHooks(ProgressPace& progress);
    void ShowMatchProgress(const std::string& text);
    void SetMatchesCaption(const std::string& caption);
    void RunTaggingPass();
    // Pieces of the tagging pass (WindowLogicTagging.cpp): only its stop and
    // closing the window act while it runs.
    void BeginTaggingPass();
    bool TaggingFileDue(ProgressPace& progress, std::size_t done, std::size_t total);
    // False when the program ends instead (the window was closed, or a signal came).
    bool EndTaggingPass(int stopSignal);
    void SetPassControlsEnabled(bool enabled);
    // The selection and check buttons act only on the list as shown.
    void SetListCommandsEnabled();
    void ReturnToList();
    void SetFolderButton(const std::string& folder);
    void SetFolderButtonCaption(const std::string& caption);
    void SetTagButtonCaption(const char* caption);
    // The checked count from the rows: its caption, and "Tag checked files"
    // enabled while at least one row is checked and no other pass runs.
    int CheckedCount() const;
    void CheckedRowsChanged();
    // Looks whether a tagging pass runs elsewhere; true when one does, with
    // "Tag checked files" disabled and the reason as its tooltip.
    bool OtherPassRuns();
    void SetOtherPassRunning(bool running);
    void RefuseForOtherPass();  // tells the user why the press did nothing
    void SetStepColours(bool stepOneCurrent);
    void CloseAnyViewer();

    // Pieces of the panel and the viewers.
    void ShowLyricsChoice(const ResultRow& row, const std::vector<int>& candidates);
    const LyricsEntry* EntryAt(int position) const;
    void OpenViewer(Pane viewer, const std::string& text);
    void CloseViewer();
    void ShowSortIndicator();

    ProgramValues& values_;
    WindowView& view_;
    WindowServices services_;
    WindowState state_;
    ListRows rows_;
    std::string panelMp3Path_;        // the bytes behind the panel's MP3 file name's tooltip
    std::string lastFolder_;          // the bytes behind the folder button's tooltip
    std::string matchesCaption_;      // the bytes of the matches label
    std::vector<int> choiceEntries_;  // the index entry behind each lyrics choice entry
    FirstPassReader firstPassReader_;
};

}  // namespace versemark
