// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/UserPrompts.h"

#include <QFileDialog>
#include <QMessageBox>

#include "window/DisplayString.h"

namespace versemark {
namespace {

constexpr char kMessageTitle[] = "Versemark";

}  // namespace

void ShowLogMessage(const std::string& log) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kMessageTitle), DisplayString(log),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::string DialogPrompts::ChooseFolder(const std::string& instruction) {
    // Only file-system folders can be chosen; the dialog has an edit box and can be resized.
    const QString folder = QFileDialog::getExistingDirectory(owner_, DisplayString(instruction),
                                                             QString(), QFileDialog::ShowDirsOnly);
    return folder.isEmpty() ? std::string() : PathBytes(folder);
}

bool DialogPrompts::AskYesNo(const std::string& text, PromptIcon icon) {
    QMessageBox box(icon == PromptIcon::Question ? QMessageBox::Question : QMessageBox::NoIcon,
                    QString::fromLatin1(kMessageTitle), DisplayString(text),
                    QMessageBox::Yes | QMessageBox::No, owner_);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace versemark
