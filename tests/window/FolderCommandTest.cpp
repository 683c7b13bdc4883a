// SPDX-License-Identifier: GPL-3.0-or-later
// The folder command over a generated library: the folder from the dialog or the
// command line, the pass with its rows, labels and step colours, the stop
// request, and closing the window while a pass runs.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "WindowTestSupport.h"
#include "support/RoadLibrary.h"
#include "window/ImageList.h"
#include "window/ResultListModel.h"
#include "window/WindowColours.h"
#include "windowlogic/RowLook.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

const QString kNoBreakSpace = QString(QChar(0x00A0));

QImage PictureImage(int number) {
    return ImageList().Picture(number).toImage();
}

QImage CellPicture(const QAbstractItemModel* model, int row, int column) {
    return model->data(model->index(row, column), Qt::DecorationRole).value<QPixmap>().toImage();
}

}  // namespace

class FolderCommandTest : public QObject {
    Q_OBJECT

  private slots:
    void aPassFillsTheListFromTheChosenFolder() {
        RoadLibrary road;
        WindowUnderTest window;
        road.IndexInto(window.Values);
        window.Show();

        window.ChooseFolderAndMatch(road.Music());

        QCOMPARE(window.Prompts.FolderDialogs, 1);
        QCOMPARE(QString::fromStdString(window.Prompts.LastInstruction),
                 QString("Select folder..."));
        QCOMPARE(window.Text("Label1_1"), QString("Matches: 6 / 7 (85.7%)"));
        QCOMPARE(TextColourValue(window.Label("Label1_1")), kBlack);
        QCOMPARE(window.Form().ListModel().rowCount(), 6);
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 2"));
        QVERIFY(window.Button("cmdTagThem")->isEnabled());
        QCOMPARE(window.Caption("cmdBrowseForFolder"), QString::fromStdString(road.Music()));
        QCOMPARE(window.Button("cmdBrowseForFolder")->toolTip(),
                 QString::fromStdString(road.Music()));
        QVERIFY(window.Button("cmdBrowseForFolder")->isEnabled());
        QVERIFY(window.Find<QCheckBox>("chkSubfolders")->isEnabled());
        QVERIFY(window.Find<QTreeView>("list")->isVisible());
        // Step one is done; steps two and three are current.
        QCOMPARE(TextColourValue(window.Label("Label1_8")), kOtherStepColour);
        QCOMPARE(TextColourValue(window.Label("Label1_9")), kCurrentStepColour);
        QCOMPARE(TextColourValue(window.Label("Label1_10")), kCurrentStepColour);
    }

