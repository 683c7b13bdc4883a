// The folder command (choose a folder, match it, stop the pass) and the tagging
// command (confirm, tag, show the log, return to the list and refresh it).
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include "platform/Registry.h"
#include "tagging/TaggingPass.h"
#include "window/Controls.h"
#include "window/DisplayString.h"
#include "windowlogic/PassPace.h"
#include "window/ResultListModel.h"
#include "window/ResultListView.h"
#include "window/UserPrompts.h"
#include "window/WindowColours.h"
#include "windowlogic/WindowTexts.h"
#include "window/frmMain.h"

namespace versemark {
namespace {

constexpr std::string_view kPhaseTwoProgress = "Parsing: ";

}  // namespace

void frmMain::cmdBrowseForFolder_Click() {
    // A press during the pass is the stop request. The button stays disabled
    // until the pass ends, so that no second pass can start inside this one.
    if (state_.PassRunning) {
        state_.StopMatching = true;
        SetButtonCaption(cmdBrowseForFolder, cmdBrowseForFolder->toolTip());
        cmdBrowseForFolder->setEnabled(false);
        return;
    }

    // The companion's folder as this program reaches it (a Windows path under Wine).
    std::string folder = NativeFromWindowsPath(values_.Config.CmdFolder);
    if (folder.empty() && services_.Prompts != nullptr) {
        folder = services_.Prompts->ChooseFolder(this, QString::fromLatin1(texts::kSelectFolder));
    }
    MatchChosenFolder(folder);
}

void frmMain::MatchChosenFolder(const std::string& folder) {
    if (folder.empty()) {
        return;
    }
    CloseAnyViewer();
    SetTextColour(Label1[1], kBlack);
    SetCaption(Label1[1], QString::fromLatin1(kMatchesPending));
    picInfo->hide();
    SetButtonCaption(cmdBrowseForFolder, QString::fromLatin1(texts::kStopMatching));
    RunMatchingPass(folder);

    SetFolderButton(folder);
    CheckedRowsChanged();
    SetStepColours(false);
}

void frmMain::cmdTagThem_Click() {
    if (state_.Shown == Pane::Log) {
        txtViewLyrics->hide();
        txtViewLyrics->clear();
        state_.Shown = Pane::List;
        const bool refresh = services_.Prompts != nullptr &&
                             services_.Prompts->AskYesNo(
                                 this, QString::fromLatin1(texts::kAskRefresh), PromptIcon::None);
        if (refresh) {
            cmdTagThem->setEnabled(false);
            SetCaption(Label1[1], QString::fromLatin1(kMatchesPending));
            picInfo->hide();
            SetButtonCaption(cmdBrowseForFolder, QString::fromLatin1(texts::kStopMatching));
            RunMatchingPass(lastFolder_);
            SetButtonCaption(cmdBrowseForFolder, cmdBrowseForFolder->toolTip());
            CheckedRowsChanged();
        } else {
            SetStepColours(true);
            list->show();
        }
        SetButtonCaption(cmdTagThem, QString::fromLatin1(texts::kTagCheckedFiles));
        return;
    }

    const int count = CheckedCount();
    if (count <= 0) {
        return;
    }
    const QString question =
        QString::fromLatin1(texts::kConfirmTagStart) + QString::number(count) +
        QString::fromLatin1(count == 1 ? texts::kConfirmTagOne : texts::kConfirmTagMany);
    if (services_.Prompts != nullptr &&
        services_.Prompts->AskYesNo(this, question, PromptIcon::Question)) {
        RunTaggingPass();
    }
}

void frmMain::RunMatchingPass(const std::string& folder) {
    // The pass hides the list and disables the folder button and the subfolder
    // box, which sends the keyboard focus on to step two; it comes back after.
    const QPointer<QWidget> focused = focusWidget();
    state_.PassRunning = true;
    list->hide();
    listModel_->BeginPass();
    chkSubfolders->setEnabled(false);

    // The labels follow the pass at a steady pace, not at every file.
    ProgressPace progress([this](const std::string& text) { ShowMatchProgress(text); });
    const MatchResult result = MatchFolder(folder, chkSubfolders->isChecked(), values_.Index,
                                           listModel_->PassRows(), MakeMatchHooks(progress));
    progress.Finish();

    SetCaption(Label1[1], DisplayString(result.Label));
    if (result.LabelColour == kRed) {
        SetTextColour(Label1[1], kRed);
    }
    listModel_->EndPass();
    ShowSortIndicator();
    list->show();
    cmdBrowseForFolder->setEnabled(true);
    chkSubfolders->setEnabled(true);
    state_.StopMatching = false;
    state_.PassRunning = false;
    if (focused && focused != focusWidget() && focused->isVisibleTo(this) && focused->isEnabled()) {
        focused->setFocus();
    }
}

MatchHooks frmMain::MakeMatchHooks(ProgressPace& progress) {
    MatchHooks hooks;
    hooks.SetLabel = [&progress](const std::string& text) { progress.Show(text); };
    hooks.ProcessEvents = [this] {
        if (services_.ProcessEvents) {
            services_.ProcessEvents();
        }
    };
    hooks.StopRequested = [this] { return state_.StopMatching; };
    hooks.PhaseOneEnded = [this, &progress] {
        progress.Finish();  // the count of the last file
        state_.StopMatching = false;
        cmdBrowseForFolder->setEnabled(false);
    };
    return hooks;
}

void frmMain::ShowMatchProgress(const std::string& text) {
    SetCaption(Label1[1], DisplayString(text));
    // Phase 2 yields only every 50 rows; its progress is drawn when shown.
    if (text.starts_with(kPhaseTwoProgress)) {
        Label1[1]->repaint();
    }
}

void frmMain::RunTaggingPass() {
    TaggingOptions options;
    options.Folder = lastFolder_;
    options.Tag.AlsoId3v2 = chkAlsoId3v2 != nullptr && chkAlsoId3v2->isChecked();
    const std::optional<TaggingOutcome> outcome = TagCheckedRows(listModel_->Rows(), options);
    if (!outcome) {
        return;
    }
    if (!outcome->Recovered.empty()) {
        ShowLogMessage(RecoveryText(outcome->Recovered));
    }
    // A signal that stopped the pass early leaves the log of what was done.
    const std::string log = TaggingLog(outcome->Results);
    // The log takes the viewer: neither lyrics viewer is open any more.
    CloseAnyViewer();
    txtViewLyrics->setPlainText(ViewerText(log));
    list->hide();
    txtViewLyrics->show();
    picInfo->hide();
    SetButtonCaption(cmdTagThem, QString::fromLatin1(texts::kReturnToList));
    state_.Shown = Pane::Log;
}

void frmMain::CloseAnyViewer() {
    if (state_.Shown == Pane::PreparedLyrics || state_.Shown == Pane::SavedLyrics) {
        CloseViewer();
    } else if (state_.Shown == Pane::Log) {
        txtViewLyrics->hide();
        txtViewLyrics->clear();
        SetButtonCaption(cmdTagThem, QString::fromLatin1(texts::kTagCheckedFiles));
        state_.Shown = Pane::List;
    }
}

void frmMain::SetFolderButton(const std::string& folder) {
    lastFolder_ = folder;
    const QString shown = DisplayString(folder);
    SetButtonCaption(cmdBrowseForFolder, shown);
    cmdBrowseForFolder->setToolTip(shown);
}

void frmMain::SetStepColours(bool stepOneCurrent) {
    SetTextColour(Label1[8], stepOneCurrent ? kCurrentStepColour : kOtherStepColour);
    SetTextColour(Label1[9], stepOneCurrent ? kOtherStepColour : kCurrentStepColour);
    SetTextColour(Label1[10], stepOneCurrent ? kOtherStepColour : kCurrentStepColour);
}

}  // namespace versemark
