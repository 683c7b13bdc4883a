// SPDX-License-Identifier: GPL-3.0-or-later
// The song information panel: what a row click shows, and the choice among
// several lyrics files, which rewrites the row's lyrics cell.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "WindowTestSupport.h"
#include "support/RoadLibrary.h"
#include "support/SampleRows.h"
#include "window/ImageList.h"
#include "window/ResultListModel.h"
#include "window/WindowColours.h"
#include "windowlogic/RowLook.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

bool Shows(const QLabel* picture, int number) {
    return picture->pixmap().toImage() == ImageList().Picture(number).toImage();
}

// A window whose index has four lyrics files and whose list has rows made by hand.
struct PanelWindow {
    PanelWindow() { AddFourLyricsEntries(window.Values, library); }

    ResultRow Row(std::string mp3, std::vector<int> candidates, int chosen) {
        return RowWithCandidates(window.Values, library, std::move(mp3), std::move(candidates),
                                 chosen);
    }

    void Fill(std::vector<ResultRow> rows) {
        FillRows(window.Form().Rows(), std::move(rows));
        window.Show();
    }

    void Click(std::string_view mp3) {
        auto* list = window.Find<QTreeView>("list");
        const QModelIndex index = list->model()->index(window.RowOf(mp3), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }

    QComboBox* Combo() { return window.Find<QComboBox>("cboLyrics"); }
    QLabel* Picture(int element) { return window.Label(QString("img_%1").arg(element)); }
    bool Visible(const char* name) { return !window.Find<QWidget>(name)->isHidden(); }

    SongLibrary library;
    WindowUnderTest window;
};

}  // namespace

class InfoPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void aRowWithOneLyricsFile() {
        PanelWindow panel;
        ResultRow row = panel.Row("One.mp3", {0}, 0);
        row.WithoutId3 = true;
        panel.Fill({row});
        panel.Click("One.mp3");

        WindowUnderTest& window = panel.window;
        QVERIFY(panel.Visible("picInfo"));
        QCOMPARE(window.Text("lblInfo_0"), QString("One.mp3"));
        QCOMPARE(window.Label("lblInfo_0")->toolTip(), QString::fromStdString(row.Mp3Path));
        QVERIFY(Shows(panel.Picture(1), 1));
        QCOMPARE(window.Text("lblInfo_1"), QString("Artist - One"));
        QVERIFY(panel.Visible("lblInfo_1"));
        QCOMPARE(window.Text("Label1_5"), QString("Lyrics:"));
        QCOMPARE(TextColourValue(window.Label("Label1_5")), Colour{0x80000012});
        QVERIFY(!panel.Visible("cboLyrics"));
        QVERIFY(!panel.Visible("cmdDisplaySavedLyrics"));
        QVERIFY(panel.Visible("img_2"));  // no ID3v1 block yet
        QVERIFY(!panel.Visible("img_3"));
        QVERIFY(!panel.Visible("img_4"));
    }

    void aRowWithThreeLyricsFiles() {
        PanelWindow panel;
        panel.Fill({panel.Row("Many.mp3", {0, 2, 3}, 2)});
        panel.Click("Many.mp3");

        WindowUnderTest& window = panel.window;
        QCOMPARE(window.Text("Label1_5"), QString("Lyrics(3):"));
        QCOMPARE(TextColourValue(window.Label("Label1_5")), kRed);
        QVERIFY(!panel.Visible("lblInfo_1"));
        QVERIFY(panel.Visible("cboLyrics"));
        QComboBox* combo = panel.Combo();
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->itemText(0), QString("Artist - One"));
        QCOMPARE(combo->itemText(1), QString("Artist - Three"));
        QCOMPARE(combo->itemText(2), QString("Artist - Four"));
        QCOMPARE(combo->currentIndex(), 1);
        QVERIFY(panel.Visible("img_3"));  // "Artist - Three" matched two files
        QVERIFY(!window.Form().State().FillingLyricsChoice);
        // Filling the list is not a choice: the row keeps its lyrics file, picture 1 included.
        const ResultRow& row = window.RowNamed("Many.mp3");
        QCOMPARE(LyricsPicture(row), 1);
        QVERIFY(!LyricsTextColour(row).has_value());
    }

    void arrowKeysMoveThePanelWithTheCurrentRow() {
        PanelWindow panel;
        panel.Fill({panel.Row("A.mp3", {0}, 0), panel.Row("B.mp3", {1}, 1)});
        panel.Click("A.mp3");
        auto* list = panel.window.Find<QTreeView>("list");
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(panel.window.Text("lblInfo_0"), QString("B.mp3"));
        QCOMPARE(panel.window.Text("lblInfo_1"), QString("Artist - Two"));
    }

    void choosingASharedLyricsFile() {
        PanelWindow panel;
        ResultRow row = panel.Row("Song.mp3", {1, 2}, 1);
        row.Checked = true;
        panel.Fill({row});
        panel.window.Form().Logic().RowChecked(0, true);
        panel.Click("Song.mp3");
        panel.Combo()->setCurrentIndex(1);

        const ResultRow& chosen = panel.window.RowNamed("Song.mp3");
        const LyricsEntry& three = panel.window.Values.Index.Entries[2];
        QCOMPARE(chosen.LyricsName, std::string("Artist - Three"));
        QCOMPARE(chosen.LyricsPosition, 2);
        QCOMPARE(chosen.LyricsPath, three.FilePath);
        QCOMPARE(LyricsTextColour(chosen), std::optional<Colour>(SharedLyricsColour));
        QCOMPARE(LyricsPicture(chosen), 1);
        QVERIFY(panel.Visible("img_3"));
        // Nothing else of the row or the window changes.
        QVERIFY(chosen.Checked);
        QCOMPARE(chosen.Candidates, (std::vector<int>{1, 2}));
        QCOMPARE(chosen.Mp3Name, std::string("Song.mp3"));
        QCOMPARE(panel.window.Text("Label1_5"), QString("Lyrics(2):"));
        QCOMPARE(panel.window.Text("Label1_2"), QString("Checked: 1"));
        // What the list shows for the cell.
        const QAbstractItemModel* model = panel.window.Find<QTreeView>("list")->model();
        QCOMPARE(model->data(model->index(0, 2)).toString(), QString("Artist - Three"));
        QCOMPARE(model->data(model->index(0, 2), Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(80, 80, 130));

        panel.Combo()->setCurrentIndex(0);  // back to a file matched once: black
        QCOMPARE(LyricsTextColour(panel.window.RowNamed("Song.mp3")),
                 std::optional<Colour>(kBlack));
        QVERIFY(!panel.Visible("img_3"));
    }
};

QTEST_MAIN(InfoPanelTest)
#include "InfoPanelTest.moc"
