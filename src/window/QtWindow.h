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
// the logic tells it and passes the user's events on. Controls carry their design
// names as Qt object names (`Label1_2`, `cmdSel_5`, `fraFrames_3`, ...).
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

    // WindowView.
    void SetCaption(ControlId control, std::string_view caption) override;
    void SetToolTip(ControlId control, std::string_view tip) override;
    void SetVisible(ControlId control, bool visible) override;
    void SetEnabled(ControlId control, bool enabled) override;
    void SetTextColour(ControlId control, Colour colour) override;
    void SetBold(ControlId control, bool bold) override;
    void SetChecked(ControlId control, bool checked) override;
    bool IsChecked(ControlId control) const override;
    void SetPicture(ControlId control, int picture) override;
    void Refresh(ControlId control) override;
    std::optional<ControlId> FocusedControl() const override;
    void SetFocus(ControlId control) override;
    TwipSize ClientSize() const override;
    TwipRect Geometry(ControlId control) const override;
    void SetGeometry(ControlId control, const TwipRect& twips) override;
    void SetLineEnd(ControlId line, int x2) override;
    void SetComboItems(ControlId combo, const std::vector<std::string>& items,
                       int current) override;
    void SetViewerText(ControlId textBox, std::string_view text) override;
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

    QWidget* Widget(ControlId control) const;
    template <typename T>
    T* Widget(ControlId control) const {
        return qobject_cast<T*>(Widget(control));
    }

    TagSettings tagSettings_;
    ImageList pictures_;
    std::map<ControlId, QWidget*> controls_;
    ResultListModel* listModel_ = nullptr;
    ResultListView* list_ = nullptr;
    QPlainTextEdit* viewer_ = nullptr;
    QComboBox* lyricsChoice_ = nullptr;
    // Last: the logic may act on the controls as soon as it exists.
    WindowLogic logic_;
};

}  // namespace versemark
