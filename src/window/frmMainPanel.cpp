// The song information panel: what a row click shows, and the choice among a
// file's candidate lyrics files, which rewrites the row's lyrics cell.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "matching/MatchFolder.h"
#include "platform/FileSystem.h"
#include "window/Controls.h"
#include "window/DisplayString.h"
#include "window/ResultListModel.h"
#include "windowlogic/RowLook.h"
#include "window/WindowColours.h"
#include "windowlogic/WindowTexts.h"
#include "window/frmMain.h"

namespace versemark {
namespace {

// The lyrics choice looks for the filter marker in a lyrics file's last 51 bytes,
// and only in a file longer than 50 bytes.
constexpr std::size_t kChoiceTailSize = 51;
constexpr int kSharedFrom = 2;  // a MatchCount from which a lyrics file is shared

bool LyricsFileIsFiltered(const std::string& path) {
    const std::optional<std::string> tail = ReadFileTail(path, kChoiceTailSize);
    if (!tail || tail->size() < kChoiceTailSize) {
        return false;
    }
    return IsFilteredTail(*tail);
}

}  // namespace

const LyricsEntry* frmMain::EntryAt(int position) const {
    if (position < 0 || position >= values_.Index.LyricsCount()) {
        return nullptr;
    }
    return &values_.Index.Entries[static_cast<std::size_t>(position)];
}

void frmMain::list_ItemClick(int row) {
    if (row < 0 || row >= listModel_->rowCount()) {
        return;
    }
    const ResultRow& clicked = listModel_->Rows().Row(static_cast<std::size_t>(row));
    picInfo->show();

    SetCaption(lblInfo[0], DisplayString(clicked.Mp3Name));
    lblInfo[0]->setToolTip(DisplayString(clicked.Mp3Path));
    panelMp3Path_ = clicked.Mp3Path;
    img[1]->setPixmap(imgListMain.Picture(LyricsPicture(clicked)));

    const std::vector<int>& candidates = clicked.Candidates;
    if (candidates.size() <= 1) {
        const LyricsEntry* entry = candidates.empty() ? nullptr : EntryAt(candidates.front());
        SetCaption(lblInfo[1], entry != nullptr ? DisplayString(entry->DisplayName) : QString());
        lblInfo[1]->show();
        SetCaption(Label1[5], QString::fromLatin1(texts::kLyricsCaption));
        SetTextColour(Label1[5], kSystemButtonText);
        cboLyrics->hide();
    } else {
        lblInfo[1]->hide();
        SetCaption(Label1[5], QString::fromLatin1(texts::kLyricsCountStart) +
                                  QString::number(candidates.size()) +
                                  QString::fromLatin1(texts::kLyricsCountEnd));
        SetTextColour(Label1[5], kRed);
        ShowLyricsChoice(clicked, candidates);
    }

    cmdDisplaySavedLyrics->setVisible(clicked.Tagged);
    if (clicked.NewerTag) {
        img[4]->show();
        img[2]->hide();
    } else {
        img[4]->hide();
        img[2]->setVisible(clicked.WithoutId3);
    }
    const LyricsEntry* chosen = EntryAt(clicked.LyricsPosition);
    img[3]->setVisible(chosen != nullptr && chosen->MatchCount >= kSharedFrom);
}

void frmMain::ShowLyricsChoice(const ResultRow& row, const std::vector<int>& candidates) {
    // Filling the list makes entries current; that is not the user's choice.
    state_.FillingLyricsChoice = true;
    cboLyrics->clear();
    const int chosen = row.LyricsPosition;
    int current = -1;
    for (const int position : candidates) {
        const LyricsEntry* entry = EntryAt(position);
        cboLyrics->addItem(entry != nullptr ? DisplayString(entry->DisplayName) : QString(),
                           position);
        if (position == chosen) {
            current = cboLyrics->count() - 1;
        }
    }
    cboLyrics->setCurrentIndex(current);
    cboLyrics->show();
    state_.FillingLyricsChoice = false;
}

void frmMain::cboLyrics_Click() {
    if (state_.FillingLyricsChoice) {
        return;
    }
    const int row = CurrentRow();
    const int choice = cboLyrics->currentIndex();
    if (row < 0 || choice < 0) {
        return;
    }
    const int position = cboLyrics->itemData(choice).toInt();
    const LyricsEntry* entry = EntryAt(position);
    if (entry == nullptr) {
        return;
    }

    ResultListModel::LyricsChoice chosen;
    chosen.Path = entry->FilePath;
    chosen.Name = entry->DisplayName;
    chosen.Position = position;
    chosen.Shared = entry->MatchCount >= kSharedFrom;
    // A lyrics file that cannot be read counts as not filtered.
    chosen.Filtered = LyricsFileIsFiltered(entry->FilePath);
    listModel_->SetLyrics(row, chosen);

    img[1]->setPixmap(
        imgListMain.Picture(LyricsPicture(listModel_->Rows().Row(static_cast<std::size_t>(row)))));
    img[3]->setVisible(chosen.Shared);
}

}  // namespace versemark
