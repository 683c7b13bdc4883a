// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include "startup/RunConfig.h"
#include "window/HandOverMessage.h"

class QLocalSocket;
class QWidget;

// A second start of the program in run mode 0 or 2 hands itself over to the open
// window through a local socket beside the single-instance lock: the window comes
// to the front and, for a folder, asks whether to match it.
namespace versemark {

class WindowLogic;

// The folder of the single-instance lock and of the hand-over socket: the user's
// runtime folder, or the folder VERSEMARK_LOCK_DIR names; made when missing.
QString RunningCopyFolder();

// A second start's side: hands the run over to the window listening in `folder`.
// True when the window took it in time; false for a one-file run, and when no
// window listens or it does not answer (another copy's one-file run, a copy
// still starting or an older one).
bool HandOverToOpenWindow(const RunConfig& config, const QString& folder);

// The open window's side: takes hand-overs while it lives, reading them without
// ever waiting in the window's event loop.
class SecondStartListener final : public QObject {
    Q_OBJECT

  public:
    SecondStartListener(QWidget& window, WindowLogic& logic);

    // Listens in `folder`, over a socket a crashed copy may have left there (the
    // caller holds the single-instance lock). False when it cannot listen.
    bool Listen(const QString& folder);

  private:
    void Accept();
    void Read(QLocalSocket* socket);
    void Take(const handover::HandOver& handOver);

    QWidget& window_;
    WindowLogic& logic_;
    QLocalServer server_;
};

}  // namespace versemark
