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
#include "window/WindowTexts.h"
#include "window/frmMain.h"

namespace versemark {
namespace {

QString ListCaption(const QPushButton* button, const QPushButton* displayLyrics) {
    return QString::fromLatin1(button == displayLyrics ? texts::kDisplayLyrics
                                                       : texts::kDisplaySavedLyrics);
}

}  // namespace

void frmMain::cmdDisplayLyrics_Click() {
    if (ButtonCaption(cmdDisplayLyrics) == QLatin1String(texts::kReturnToList)) {
        CloseViewer(cmdDisplayLyrics);
        return;
    }
    // Errors are not reported: an unreadable lyrics file shows the prepared empty text.
    std::string text;
    const int row = CurrentRow();
    if (row >= 0) {
        const std::string& path =
            listModel_->Rows().Row(static_cast<std::size_t>(row)).LyricsCell.ToolTip;
        text = ReadWholeFile(path).value_or(std::string());
    }
    PrepareStoredLyrics(text);
    OpenViewer(cmdDisplayLyrics, text);
}

void frmMain::cmdDisplaySavedLyrics_Click() {
    if (ButtonCaption(cmdDisplaySavedLyrics) == QLatin1String(texts::kReturnToList)) {
        CloseViewer(cmdDisplaySavedLyrics);
        return;
    }
    const int row = CurrentRow();
    if (row < 0 || listModel_->Rows().Row(static_cast<std::size_t>(row)).Mp3Cell.TextColour !=
                       TaggedFileColour) {
        return;
    }
    // The file of the row clicked last, as the panel names it.
    OpenViewer(cmdDisplaySavedLyrics, ReadSavedLyrics(panelMp3Path_));
}

void frmMain::OpenViewer(QPushButton* opened, const std::string& text) {
    txtViewLyrics->setPlainText(ViewerText(text));
    // The keyboard stays where the user was: the viewer takes the list's focus.
    const bool listHadFocus = list->hasFocus();
    list->hide();
    txtViewLyrics->show();
    if (listHadFocus) {
        txtViewLyrics->setFocus();
    }
    QPushButton* other = opened == cmdDisplayLyrics ? cmdDisplaySavedLyrics : cmdDisplayLyrics;
    SetButtonCaption(opened, QString::fromLatin1(texts::kReturnToList));
    SetBold(opened, true);
    SetBold(other, false);
    SetButtonCaption(other, ListCaption(other, cmdDisplayLyrics));
}

void frmMain::CloseViewer(QPushButton* pressed) {
    const bool viewerHadFocus = txtViewLyrics->hasFocus();
    list->show();
    txtViewLyrics->hide();
    txtViewLyrics->clear();
    if (viewerHadFocus) {
        list->setFocus();
    }
    SetBold(pressed, false);
    SetButtonCaption(pressed, ListCaption(pressed, cmdDisplayLyrics));
}

}  // namespace versemark
