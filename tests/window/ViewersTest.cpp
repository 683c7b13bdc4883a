// SPDX-License-Identifier: GPL-3.0-or-later
// The two lyrics viewers: prepared lyrics and the lyrics saved in the MP3 file,
// their captions as state, and the viewer taking the list's place.
#include <QItemSelectionModel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "WindowTestSupport.h"
#include "base/Companion.h"
#include "support/RoadLibrary.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

const QString kMissingLyrics = QStringLiteral(
    "The lyrics3 tag is present, but the lyrics field is missing.\n"
    "You can insert the lyrics in this file safely.");

QString Credit() {
    return QString::fromStdString(std::string(companion::kCreditLineStart) +
                                  std::string(companion::kWebAddress) +
                                  std::string(companion::kCreditLineEnd));
}

// The road library matched, with extra files for the saved-lyrics viewer.
struct ViewerWindow {
    ViewerWindow() {
        road.Library.AddLyrics("Kappa - Empty Tag", FilteredLyrics("kappa"));
        road.Library.AddMp3("Kappa - Empty Tag.mp3",
                            PlainMp3().lyrics3v2({{"IND", "100"}, {"INF", "info"}}));
        road.Library.AddLyrics("Lambda - Cafe", "Caf\xE9 au lait\r\nna na");
        road.Library.AddMp3("Lambda - Cafe.mp3", PlainMp3());
        road.IndexInto(window.Values);
        window.Show();
        window.ChooseFolderAndMatch(road.Music());
    }

    void Click(std::string_view mp3) {
        auto* list = List();
        const QModelIndex index = list->model()->index(window.RowOf(mp3), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }
    QTreeView* List() { return window.Find<QTreeView>("list"); }
    QPlainTextEdit* Viewer() { return window.Find<QPlainTextEdit>("txtViewLyrics"); }
    QPushButton* Prepared() { return window.Button("cmdDisplayLyrics"); }
    QPushButton* Saved() { return window.Button("cmdDisplaySavedLyrics"); }

    RoadLibrary road;
    WindowUnderTest window;
};

}  // namespace

class ViewersTest : public QObject {
    Q_OBJECT

  private slots:
    void preparedLyricsOpenAndCloseTheViewer() {
        ViewerWindow viewer;
        viewer.Click(kAlpha);
        viewer.Prepared()->click();

        QCOMPARE(viewer.Viewer()->toPlainText(),
                 QString::fromStdString(FilteredLyrics("First words")).replace("\r\n", "\n") +
                     "\n" + Credit());
        QVERIFY(viewer.Viewer()->isVisible());
        QVERIFY(viewer.Viewer()->isReadOnly());
        QVERIFY(viewer.List()->isHidden());
        QCOMPARE(viewer.window.Caption("cmdDisplayLyrics"), QString("Return to list"));
        QVERIFY(viewer.Prepared()->font().bold());

        viewer.Prepared()->click();
        QVERIFY(viewer.List()->isVisible());
        QVERIFY(viewer.Viewer()->isHidden());
        QVERIFY(viewer.Viewer()->toPlainText().isEmpty());
        QCOMPARE(viewer.window.Caption("cmdDisplayLyrics"), QString("Display lyrics"));
        QVERIFY(!viewer.Prepared()->font().bold());
    }

    void savedLyricsReplaceThePreparedOnes() {
        ViewerWindow viewer;
        viewer.Click(kEpsilon);
        QVERIFY(!viewer.Saved()->isHidden());
        viewer.Prepared()->click();
        viewer.Saved()->click();

        QCOMPARE(viewer.Viewer()->toPlainText(), QString("old words"));
        QCOMPARE(viewer.window.Caption("cmdDisplaySavedLyrics"), QString("Return to list"));
        QVERIFY(viewer.Saved()->font().bold());
        QCOMPARE(viewer.window.Caption("cmdDisplayLyrics"), QString("Display lyrics"));
        QVERIFY(!viewer.Prepared()->font().bold());
        QVERIFY(viewer.List()->isHidden());

        viewer.Prepared()->click();  // and back the other way, directly
        QVERIFY(viewer.Viewer()->toPlainText().startsWith("Old words\n"));
        QCOMPARE(viewer.window.Caption("cmdDisplaySavedLyrics"),
                 QString("Display lyrics saved into this file"));
        QVERIFY(!viewer.Saved()->font().bold());

        viewer.Prepared()->click();
        QVERIFY(viewer.List()->isVisible());
        QVERIFY(viewer.Viewer()->isHidden());
    }

    void eightBitLyricsAreShownAsWindows1252() {
        ViewerWindow viewer;
        viewer.Click("Lambda - Cafe.mp3");
        viewer.Prepared()->click();
        QVERIFY(
            viewer.Viewer()->toPlainText().startsWith(QString::fromUtf8("Café au lait\nna na\n")));
    }
};

QTEST_MAIN(ViewersTest)
#include "ViewersTest.moc"
