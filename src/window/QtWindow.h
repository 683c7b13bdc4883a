// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "startup/ProgramValues.h"
#include "window/ImageList.h"
#include "window/TagSettings.h"
#include "windowlogic/WindowDesign.h"
#include "windowlogic/WindowLogic.h"
#include "windowlogic/WindowView.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace versemark {

class ResultListModel;
class ResultListView;

// The main window on Qt: the song information panel and the result list on the
// left, the three steps (browse, select, tag) in a column on the right. It is a
// view of the window logic: it creates the controls of the design, shows what
// the logic tells it and passes the user's events on. Controls carry their names
// as Qt object names (`Label1_2`, `cmdSel_5`, `fraFrames_3`, ...).
class QtWindow : public QWidget, public WindowView {
    Q_OBJECT

  public:
    // Without services.Settings the choices are remembered with QSettings.
    QtWindow(ProgramValues& values, WindowServices services, QWidget* parent = nullptr);
    ~QtWindow() override;

    WindowLogic& Logic() { return logic_; }
    const WindowState& State() const { return logic_.State(); }
    ListRows& Rows() { return logic_.Rows(); }
    const ResultListModel& ListModel() const { return *listModel_; }
    ResultListModel& ListModel() { return *listModel_; }
    QString MatchesCaption() const;

    // The handlers tests and the benchmark call directly.
    void cmdBrowseForFolder_Click() { logic_.cmdBrowseForFolder_Click(); }
    void cmdTagThem_Click() { logic_.cmdTagThem_Click(); }
    void list_ColumnClick(int column) { logic_.list_ColumnClick(column); }
    void cmdCheck_Click(int index) { logic_.cmdCheck_Click(index); }
    void cmdSel_Click(int index) { logic_.cmdSel_Click(index); }
    void list_ItemClick(int row) { logic_.list_ItemClick(row); }
    void Form_FolderDropped(const std::string& folder) { logic_.Form_FolderDropped(folder); }

    // WindowView.
    void SetCaption(Control control, std::string_view caption) override;
    void SetToolTip(Control control, std::string_view tip) override;
    void SetVisible(Control control, bool visible) override;
    void SetEnabled(Control control, bool enabled) override;
    void SetTextColour(Control control, Colour colour) override;
    void SetBold(Control control, bool bold) override;
    void SetChecked(Control control, bool checked) override;
    bool IsChecked(Control control) const override;
    void SetPicture(Control control, int picture) override;
    void Refresh(Control control) override;
    std::optional<Control> FocusedControl() const override;
    void SetFocus(Control control) override;
    TwipSize ClientSize() const override;
    TwipRect Geometry(Control control) const override;
    void SetGeometry(Control control, const TwipRect& twips) override;
    void SetLineEnd(Control line, int x2) override;
    void SetComboItems(Control combo, const std::vector<std::string>& items, int current) override;
    void SetViewerText(Control textBox, std::string_view text) override;
    void ListRowsAboutToReset() override;
    void ListRowsReset() override;
    void ListRowsAboutToMove() override;
    void ListRowsMoved(const std::vector<std::size_t>& newPositions) override;
    void ListRowsChanged(int first, int last) override;
    void ListCheckMarksChanged(int first, int last) override;
    void ShowSortIndicator(int column, SortOrder order, bool shown) override;
    std::vector<bool> SelectedRows() const override;
    void SelectRows(const std::vector<bool>& rows) override;
    int CurrentRow() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Building the controls.
    void CreateControls();
    QWidget* CreateControl(const ControlDesign& design, QWidget* container);
    void CreateList(const ControlDesign& design, QWidget* container);
    void ConnectControls();
    void SetTabOrder();

    QWidget* Widget(Control control) const;
    template <typename T>
    T* Widget(Control control) const {
        return qobject_cast<T*>(Widget(control));
    }

    TagSettings tagSettings_;
    ImageList imgListMain;
    std::map<Control, QWidget*> controls_;
    ResultListModel* listModel_ = nullptr;
    ResultListView* list = nullptr;
    QPlainTextEdit* txtViewLyrics = nullptr;
    QComboBox* cboLyrics = nullptr;
    // Last: the logic may act on the controls as soon as it exists.
    WindowLogic logic_;
};

}  // namespace versemark