    void rowsCarryTheirPicturesColoursAndCheckMarks() {
        RoadLibrary road;
        WindowUnderTest window;
        road.IndexInto(window.Values);
        window.ChooseFolderAndMatch(road.Music());

        const ResultRow& alpha = window.RowNamed(kAlpha);
        QVERIFY(alpha.Checked);
        QCOMPARE(alpha.Mp3Path, road.AlphaMp3);
        QCOMPARE(Mp3Picture(alpha), 5);
        QVERIFY(alpha.WithoutId3);
        QVERIFY(!Mp3TextColour(alpha).has_value());
        QCOMPARE(alpha.LyricsName, std::string("Alpha Band - First Song"));
        QCOMPARE(alpha.LyricsPath, road.AlphaLyrics);
        QCOMPARE(LyricsPicture(alpha), 1);

        const ResultRow& beta = window.RowNamed(kBeta);
        QVERIFY(!beta.Checked);
        QCOMPARE(LyricsPicture(beta), 3);
        QVERIFY(!beta.WithoutId3);

        const ResultRow& epsilon = window.RowNamed(kEpsilon);
        QVERIFY(!epsilon.Checked);
        QCOMPARE(Mp3TextColour(epsilon), std::optional<Colour>(TaggedFileColour));

        const ResultRow& live = window.RowNamed(kGammaLive);
        QVERIFY(live.Checked);
        QCOMPARE(Mp3Picture(live), 2);
        QCOMPARE(live.LyricsName, std::string("Gamma - Night Live"));

        const ResultRow& zeta = window.RowNamed(kZeta);
        QVERIFY(!zeta.Checked);
        QCOMPARE(Mp3Picture(zeta), 4);

        const ResultRow& gamma = window.RowNamed(kGamma);
        QVERIFY(!gamma.Checked);
        QCOMPARE(LyricsTextColour(gamma), std::optional<Colour>(SharedLyricsColour));

        // What the list shows for them.
        const QAbstractItemModel* model = window.Find<QTreeView>("list")->model();
        const int a = window.RowOf(kAlpha);
        QCOMPARE(model->data(model->index(a, 0)).toString(), kNoBreakSpace);
        QCOMPARE(model->data(model->index(a, 0), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(model->data(model->index(a, 1)).toString(), QString(kAlpha));
        QCOMPARE(model->data(model->index(a, 1), Qt::ToolTipRole).toString(),
                 QString::fromStdString(road.AlphaMp3));
        QCOMPARE(CellPicture(model, a, 1), PictureImage(5));
        QCOMPARE(CellPicture(model, a, 2), PictureImage(1));
        const int b = window.RowOf(kBeta);
        QCOMPARE(model->data(model->index(b, 0)).toString(), QString());
        QCOMPARE(model->data(model->index(b, 0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(CellPicture(model, b, 2), PictureImage(3));
        const int e = window.RowOf(kEpsilon);
        QCOMPARE(model->data(model->index(e, 1), Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(80, 130, 130));
        const int g = window.RowOf(kGamma);
        QCOMPARE(model->data(model->index(g, 2), Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(80, 80, 130));
        QCOMPARE(CellPicture(model, window.RowOf(kGammaLive), 1), PictureImage(2));
        QCOMPARE(CellPicture(model, window.RowOf(kZeta), 1), PictureImage(4));
    }

    void withoutSubfoldersOnlyTheFolderItselfIsSearched() {
        RoadLibrary road;
        WindowUnderTest window;
        road.IndexInto(window.Values);
        window.Find<QCheckBox>("chkSubfolders")->setChecked(false);
        window.ChooseFolderAndMatch(road.Music());
        QCOMPARE(window.Text("Label1_1"), QString("Matches: 5 / 6 (83.3%)"));
        QCOMPARE(window.RowOf(kGamma), -1);
    }

    void aFolderWithoutMp3FilesIsReportedInRed() {
        SongLibrary library;
        library.AddLyrics("Alpha - Song", FilteredLyrics("words"));
        WindowUnderTest window;
        library.IndexInto(window.Values);
        window.ChooseFolderAndMatch(library.MusicPath());
        QCOMPARE(window.Text("Label1_1"), QString("No .mp3 files found"));
        QCOMPARE(TextColourValue(window.Label("Label1_1")), kRed);
        QCOMPARE(window.Label("Label1_1")->palette().color(QPalette::WindowText),
                 QColor(255, 0, 0));
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 0"));
        QVERIFY(!window.Button("cmdTagThem")->isEnabled());
        // The next pass starts black again.
        library.AddMp3("Alpha - Song.mp3", PlainMp3());
        window.ChooseFolderAndMatch(library.MusicPath());
        QCOMPARE(window.Text("Label1_1"), QString("Matches: 1 / 1 (100%)"));
        QCOMPARE(TextColourValue(window.Label("Label1_1")), kBlack);
    }

    void closingTheWindowDuringAPassEndsTheProgram() {
        RoadLibrary road;
        WindowUnderTest window;
        road.IndexInto(window.Values);
        window.Show();
        int endedAtCall = 0;
        window.OnProcessEvents = [&](int call) {
            if (call == 4) {
                window.Form().close();
                endedAtCall = window.EndProgramCalls == 1 ? call : 0;
            }
        };
        window.ChooseFolderAndMatch(road.Music());
        QCOMPARE(endedAtCall, 4);  // at once, not when the pass ends
        QCOMPARE(window.EndProgramCalls, 1);
    }

    void theWindowDrawsItselfAfterAScan() {
        RoadLibrary road;
        WindowUnderTest window;
        road.IndexInto(window.Values);
        window.Show();
        window.ChooseFolderAndMatch(road.Music());
        auto* list = window.Find<QTreeView>("list");
        const QModelIndex live = list->model()->index(window.RowOf(kGammaLive), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(live).center());

        const QImage shot = window.Form().grab().toImage();
        QCOMPARE(shot.size(), window.Form().size());
        const QString file =
            qEnvironmentVariable("VERSEMARK_BUILD_DIR", ".") + "/window-after-scan.png";
        QVERIFY(shot.save(file));
        // The panel's MP3 picture is drawn where img_0 lies: every opaque pixel of it.
        const QLabel* picture = window.Label("img_0");
        const QPoint origin = picture->mapTo(&window.Form(), QPoint(0, 0));
        const QImage expected = PictureImage(5).convertToFormat(QImage::Format_ARGB32);
        int opaque = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                const QRgb pixel = expected.pixel(x, y);
                if (qAlpha(pixel) == 255) {
                    ++opaque;
                    QCOMPARE(QColor(shot.pixel(origin + QPoint(x, y))).rgb(), QColor(pixel).rgb());
                }
            }
        }
        QVERIFY(opaque > 20);
    }

  private:
    static QString ButtonCaptionOf(const QPushButton* button) { return button->text(); }
};

QTEST_MAIN(FolderCommandTest)
#include "FolderCommandTest.moc"
