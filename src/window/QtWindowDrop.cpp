// SPDX-License-Identifier: GPL-3.0-or-later
// A folder dragged from a file manager onto the window is matched as if it had
// been chosen in the folder dialog.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <optional>

#include "window/DisplayString.h"
#include "window/QtWindow.h"

namespace versemark {
namespace {

// The first item that is a folder on this machine; files, remote addresses and
// anything else are passed over.
std::optional<QString> FirstLocalFolder(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return std::nullopt;
    }
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            continue;
        }
        const QString path = QDir::cleanPath(url.toLocalFile());
        if (QFileInfo(path).isDir()) {
            return path;
        }
    }
    return std::nullopt;
}

// The folder is only read, never moved: a drop is taken as a copy, or as a link
// when the source offers no copy. A source that offers only a move is refused,
// so that it cannot take the drop for a finished move.
bool OfferAsCopyOrLink(QDropEvent* event) {
    if (event->possibleActions() & Qt::CopyAction) {
        event->setDropAction(Qt::CopyAction);
        return true;
    }
    if (event->possibleActions() & Qt::LinkAction) {
        event->setDropAction(Qt::LinkAction);
        return true;
    }
    return false;
}

}  // namespace

void QtWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (logic_.CanTakeDrop() && FirstLocalFolder(event->mimeData()) && OfferAsCopyOrLink(event)) {
        event->accept();
        return;
    }
    event->ignore();
}

void QtWindow::dropEvent(QDropEvent* event) {
    const std::optional<QString> folder = FirstLocalFolder(event->mimeData());
    if (!logic_.CanTakeDrop() || !folder || !OfferAsCopyOrLink(event)) {
        event->ignore();
        return;
    }
    event->accept();
    // The pass runs after the drop has returned to the file manager, which would
    // otherwise wait for it to end.
    const std::string bytes = PathBytes(*folder);
    QMetaObject::invokeMethod(
        this, [this, bytes] { logic_.FolderDropped(bytes); }, Qt::QueuedConnection);
}

}  // namespace versemark
