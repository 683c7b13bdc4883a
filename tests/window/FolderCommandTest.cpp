// The folder command over a generated library: the folder from the dialog or the
// command line, the pass with its rows, labels and step colours, the stop
// request, and closing the window while a pass runs.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTreeView>

#include "RoadLibrary.h"
#include "window/ImageList.h"
#include "window/ResultListModel.h"
#include "window/WindowColours.h"
#include "windowlogic/PassPace.h"
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
        QCOMPARE(window.Prompts.LastInstruction, QString("Select folder..."));
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

    void theListIsSortedOnItsFirstColumnAfterThePass() {
        RoadLibrary road;
        WindowUnderTest window;
        road.IndexInto(window.Values);
        window.ChooseFolderAndMatch(road.Music());
        // Unchecked rows (empty text) before the checked ones, each group in search order.
        const RowList& rows = window.Form().ListModel().Rows();
        QCOMPARE(rows.Row(0).Mp3Name, std::string(kBeta));
        QVERIFY(!rows.Row(3).Checked);
        QCOMPARE(rows.Row(4).Mp3Name, std::string(kAlpha));
        QCOMPARE(rows.Row(5).Mp3Name, std::string(kGammaLive));
        QVERIFY(window.Form().ListModel().Sorted());
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

    void aCancelledDialogChangesNothing_data() {
        QTest::addColumn<QString>("subfolder");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("matches");
        QTest::newRow("the music folder") << QString() << 6 << "Matches: 6 / 7 (85.7%)";
        // The button shows the folder: a folder named like its stop caption (here
        // as a path relative to the working folder) is still a folder, and the
        // next press opens the dialog.
        QTest::newRow("a folder named like the stop caption")
            << "Stop matching .mp3 files" << 1 << "Matches: 1 / 1 (100%)";
    }

    void aCancelledDialogChangesNothing() {
        QFETCH(QString, subfolder);
        QFETCH(int, rows);
        QFETCH(QString, matches);
        RoadLibrary road;
        std::string folder = road.Music();
        const QString workingFolder = QDir::currentPath();
        if (!subfolder.isEmpty()) {
            road.Library.AddMp3(subfolder.toStdString() + "/" + kAlpha, PlainMp3());
            QDir::setCurrent(QString::fromStdString(road.Music()));
            folder = subfolder.toStdString();
        }
        const auto restoreWorkingFolder =
            qScopeGuard([&workingFolder] { QDir::setCurrent(workingFolder); });
        WindowUnderTest window;
        road.IndexInto(window.Values);
        window.ChooseFolderAndMatch(folder);
        window.Prompts.Folders.push_back("");
        window.Button("cmdBrowseForFolder")->click();
        QCOMPARE(window.Prompts.FolderDialogs, 2);
        QVERIFY(window.Button("cmdBrowseForFolder")->isEnabled());
        QCOMPARE(window.Form().ListModel().rowCount(), rows);
        QCOMPARE(window.Text("Label1_1"), matches);
        QCOMPARE(window.Caption("cmdBrowseForFolder"), QString::fromStdString(folder));
        QCOMPARE(TextColourValue(window.Label("Label1_9")), kCurrentStepColour);
    }

    void theCommandLineFolderReplacesTheDialog() {
        RoadLibrary road;
        WindowUnderTest window;
        road.IndexInto(window.Values);
        window.Values.Config.CmdFolder = road.Music();
        window.Button("cmdBrowseForFolder")->click();
        QCOMPARE(window.Form().ListModel().rowCount(), 6);
        window.Button("cmdBrowseForFolder")->click();
        QCOMPARE(window.Form().ListModel().rowCount(), 6);
        QCOMPARE(window.Prompts.FolderDialogs, 0);
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

    void theButtonStopsThePassAndStaysDisabledUntilItEnds() {
        RoadLibrary road;
        WindowUnderTest window;
        road.IndexInto(window.Values);
        QPushButton* button = window.Button("cmdBrowseForFolder");
        bool disabledAfterStop = false;
        int callsAfterStop = 0;
        window.OnProcessEvents = [&](int call) {
            // Yield 1 comes before the search, yield 3 after the second file.
            if (call == 2) {
                QCOMPARE(ButtonCaptionOf(button), QString("Stop matching .mp3 files"));
                QVERIFY(!window.Find<QCheckBox>("chkSubfolders")->isEnabled());
                QVERIFY(window.Find<QTreeView>("list")->isHidden());
            }
            if (call == 3) {
                button->click();
                disabledAfterStop = !button->isEnabled();
                button->click();  // a second press cannot start another pass
            }
            if (call > 3) {
                ++callsAfterStop;
            }
        };
        window.ChooseFolderAndMatch(road.Music());

        QVERIFY(disabledAfterStop);
        QCOMPARE(window.Prompts.FolderDialogs, 1);
        QCOMPARE(window.Text("Label1_1"), QString("Matches: 2 / 2 (100%)"));
        QCOMPARE(window.Form().ListModel().rowCount(), 2);
        for (const ResultRow& row : window.Form().ListModel().Rows().Rows()) {
            QVERIFY(!row.LyricsName.empty());
        }
        QCOMPARE(callsAfterStop, 0);  // phase 2 of two rows does not yield
        QVERIFY(button->isEnabled());
        QCOMPARE(ButtonCaptionOf(button), QString::fromStdString(road.Music()));
        QVERIFY(!window.Form().State().StopMatching);
    }

    // The label is drawn at a steady pace, not for every file: a file that comes
    // well after the last drawing is shown, and the summary replaces it at the end.
    void theLabelFollowsASlowPass() {
        RoadLibrary road;
        WindowUnderTest window;
        road.IndexInto(window.Values);
        QStringList shown;
        window.OnProcessEvents = [&](int call) {
            // Yield 2 comes after the first file, yield 3 after the second.
            if (call == 2 || call == 3) {
                shown << window.Text("Label1_1");
                QTest::qSleep(2 * kProgressRedrawInterval.count());
            }
        };
        window.ChooseFolderAndMatch(road.Music());
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[0].startsWith("Matches: ") && shown[0].endsWith(" / 1"),
                 qPrintable(shown[0]));
        QVERIFY2(shown[1].startsWith("Matches: ") && shown[1].endsWith(" / 2"),
                 qPrintable(shown[1]));
        QCOMPARE(window.Text("Label1_1"), QString("Matches: 6 / 7 (85.7%)"));
    }

    void stoppingTheFirstPassShowsTheEmptyTooltip() {
        RoadLibrary road;
        WindowUnderTest window;
        road.IndexInto(window.Values);
        QPushButton* button = window.Button("cmdBrowseForFolder");
        QString captionAfterStop = QStringLiteral("unset");
        window.OnProcessEvents = [&](int call) {
            if (call == 2) {
                button->click();
                captionAfterStop = ButtonCaptionOf(button);
            }
        };
        window.ChooseFolderAndMatch(road.Music());
        QCOMPARE(captionAfterStop, QString());
        QCOMPARE(window.Text("Label1_1"), QString("Matches: 1 / 1 (100%)"));
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

    void closingTheWindowOutsideAPassRemovesTheRows() {
        RoadLibrary road;
        WindowUnderTest window;
        road.IndexInto(window.Values);
        window.Show();
        window.ChooseFolderAndMatch(road.Music());
        window.Form().close();
        QCOMPARE(window.EndProgramCalls, 0);
        QCOMPARE(window.Form().ListModel().rowCount(), 0);
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
