// SPDX-License-Identifier: GPL-3.0-or-later
// The window as designed: controls, captions, initial states, pictures, fonts,
// colours, and the layout rules at design size and after resizing.
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "WindowTestSupport.h"
#include "window/ImageList.h"
#include "window/Twips.h"
#include "window/WindowColours.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

// Twip rectangles as the layout rules leave them.
QRect Twips(const QWidget* widget) {
    return TwipGeometry(widget);
}

bool SamePicture(const QLabel* label, int number) {
    const ImageList pictures;
    return label->pixmap().toImage() == pictures.Picture(number).toImage();
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QCOMPARE(WindowUnderTest().Form().logicalDpiX(), 96); }

    void captionsAreTheDesignedTexts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("step one") << "Label1_8"
                                  << "Step one: Select the folder where the mp3 files you want "
                                     "to tag are located.";
        QTest::newRow("step two") << "Label1_9"
                                  << "Step two: Check the files that you want to tag. PAY "
                                     "ATTENTION on alerts, unfiltered and  colored files.";
        QTest::newRow("step three") << "Label1_10"
                                    << "Step three: Tag them!";
        QTest::newRow("legend heads") << "Label2"
                                      << "mp3                          lyrics";
        QTest::newRow("legend") << "Label3"
                                << "Legend";
        QTest::newRow("matches") << "Label1_1"
                                 << "Matches: ...";
        QTest::newRow("lyrics count") << "Label1_0"
                                      << "Matching with 123 lyrics";
        QTest::newRow("checked") << "Label1_2"
                                 << "Checked: 0";
        QTest::newRow("folder") << "Label1_3"
                                << "Folder:";
        QTest::newRow("mp3 line") << "Label1_4"
                                  << "Mp3 file:";
        QTest::newRow("lyrics line") << "Label1_5"
                                     << "Lyrics:";
        QTest::newRow("example 1") << "Label1_6"
                                   << "Example";
        QTest::newRow("example 2") << "Label1_7"
                                   << "Example";
        QTest::newRow("mp3 info") << "lblInfo_0"
                                  << "Mp3 File";
        QTest::newRow("lyrics info") << "lblInfo_1"
                                     << "Lyrics file";
    }
    void captionsAreTheDesignedTexts() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        WindowUnderTest window;
        QCOMPARE(window.Text(name), caption);
    }

    void buttonsAndFrames() {
        WindowUnderTest window;
        const std::vector<std::pair<QString, QString>> buttons = {
            {"cmdBrowseForFolder", "..."},
            {"cmdSel_0", "Select All"},
            {"cmdSel_1", "Matched more than once"},
            {"cmdSel_2", "Invert selection"},
            {"cmdSel_3", "Unfiltered"},
            {"cmdSel_5", "With lyrics3 tag"},
            {"cmdSel_6", "More than 1 match"},
            {"cmdCheck_0", "Check selected"},
            {"cmdCheck_1", "Uncheck selected"},
            {"cmdTagThem", "Tag checked files"},
            {"cmdDisplayLyrics", "Display lyrics"},
            {"cmdDisplaySavedLyrics", "Display lyrics saved into this file"},
        };
        for (const auto& [name, caption] : buttons) {
            QCOMPARE(window.Caption(name), caption);
        }
        QVERIFY(window.Button("cmdSel_4") == nullptr);
        QCOMPARE(window.Button("cmdSel_6")->toolTip(),
                 QString("mp3 files which were matched to more than 1 lyrics"));
        QCOMPARE(window.Button("cmdSel_1")->toolTip(),
                 QString("Lyrics files which were matched for more than 1 mp3"));

        const std::vector<std::pair<QString, QString>> frames = {
            {"fraFrames_0", "Browse"},
            {"fraFrames_1", "Select songs"},
            {"fraFrames_2", "Insert tags"},
            {"fraFrames_3", "Selected song information"},
        };
        for (const auto& [name, caption] : frames) {
            QCOMPARE(window.Find<QGroupBox>(name)->title(), caption);
        }
        for (const QString panel : {"Picture1_0", "Picture1_1", "Picture1_3"}) {
            QVERIFY2(window.Find<QWidget>(panel) != nullptr, qPrintable(panel));
        }
        for (const QString rule : {"Line1", "Line2", "Line3", "Line4"}) {
            QVERIFY2(window.Find<QFrame>(rule) != nullptr, qPrintable(rule));
        }
        QCOMPARE(window.Form().windowTitle(), QString("Versemark"));
        QVERIFY(!window.Form().windowIcon().isNull());
    }

    void initialStates() {
        WindowUnderTest window;
        window.Show();
        QVERIFY(window.Find<QWidget>("picInfo")->isHidden());
        for (const QString alert : {"img_2", "img_3", "img_4"}) {
            QVERIFY2(window.Label(alert)->isHidden(), qPrintable(alert));
        }
        QVERIFY(!window.Button("cmdTagThem")->isEnabled());
        QVERIFY(window.Button("cmdBrowseForFolder")->isEnabled());
        auto* subfolders = window.Find<QCheckBox>("chkSubfolders");
        QVERIFY(subfolders->isChecked());
        QCOMPARE(subfolders->text(), QString("   search subfolders"));
        auto* viewer = window.Find<QPlainTextEdit>("txtViewLyrics");
        QVERIFY(viewer->isHidden());
        QVERIFY(viewer->isReadOnly());
        QVERIFY(window.Find<QTreeView>("list")->isVisible());
    }

    void theListHasThreeColumnsAndExtendedSelection() {
        WindowUnderTest window;
        auto* list = window.Find<QTreeView>("list");
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
        QAbstractItemModel* model = list->model();
        QCOMPARE(model->columnCount(), 3);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString());
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QString("Mp3 file"));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QString("Lyrics file"));
        // Picture 1 on the "Lyrics file" header only.
        const ImageList pictures;
        QCOMPARE(
            model->headerData(2, Qt::Horizontal, Qt::DecorationRole).value<QPixmap>().toImage(),
            pictures.Picture(1).toImage());
        QVERIFY(!model->headerData(1, Qt::Horizontal, Qt::DecorationRole).isValid());
        // 300, 4000 and 4000 twips at 96 dpi.
        QCOMPARE(list->header()->sectionSize(0), 20);
        QCOMPARE(list->header()->sectionSize(1), 267);
        QCOMPARE(list->header()->sectionSize(2), 267);
    }

    void picturesAreSetAtLoad() {
        WindowUnderTest window;
        QVERIFY(SamePicture(window.Label("img_0"), 5));
        QVERIFY(SamePicture(window.Label("img_2"), 2));
        QVERIFY(SamePicture(window.Label("img_3"), 2));
        QVERIFY(SamePicture(window.Label("img_4"), 4));
        QVERIFY(SamePicture(window.Label("img_5"), 2));
        QVERIFY(SamePicture(window.Label("img_6"), 3));
        QVERIFY(window.Label("img_1")->pixmap().isNull());
        const ImageList pictures;
        for (int number = 1; number <= kPictureCount; ++number) {
            QCOMPARE(pictures.Picture(number).size(), QSize(16, 16));
        }
        QCOMPARE(window.Label("img_3")->toolTip(),
                 QString("This lyrics file matched more than 1 mp3"));
        QCOMPARE(window.Label("img_2")->toolTip(),
                 QString("An id3v1 tag will be added to this file"));
        QCOMPARE(window.Label("img_4")->toolTip(),
                 QString("This file contains a tag version higher than the supported. It is not "
                         "recommended to tag it."));
    }

    void fontsAndColours() {
        WindowUnderTest window;
        const QFont count = window.Label("Label1_0")->font();
        QVERIFY(count.italic());
        QCOMPARE(count.pointSizeF(), 8.25);
        QVERIFY(window.Button("cmdTagThem")->font().bold());
        QVERIFY(!window.Button("cmdBrowseForFolder")->font().bold());
        const QFontInfo viewer(window.Find<QPlainTextEdit>("txtViewLyrics")->font());
        QVERIFY(viewer.fixedPitch());

        QCOMPARE(TextColourValue(window.Label("Label1_8")), Colour{0x808000});
        QCOMPARE(TextColourValue(window.Label("Label1_9")), Colour{0x80000011});
        QCOMPARE(TextColourValue(window.Label("Label1_10")), Colour{0x80000011});
        QCOMPARE(TextColourValue(window.Label("Label3")), Colour{0x80000010});
        QCOMPARE(TextColourValue(window.Label("Label2")), Colour{0x80000010});
        // Colours as drawn: 0x00BBGGRR turned round, system colours from the palette.
        QCOMPARE(window.Label("Label1_8")->palette().color(QPalette::WindowText),
                 QColor(0, 128, 128));
        QCOMPARE(window.Label("Label1_6")->palette().color(QPalette::WindowText),
                 QColor(80, 130, 130));
        QCOMPARE(window.Label("Label1_7")->palette().color(QPalette::WindowText),
                 QColor(80, 80, 130));
        QCOMPARE(window.Label("Label1_9")->palette().color(QPalette::WindowText),
                 window.Form().palette().color(QPalette::Disabled, QPalette::WindowText));
    }

    void layoutAtDesignSize() {
        WindowUnderTest window;
        window.Show();
        QCOMPARE(window.Form().size(), QSize(839, 653));  // 12585 x 9795 twips
        auto* list = window.Find<QWidget>("list");
        QCOMPARE(Twips(list), QRect(100, 1295, 9270, 8400));
        QCOMPARE(list->geometry(), QRect(7, 86, 618, 560));
        QCOMPARE(Twips(window.Find<QWidget>("txtViewLyrics")), QRect(100, 1295, 9270, 8400));
        QCOMPARE(Twips(window.Find<QWidget>("fraFrames_3")), QRect(120, 120, 9270, 1095));
        QCOMPARE(Twips(window.Find<QWidget>("picInfo")).width(), 9070);
        for (const QString frame : {"fraFrames_0", "fraFrames_1", "fraFrames_2"}) {
            QCOMPARE(Twips(window.Find<QWidget>(frame)).left(), 9470);
        }
        QCOMPARE(Twips(window.Find<QWidget>("fraFrames_1")), QRect(9470, 2985, 3015, 4680));
        // The panel: both buttons end 340 from its right edge, the alerts 240 from it.
        QCOMPARE(Twips(window.Find<QWidget>("Line1")).right() + 1, 9070);
        QCOMPARE(Twips(window.Button("cmdDisplaySavedLyrics")).left(), 9070 - 2415 - 340);
        QCOMPARE(Twips(window.Button("cmdDisplayLyrics")).left(), 9070 - 1575 - 340);
        for (const QString alert : {"img_2", "img_3", "img_4"}) {
            QCOMPARE(Twips(window.Label(alert)).left(), 9070 - 240);
        }
        QCOMPARE(Twips(window.Find<QWidget>("cboLyrics")),
                 QRect(1080, 450, 7155 - 1080 - 100, 315));
    }

    void widerWindowMovesFramesAndWidensTheLeftSide() {
        WindowUnderTest window;
        window.Show();
        const QStringList moved = {
            "fraFrames_0",      "fraFrames_1", "fraFrames_2", "cmdDisplaySavedLyrics",
            "cmdDisplayLyrics", "img_2",       "img_3",       "img_4"};
        const QStringList widened = {"list",    "txtViewLyrics", "fraFrames_3",
                                     "picInfo", "cboLyrics",     "Line1"};
        std::map<QString, QRect> before;
        for (const QString& name : moved + widened) {
            before[name] = Twips(window.Find<QWidget>(name));
        }
        // 67 pixels are 1005 twips at 96 dpi.
        window.Form().resize(window.Form().width() + 67, window.Form().height());
        QTRY_COMPARE(Twips(window.Find<QWidget>("list")).width(), 9270 + 1005);
        for (const QString& name : moved) {
            const QRect now = Twips(window.Find<QWidget>(name));
            QCOMPARE(now.left(), before[name].left() + 1005);
            QCOMPARE(now.size(), before[name].size());
        }
        for (const QString& name : widened) {
            const QRect now = Twips(window.Find<QWidget>(name));
            QCOMPARE(now.left(), before[name].left());
            QCOMPARE(now.width(), before[name].width() + 1005);
            QCOMPARE(now.height(), before[name].height());
        }
    }

    void narrowWindowKeepsTheLeftSideButMovesTheFrames() {
        WindowUnderTest window;
        window.Show();
        const QRect list = Twips(window.Find<QWidget>("list"));
        const QRect info = Twips(window.Find<QWidget>("fraFrames_3"));
        const QRect panel = Twips(window.Find<QWidget>("picInfo"));
        window.Form().resize(200, window.Form().height());  // 3000 twips, under 3315
        QTRY_COMPARE(Twips(window.Find<QWidget>("fraFrames_0")).left(), 3000 - 3015 - 100);
        QCOMPARE(Twips(window.Find<QWidget>("list")), list);
        QCOMPARE(Twips(window.Find<QWidget>("txtViewLyrics")), list);
        QCOMPARE(Twips(window.Find<QWidget>("fraFrames_3")), info);
        QCOMPARE(Twips(window.Find<QWidget>("picInfo")), panel);
        QCOMPARE(Twips(window.Find<QWidget>("fraFrames_2")).left(), -115);
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "WindowLayoutTest.moc"
