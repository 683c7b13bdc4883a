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
// the view passes the user's events to the handlers below, named after the
// controls and events they answer.
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

// Window-level values; the captions only show them.
struct WindowState {
    Pane Shown = Pane::List;
    bool StopMatching = false;         // the stop request of a running pass
    bool FillingLyricsChoice = false;  // a row click is filling cboLyrics
    bool PassRunning = false;          // a matching pass runs (it yields to events)
    bool OtherPassRunning = false;     // "Tag checked files" disabled for another pass
    bool TaggingRunning = false;       // a tagging pass runs (it yields to events)
    bool StopTagging = false;          // the stop request of a running tagging pass
    bool CloseAfterTagging = false;    // the window was closed during the tagging pass
};

class WindowLogic {
  public:
    // `values` and `view` must outlive the logic. Nothing is shown before Form_Load.
    WindowLogic(ProgramValues& values, WindowView& view, WindowServices services);
    ~WindowLogic();
    WindowLogic(const WindowLogic&) = delete;
    WindowLogic& operator=(const WindowLogic&) = delete;

    // Window events. The view calls Form_Load once its controls exist at their
    // design places, Form_Resize after every change of its size, Form_Unload
    // when it is asked to close. Form_Unload returns false while a tagging pass
    // finishes the file it writes: the window stays open, and the program ends
    // when the pass has stopped.
    void Form_Load();
    void Form_Resize();
    void picInfo_Resize();
    bool Form_Unload();

    // Folder and tagging commands. A press of the folder button during a
    // matching pass, or of the tagging button during a tagging pass, is that
    // pass's stop request.
    void cmdBrowseForFolder_Click();
    void cmdTagThem_Click();
    // The user changed "also write the lyrics as an ID3v2 lyrics frame": the
    // choice is remembered for the next run.
    void chkAlsoId3v2_Click(bool checked);
    void chkAllFormats_Click(bool checked);
    void chkBesideFile_Click(bool checked);

    // Result list, check marks and filters.
    // The user's click on a row's check box: `checked` is its new mark.
    void list_ItemCheck(int row, bool checked);
    void list_ColumnClick(int column);  // the header's 1-based position
    void cmdCheck_Click(int index);
    void cmdSel_Click(int index);

    // Song information panel and lyrics choice.
    void list_ItemClick(int row);
    // The entry of cboLyrics the user chose (0-based; -1 none).
    void cboLyrics_Click(int choice);

    // Lyrics viewers.
    void cmdDisplayLyrics_Click();
    void cmdDisplaySavedLyrics_Click();

    // The keyboard: Space on the list checks or unchecks as a check-box click
    // does; Enter on a row shows its prepared lyrics; Escape closes a lyrics viewer.
    void list_KeySpace();
    void list_KeyEnter(int row);
    void txtViewLyrics_KeyEscape();

    // A local folder dropped on the window: matched as if chosen in the dialog.
    // CanTakeDrop says whether a drop is taken now (not while a pass runs).
    bool CanTakeDrop() const;
    void Form_FolderDropped(const std::string& folder);
    // A folder a second start of the program handed over: matched, with its
    // subfolders choice, when the user agrees; while a pass runs, only a message.
    void Form_FolderHandedOver(const std::string& folder, bool subfolders);

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
    std::string panelMp3Path_;        // the bytes behind lblInfo_0's tooltip
    std::string lastFolder_;          // the bytes behind the folder button's tooltip
    std::string matchesCaption_;      // the bytes of Label1_1
    std::vector<int> choiceEntries_;  // the index entry behind each cboLyrics entry
    FirstPassReader firstPassReader_;
};

}  // namespace versemark
