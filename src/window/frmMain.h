#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "matching/MatchFolder.h"
#include "startup/basMain.h"
#include "window/ImageList.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace versemark {

class ProgressPace;
class ResultListModel;
class ResultListView;
class UserPrompts;

// What the window needs from outside: who answers its questions, how pending
// events are processed while a pass runs, and how the program ends at once.
struct WindowServices {
    UserPrompts* Prompts = nullptr;       // not owned; must outlive the window
    std::function<void()> ProcessEvents;  // lets the window process pending events
    std::function<void()> EndProgram;     // ends the process at once
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
};

// The main window: the song information panel and the result list on the left,
// the three steps (browse, select, tag) in a column on the right. Controls carry
// their names as Qt object names (`Label1_2`, `cmdSel_5`, `fraFrames_3`, ...).
class frmMain : public QWidget {
    Q_OBJECT

  public:
    frmMain(ProgramValues& values, WindowServices services, QWidget* parent = nullptr);
    ~frmMain() override;

    // Window events.
    void Form_Load();
    void Form_Resize();
    void picInfo_Resize();
    void Form_Unload();

    // Folder and tagging commands.
    void cmdBrowseForFolder_Click();
    void cmdTagThem_Click();

    // Result list, check marks and filters.
    void list_ItemCheck(int row);
    void list_ColumnClick(int column);  // the header's 1-based position
    void cmdCheck_Click(int index);
    void cmdSel_Click(int index);

    // Song information panel and lyrics choice.
    void list_ItemClick(int row);
    void cboLyrics_Click();

    // Lyrics viewers.
    void cmdDisplayLyrics_Click();
    void cmdDisplaySavedLyrics_Click();

    // The keyboard: Space on the list checks or unchecks as a check-box click
    // does; Enter on a row shows its prepared lyrics; Escape closes a lyrics viewer.
    void list_KeySpace();
    void list_KeyEnter(int row);
    void txtViewLyrics_KeyEscape();

    // A local folder dropped on the window: matched as if chosen in the dialog.
    void Form_FolderDropped(const std::string& folder);

    // Start-up: the lyrics-count caption and the subfolder check box.
    void SetLyricsCountCaption(const std::string& caption);
    void SetSubfolders(bool checked);

    const WindowState& State() const { return state_; }
    const ResultListModel& ListModel() const { return *listModel_; }
    ResultListModel& ListModel() { return *listModel_; }
    QString MatchesCaption() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Building the controls.
    void CreateInfoFrame();
    void CreateBrowseFrame();
    void CreateSelectFrame();
    void CreateTagFrame();
    void CreateListAndViewer();
    void ConnectControls();
    void SetTabOrder();

    // Pieces of the commands.
    void MatchChosenFolder(const std::string& folder);
    void RunMatchingPass(const std::string& folder);
    MatchHooks MakeMatchHooks(ProgressPace& progress);
    void ShowMatchProgress(const std::string& text);
    void RunTaggingPass();
    void SetFolderButton(const std::string& folder);
    // The checked count from the row list: its caption, and "Tag checked files"
    // enabled while at least one row is checked.
    int CheckedCount() const;
    void CheckedRowsChanged();
    void SetStepColours(bool stepOneCurrent);
    void CloseAnyViewer();

    // Pieces of the list commands.
    std::vector<bool> SelectedRows() const;
    void SelectExactly(const std::vector<bool>& rows);
    void ShowSortIndicator();
    int CurrentRow() const;

    // Pieces of the panel and the viewers.
    void ShowLyricsChoice(const ResultRow& row, const std::vector<int>& candidates);
    const LyricsEntry* EntryAt(int position) const;
    QPushButton* ViewerButton(Pane viewer) const;
    void OpenViewer(Pane viewer, const std::string& text);
    void CloseViewer();

    ProgramValues& values_;
    WindowServices services_;
    WindowState state_;
    ImageList imgListMain;
    std::string panelMp3Path_;  // the bytes behind lblInfo_0's tooltip
    std::string lastFolder_;    // the bytes behind the folder button's tooltip
    ResultListModel* listModel_ = nullptr;

    // Frames and panels.
    std::array<QGroupBox*, 4> fraFrames{};
    std::array<QWidget*, 4> Picture1{};  // elements 0, 1 and 3
    QWidget* picInfo = nullptr;

    // Labels, pictures and rules.
    std::array<QLabel*, 11> Label1{};
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    std::array<QLabel*, 2> lblInfo{};
    std::array<QLabel*, 7> img{};
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QFrame* Line3 = nullptr;
    QFrame* Line4 = nullptr;

    // Commands.
    QPushButton* cmdBrowseForFolder = nullptr;
    QCheckBox* chkSubfolders = nullptr;
    std::array<QPushButton*, 7> cmdSel{};  // no element 4
    std::array<QPushButton*, 2> cmdCheck{};
    QPushButton* cmdTagThem = nullptr;
    QCheckBox* chkAlsoId3v2 = nullptr;  // only in a build that can write the frame
    QPushButton* cmdDisplayLyrics = nullptr;
    QPushButton* cmdDisplaySavedLyrics = nullptr;
    QComboBox* cboLyrics = nullptr;

    // The list and the viewer that takes its place.
    ResultListView* list = nullptr;
    QPlainTextEdit* txtViewLyrics = nullptr;
};

}  // namespace versemark
