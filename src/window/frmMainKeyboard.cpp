// The window by keyboard: the tab order through the three steps, Space on the
// list as a check-box click, Enter on a row for its lyrics, Escape out of a
// lyrics viewer.
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "window/Controls.h"
#include "window/ResultListModel.h"
#include "window/ResultListView.h"
#include "windowlogic/WindowTexts.h"
#include "window/frmMain.h"

namespace versemark {

void frmMain::SetTabOrder() {
    // Step one, the list (or the viewer in its place) with the panel that
    // describes its row, step two in reading order, step three.
    const std::vector<QWidget*> order = {cmdBrowseForFolder,
                                         chkSubfolders,
                                         list,
                                         txtViewLyrics,
                                         cboLyrics,
                                         cmdDisplayLyrics,
                                         cmdDisplaySavedLyrics,
                                         cmdSel[0],
                                         cmdSel[2],
                                         cmdCheck[0],
                                         cmdCheck[1],
                                         cmdSel[5],
                                         cmdSel[3],
                                         cmdSel[6],
                                         cmdSel[1],
                                         cmdTagThem};
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
    if (chkAlsoId3v2 != nullptr) {
        QWidget::setTabOrder(cmdTagThem, chkAlsoId3v2);
    }
    // Tab leaves the viewer instead of being ignored by it.
    txtViewLyrics->setTabChangesFocus(true);
    cmdBrowseForFolder->setFocus();
}

void frmMain::list_KeySpace() {
    const int current = CurrentRow();
    if (current < 0) {
        return;
    }
    // The current row flips; rows selected together with it follow it.
    const bool target = !listModel_->Rows().Row(static_cast<std::size_t>(current)).Checked;
    std::vector<bool> rows = SelectedRows();
    if (!rows[static_cast<std::size_t>(current)]) {
        rows.assign(rows.size(), false);
        rows[static_cast<std::size_t>(current)] = true;
    }
    listModel_->SetCheckMarks(rows, target);
    CheckedRowsChanged();
}

void frmMain::list_KeyEnter(int row) {
    // The panel describes the row first, so the viewer's "Return to list" is at hand.
    list_ItemClick(row);
    if (state_.Shown != Pane::PreparedLyrics) {
        cmdDisplayLyrics_Click();
    }
}

void frmMain::txtViewLyrics_KeyEscape() {
    // Only the lyrics viewers close this way; the tagging log asks a question first.
    if (state_.Shown == Pane::PreparedLyrics || state_.Shown == Pane::SavedLyrics) {
        CloseViewer();
    }
}

}  // namespace versemark
