// The song information panel: what a row click shows, and the choice among a
// file's candidate lyrics files, which rewrites the row's lyrics cell.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <charconv>

#include "matching/MatchFolder.h"
#include "platform/FileSystem.h"
#include "window/Controls.h"
#include "window/DisplayString.h"
#include "window/ResultListModel.h"
#include "window/WindowColours.h"
#include "window/WindowTexts.h"
#include "window/frmMain.h"

namespace versemark {
namespace {

// The lyrics choice looks for the filter marker in a lyrics file's last 51 bytes,
// and only in a file longer than 50 bytes.
constexpr std::size_t kChoiceTailSize = 51;
constexpr int kSharedFrom = 2;  // a MatchCount from which a lyrics file is shared

// The position a cell's tag value holds; -1 when it holds none.
int PositionFromTag(const std::string& tag) {
    int position = -1;
    const auto [end, error] = std::from_chars(tag.data(), tag.data() + tag.size(), position);
    return error == std::errc() && end == tag.data() + tag.size() ? position : -1;
}

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

    SetCaption(lblInfo[0], DisplayString(clicked.Mp3Cell.Text));
    lblInfo[0]->setToolTip(DisplayString(clicked.Mp3Path));
    panelMp3Path_ = clicked.Mp3Path;
    img[1]->setPixmap(imgListMain.Picture(clicked.LyricsCell.Icon));

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

    cmdDisplaySavedLyrics->setVisible(clicked.Mp3Cell.TextColour == TaggedFileColour);
    if (clicked.Mp3Cell.Icon == kPictureNewerTag) {
        img[4]->show();
        img[2]->hide();
    } else {
        img[4]->hide();
        img[2]->setVisible(clicked.Mp3Cell.Tag == kWithoutId3);
    }
    const LyricsEntry* chosen = EntryAt(PositionFromTag(clicked.LyricsCell.Tag));
    img[3]->setVisible(chosen != nullptr && chosen->MatchCount >= kSharedFrom);
}

void frmMain::ShowLyricsChoice(const ResultRow& row, const std::vector<int>& candidates) {
    // Filling the list makes entries current; that is not the user's choice.
    state_.FillingLyricsChoice = true;
    cboLyrics->clear();
    const int chosen = PositionFromTag(row.LyricsCell.Tag);
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

    Cell cell = listModel_->Rows().Row(static_cast<std::size_t>(row)).LyricsCell;
    cell.Text = entry->DisplayName;
    cell.Tag = std::to_string(position);
    const bool shared = entry->MatchCount >= kSharedFrom;
    cell.TextColour = shared ? SharedLyricsColour : kBlack;
    // A lyrics file that cannot be read counts as not filtered.
    cell.Icon = LyricsFileIsFiltered(entry->FilePath) ? kPictureFiltered : kPictureUnfiltered;
    listModel_->SetLyrics(row, cell, entry->FilePath);

    img[1]->setPixmap(imgListMain.Picture(cell.Icon));
    img[3]->setVisible(shared);
}

}  // namespace versemark
