// The two lyrics viewers: the lyrics as they will be stored, and the lyrics the
// MP3 file already carries. Each button toggles between its viewer and the list;
// its caption tells which way it works.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/FileSystem.h"
#include "tags/LyricsText.h"
#include "tags/SavedLyrics.h"
#include "window/Controls.h"
#include "window/DisplayString.h"
#include "window/ResultListModel.h"
#include "window/ResultListView.h"
#include "windowlogic/WindowTexts.h"
#include "window/frmMain.h"

namespace versemark {
namespace {

QString ListCaption(Pane viewer) {
    return QString::fromLatin1(viewer == Pane::PreparedLyrics ? texts::kDisplayLyrics
                                                              : texts::kDisplaySavedLyrics);
}

}  // namespace

void frmMain::cmdDisplayLyrics_Click() {
    if (state_.Shown == Pane::PreparedLyrics) {
        CloseViewer();
        return;
    }
    // Errors are not reported: an unreadable lyrics file shows the prepared empty text.
    std::string text;
    const int row = CurrentRow();
    if (row >= 0) {
        const std::string& path = listModel_->Rows().Row(static_cast<std::size_t>(row)).LyricsPath;
        text = ReadWholeFile(path).value_or(std::string());
    }
    PrepareStoredLyrics(text);
    OpenViewer(Pane::PreparedLyrics, text);
}

void frmMain::cmdDisplaySavedLyrics_Click() {
    if (state_.Shown == Pane::SavedLyrics) {
        CloseViewer();
        return;
    }
    const int row = CurrentRow();
    if (row < 0 || !listModel_->Rows().Row(static_cast<std::size_t>(row)).Tagged) {
        return;
    }
    // The file of the row clicked last, as the panel names it.
    OpenViewer(Pane::SavedLyrics, ReadSavedLyrics(panelMp3Path_));
}

QPushButton* frmMain::ViewerButton(Pane viewer) const {
    return viewer == Pane::PreparedLyrics ? cmdDisplayLyrics : cmdDisplaySavedLyrics;
}

void frmMain::OpenViewer(Pane viewer, const std::string& text) {
    txtViewLyrics->setPlainText(ViewerText(text));
    // The keyboard stays where the user was: the viewer takes the list's focus.
    const bool listHadFocus = list->hasFocus();
    list->hide();
    txtViewLyrics->show();
    if (listHadFocus) {
        txtViewLyrics->setFocus();
    }
    const Pane other = viewer == Pane::PreparedLyrics ? Pane::SavedLyrics : Pane::PreparedLyrics;
    SetButtonCaption(ViewerButton(viewer), QString::fromLatin1(texts::kReturnToList));
    SetBold(ViewerButton(viewer), true);
    SetBold(ViewerButton(other), false);
    SetButtonCaption(ViewerButton(other), ListCaption(other));
    state_.Shown = viewer;
}

void frmMain::CloseViewer() {
    const Pane viewer = state_.Shown;
    const bool viewerHadFocus = txtViewLyrics->hasFocus();
    list->show();
    txtViewLyrics->hide();
    txtViewLyrics->clear();
    if (viewerHadFocus) {
        list->setFocus();
    }
    SetBold(ViewerButton(viewer), false);
    SetButtonCaption(ViewerButton(viewer), ListCaption(viewer));
    state_.Shown = Pane::List;
}

}  // namespace versemark
