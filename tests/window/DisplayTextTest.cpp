// SPDX-License-Identifier: GPL-3.0-or-later
// Window text from file bytes: UTF-8 shown as it is, anything else as
// Windows-1252, in the list, the panel and the viewer alike.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "WindowTestSupport.h"
#include "window/DisplayString.h"
#include "window/ResultListModel.h"
#include "window/UserPrompts.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

const QString kCafe = QString::fromUtf8("Caf\xC3\xA9 Cr\xC3\xA8me");  // "Café Crème"

}  // namespace

class DisplayTextTest : public QObject {
    Q_OBJECT

  private slots:
    void bothEncodingsGiveTheSameText() {
        QCOMPARE(DisplayString("Caf\xE9 Cr\xE8me"), kCafe);
        QCOMPARE(DisplayString("Caf\xC3\xA9 Cr\xC3\xA8me"), kCafe);
        QCOMPARE(DisplayString("\x80"), QString(QChar(0x20AC)));
        QCOMPARE(DisplayString("\xA0"), QString(QChar(0x00A0)));  // a checked row's text
        QCOMPARE(DisplayString("\x81"), QString(QChar(0x0081)));
        QCOMPARE(DisplayString(std::string_view("a\0b", 3)).size(), 3);
        QVERIFY(DisplayString("").isEmpty());
    }

    void theViewerShowsLineEndsAsSingleBreaks() {
        QCOMPARE(ViewerText("one\r\ntwo\r\n"), QString("one\ntwo\n"));
        QCOMPARE(ViewerText("Caf\xE9\r\n"), QString::fromUtf8("Caf\xC3\xA9\n"));
    }

    void theOneFileLogIsShownAsPlainText() {
        // A log line whose file name looks like markup, in Windows-1252.
        const std::string log = "File tagged..: /music/<b>Caf\xE9</b>.mp3\r\n";
        QString title;
        QString text;
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            title = box->windowTitle();
            text = box->text();
            format = box->textFormat();
            box->button(QMessageBox::Ok)->click();
        });
        ShowLogMessage(log);
        QCOMPARE(title, QString("Versemark"));
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(text, QString::fromUtf8("File tagged..: /music/<b>Caf\xC3\xA9</b>.mp3\r\n"));
    }

    void namesInEitherEncodingAreShownInTheListAndThePanel() {
        SongLibrary library;
        library.AddLyrics("Caf\xE9 - Cr\xE8me", UnfilteredLyrics("one"));
        library.AddLyrics("Na\xC3\xAFve - \xC3\x89t\xC3\xA9", UnfilteredLyrics("two"));
        library.AddMp3("Caf\xE9 - Cr\xE8me.mp3", PlainMp3());
        library.AddMp3("Na\xC3\xAFve - \xC3\x89t\xC3\xA9.mp3", PlainMp3());
        WindowUnderTest window;
        library.IndexInto(window.Values);
        window.Show();
        window.ChooseFolderAndMatch(library.MusicPath());
        QCOMPARE(window.Form().ListModel().rowCount(), 2);

        auto* list = window.Find<QTreeView>("list");
        QStringList shown;
        for (int row = 0; row < 2; ++row) {
            shown << list->model()->index(row, 1).data().toString()
                  << list->model()->index(row, 2).data().toString();
        }
        shown.sort();
        QCOMPARE(shown, QStringList({QString::fromUtf8("Caf\xC3\xA9 - Cr\xC3\xA8me"),
                                     QString::fromUtf8("Caf\xC3\xA9 - Cr\xC3\xA8me.mp3"),
                                     QString::fromUtf8("Na\xC3\xAFve - \xC3\x89t\xC3\xA9"),
                                     QString::fromUtf8("Na\xC3\xAFve - \xC3\x89t\xC3\xA9.mp3")}));

        const QModelIndex cafe = list->model()->index(window.RowOf("Caf\xE9 - Cr\xE8me.mp3"), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(cafe).center());
        QCOMPARE(window.Text("lblInfo_0"), QString::fromUtf8("Caf\xC3\xA9 - Cr\xC3\xA8me.mp3"));
        QCOMPARE(window.Text("lblInfo_1"), QString::fromUtf8("Caf\xC3\xA9 - Cr\xC3\xA8me"));
    }
};

QTEST_MAIN(DisplayTextTest)
#include "DisplayTextTest.moc"
