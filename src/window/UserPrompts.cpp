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

std::string DialogPrompts::ChooseFolder(QWidget* owner, const QString& instruction) {
    // Only file-system folders can be chosen; the dialog has an edit box and can be resized.
    const QString folder =
        QFileDialog::getExistingDirectory(owner, instruction, QString(), QFileDialog::ShowDirsOnly);
    return folder.isEmpty() ? std::string() : PathBytes(folder);
}

bool DialogPrompts::AskYesNo(QWidget* owner, const QString& text, PromptIcon icon) {
    QMessageBox box(icon == PromptIcon::Question ? QMessageBox::Question : QMessageBox::NoIcon,
                    QString::fromLatin1(kMessageTitle), text, QMessageBox::Yes | QMessageBox::No,
                    owner);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace versemark
