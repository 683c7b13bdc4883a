// SPDX-License-Identifier: GPL-3.0-or-later
// A folder dropped on the window from a file manager: matched as if chosen in
// the folder dialog; files, remote items and drops during a pass are refused.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "WindowTestSupport.h"
#include "support/RoadLibrary.h"
#include "window/ResultListModel.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

constexpr Qt::DropActions kFileManagerActions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

struct DropOutcome {
    bool EnterAccepted = false;
    bool DropAccepted = false;
    Qt::DropAction Action = Qt::IgnoreAction;
};

// Drags the items onto the window and lets go, as a file manager does.
DropOutcome DragAndDrop(QWidget& window, const QList<QUrl>& items,
                        Qt::DropActions actions = kFileManagerActions) {
    QMimeData data;
    data.setUrls(items);
    const QPoint where(window.width() / 2, window.height() / 2);
    DropOutcome outcome;
    QDragEnterEvent enter(where, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    outcome.EnterAccepted = enter.isAccepted();
    QDropEvent drop(where, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    outcome.DropAccepted = drop.isAccepted();
    outcome.Action = drop.dropAction();
    return outcome;
}

QUrl Local(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path));
}

struct DropWindow {
    DropWindow() {
        road.IndexInto(window.Values);
        window.Show();
    }
    QString FolderCaption() { return window.Caption("cmdBrowseForFolder"); }

    RoadLibrary road;
    WindowUnderTest window;
};

}  // namespace

class FolderDropTest : public QObject {
    Q_OBJECT

  private slots:
    void aDroppedFolderIsMatchedWithoutTheDialog() {
        DropWindow drop;
        WindowUnderTest& window = drop.window;
        // File managers end a folder's address with a slash; the folder is the same.
        const DropOutcome outcome = DragAndDrop(window.Form(), {Local(drop.road.Music() + "/")});
        QVERIFY(outcome.EnterAccepted);
        QVERIFY(outcome.DropAccepted);
        QCOMPARE(outcome.Action, Qt::CopyAction);  // only read, never moved

        QTRY_COMPARE(window.Text("Label1_1"), QString("Matches: 6 / 7 (85.7%)"));
        QCOMPARE(window.Prompts.FolderDialogs, 0);
        QCOMPARE(window.Form().ListModel().rowCount(), 6);
        QCOMPARE(drop.FolderCaption(), QString::fromStdString(drop.road.Music()));
        QCOMPARE(window.Button("cmdBrowseForFolder")->toolTip(),
                 QString::fromStdString(drop.road.Music()));
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 2"));
        QVERIFY(window.Button("cmdTagThem")->isEnabled());
        QVERIFY(window.Button("cmdBrowseForFolder")->isEnabled());
        QVERIFY(!window.Form().State().PassRunning);
    }

    void theFirstLocalFolderAmongSeveralItemsIsTaken() {
        DropWindow drop;
        WindowUnderTest& window = drop.window;
        const std::string sub = drop.road.Music() + "/sub";
        const DropOutcome outcome = DragAndDrop(
            window.Form(), {Local(drop.road.AlphaMp3), QUrl("https://example.org/music/"),
                            Local(sub), Local(drop.road.Music())});
        QVERIFY(outcome.DropAccepted);
        QTRY_COMPARE(drop.FolderCaption(), QString::fromStdString(sub));
        QCOMPARE(window.Form().ListModel().rowCount(), 1);
        QCOMPARE(window.RowOf(kGamma), 0);
    }

    void filesRemoteItemsAndMissingFoldersAreRefused() {
        DropWindow drop;
        WindowUnderTest& window = drop.window;
        const std::vector<QList<QUrl>> refused = {
            {Local(drop.road.AlphaMp3)},
            {QUrl("https://example.org/music/"), QUrl("sftp://host/home/music")},
            {Local(drop.road.Music() + "/no such folder")},
            {},
        };
        for (const QList<QUrl>& items : refused) {
            const DropOutcome outcome = DragAndDrop(window.Form(), items);
            QVERIFY(!outcome.EnterAccepted);
            QVERIFY(!outcome.DropAccepted);
        }
        QTest::qWait(50);
        QCOMPARE(drop.FolderCaption(), QString("..."));
        QCOMPARE(window.Text("Label1_1"), QString("Matches: ..."));
        QCOMPARE(window.ProcessEventsCalls, 0);
    }

    void aSourceThatOnlyMovesIsRefused() {
        DropWindow drop;
        const DropOutcome moveOnly =
            DragAndDrop(drop.window.Form(), {Local(drop.road.Music())}, Qt::MoveAction);
        QVERIFY(!moveOnly.EnterAccepted);
        QVERIFY(!moveOnly.DropAccepted);
        const DropOutcome link =
            DragAndDrop(drop.window.Form(), {Local(drop.road.Music())}, Qt::LinkAction);
        QVERIFY(link.DropAccepted);
        QCOMPARE(link.Action, Qt::LinkAction);
        QTRY_COMPARE(drop.FolderCaption(), QString::fromStdString(drop.road.Music()));
    }

    void nothingIsDroppedWhileAPassRuns() {
        DropWindow drop;
        WindowUnderTest& window = drop.window;
        const std::string sub = drop.road.Music() + "/sub";
        DropOutcome during;
        window.OnProcessEvents = [&](int call) {
            if (call == 1) {
                during = DragAndDrop(window.Form(), {Local(sub)});
            }
        };
        window.ChooseFolderAndMatch(drop.road.Music());
        QVERIFY(!during.EnterAccepted);
        QVERIFY(!during.DropAccepted);
        QTest::qWait(50);
        QCOMPARE(drop.FolderCaption(), QString::fromStdString(drop.road.Music()));
        QCOMPARE(window.Form().ListModel().rowCount(), 6);
    }

    void aDropReplacesTheCommandLineFolderForThisPass() {
        DropWindow drop;
        WindowUnderTest& window = drop.window;
        window.Values.Config.Folder = drop.road.Music() + "/sub";
        QVERIFY(DragAndDrop(window.Form(), {Local(drop.road.Music())}).DropAccepted);
        QTRY_COMPARE(window.Form().ListModel().rowCount(), 6);
        QCOMPARE(window.Prompts.FolderDialogs, 0);
    }

    void aDropOverTheTaggingLogReturnsToTheList() {
        DropWindow drop;
        WindowUnderTest& window = drop.window;
        window.ChooseFolderAndMatch(drop.road.Music());
        window.Prompts.Answers.push_back(true);
        window.Button("cmdTagThem")->click();
        QCOMPARE(window.Caption("cmdTagThem"), QString("Return to list"));

        QVERIFY(DragAndDrop(window.Form(), {Local(drop.road.Music() + "/sub")}).DropAccepted);
        QTRY_COMPARE(window.Form().ListModel().rowCount(), 1);
        QCOMPARE(window.Caption("cmdTagThem"), QString("Tag checked files"));
        QVERIFY(window.Find<QWidget>("txtViewLyrics")->isHidden());
        QVERIFY(window.Find<QWidget>("list")->isVisible());
    }
};

QTEST_MAIN(FolderDropTest)
#include "FolderDropTest.moc"
