// SPDX-License-Identifier: GPL-3.0-or-later
// The tagging command over a generated library: the confirmation, the files
// written, the log in place of the list, and "Return to list" with and without
// a refresh.
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTreeView>
#include <filesystem>

#include "WindowTestSupport.h"
#include "base/Companion.h"
#include "support/RoadLibrary.h"
#include "tags/Id3v2Lyrics.h"
#include "window/ResultListModel.h"
#include "window/WindowColours.h"
#include "windowlogic/RowLook.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

// A block built from a lyrics name has four blanks for its year.
constexpr std::string_view kBlankYear = "    ";

// The stored form of lyrics without a footer: the text as read, CR LF, the credit.
std::string Stored(const std::string& lyrics) {
    return lyrics + "\r\n" + std::string(companion::kCreditLineStart) +
           std::string(companion::kWebAddress) + std::string(companion::kCreditLineEnd);
}

std::string TaggedBytes(const std::string& audio, const std::string& lyrics, std::string_view title,
                        std::string_view artist) {
    return audio + TailBuilder::Lyrics3v2Tag({{"IND", "100"}, {"LYR", Stored(lyrics)}}) +
           TailBuilder::Id3v1Block(title, artist, "", kBlankYear);
}

// A window that has matched the road library, shown.
struct MatchedWindow {
    MatchedWindow() {
        road.IndexInto(window.Values);
        window.Show();
        window.ChooseFolderAndMatch(road.Music());
    }
    void ClickRow(std::string_view mp3Name) {
        auto* list = window.Find<QTreeView>("list");
        const QModelIndex index = list->model()->index(window.RowOf(mp3Name), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }
    QPlainTextEdit* Viewer() { return window.Find<QPlainTextEdit>("txtViewLyrics"); }

    RoadLibrary road;
    WindowUnderTest window;
};

}  // namespace

class TaggingCommandTest : public QObject {
    Q_OBJECT

  private slots:

    void answeringYesTagsTheCheckedFilesAndShowsTheLog() {
        MatchedWindow matched;
        WindowUnderTest& window = matched.window;
        const std::string betaBefore = ReadFileBytes(matched.road.BetaMp3);
        matched.ClickRow(kAlpha);
        QVERIFY(window.Find<QWidget>("picInfo")->isVisible());
        window.Prompts.Answers.push_back(true);
        // The pass yields before each file: the label counts the files done and
        // only the stop is at hand.
        QStringList labels;
        QString captionDuringPass;
        bool stillDuringPass = false;
        window.ProcessEventsCalls = 0;  // the yields of the tagging pass from here
        window.OnProcessEvents = [&](int call) {
            labels.append(window.Text("Label1_2"));
            if (call == 1) {
                captionDuringPass = window.Caption("cmdTagThem");
                stillDuringPass = window.Button("cmdTagThem")->isEnabled() &&
                                  !window.Button("cmdSel_0")->isEnabled() &&
                                  !window.Button("cmdCheck_1")->isEnabled() &&
                                  !window.Button("cmdBrowseForFolder")->isEnabled() &&
                                  !window.Find<QTreeView>("list")->isEnabled();
            }
        };
        window.Button("cmdTagThem")->click();
        QCOMPARE(labels.size(), 2);
        QCOMPARE(labels[0], QString("Tagging: 0 / 2"));
        QCOMPARE(captionDuringPass, QString("Stop tagging"));
        QVERIFY(stillDuringPass);

        QCOMPARE(ReadFileBytes(matched.road.AlphaMp3),
                 TaggedBytes(matched.road.AlphaBytes, FilteredLyrics("First words"), "First Song",
                             "Alpha Band"));
        QCOMPARE(ReadFileBytes(matched.road.GammaLiveMp3),
                 TaggedBytes(matched.road.GammaLiveBytes, FilteredLyrics("Live words"),
                             "Night Live", "Gamma"));
        QCOMPARE(ReadFileBytes(matched.road.BetaMp3), betaBefore);

        // The log in list order, in place of the list.
        const QString log = QString("File tagged..: %1\nFile tagged..: %2\n")
                                .arg(QString::fromStdString(matched.road.AlphaMp3),
                                     QString::fromStdString(matched.road.GammaLiveMp3));
        QCOMPARE(matched.Viewer()->toPlainText(), log);
        QVERIFY(matched.Viewer()->isVisible());
        QVERIFY(window.Find<QTreeView>("list")->isHidden());
        QVERIFY(window.Find<QWidget>("picInfo")->isHidden());
        QCOMPARE(window.Caption("cmdTagThem"), QString("Return to list"));
        // The pass changes no row.
        QVERIFY(window.RowNamed(kAlpha).Checked);
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 2"));
        // Under the log the selection and check buttons do not act on the hidden
        // list, and the way back stays open.
        QVERIFY(!window.Button("cmdSel_0")->isEnabled());
        QVERIFY(!window.Button("cmdCheck_1")->isEnabled());
        QVERIFY(window.Button("cmdTagThem")->isEnabled());
        QVERIFY(window.Button("cmdBrowseForFolder")->isEnabled());
    }

    // "Stop tagging", or closing the window, after the first file: that file is
    // tagged, the second not tried; the log shows the file done, or the program
    // ends once the pass has stopped (the window stays until then).
    void theStopOrClosingEndsThePassAfterTheFileBeingWritten() {
        for (const bool closing : {false, true}) {
            MatchedWindow matched;
            WindowUnderTest& window = matched.window;
            window.Prompts.Answers.push_back(true);
            bool stayedOpen = false;
            window.ProcessEventsCalls = 0;  // the yields of the tagging pass from here
            window.OnProcessEvents = [&](int call) {
                if (call != 2) {  // yield 2 comes after the first file
                    return;
                }
                if (closing) {
                    window.Form().close();
                    stayedOpen = window.Form().isVisible() && window.EndProgramCalls == 0;
                } else {
                    window.Button("cmdTagThem")->click();
                    stayedOpen = !window.Button("cmdTagThem")->isEnabled();
                }
            };
            window.Button("cmdTagThem")->click();
            QVERIFY(stayedOpen);
            QCOMPARE(window.ProcessEventsCalls, 2);
            QVERIFY(ReadFileBytes(matched.road.AlphaMp3) != matched.road.AlphaBytes);
            QCOMPARE(ReadFileBytes(matched.road.GammaLiveMp3), matched.road.GammaLiveBytes);
            QCOMPARE(window.EndProgramCalls, closing ? 1 : 0);
            if (closing) {
                QCOMPARE(window.EndProgramStatus, 0);
                continue;
            }
            QCOMPARE(
                matched.Viewer()->toPlainText(),
                QString("File tagged..: %1\n").arg(QString::fromStdString(matched.road.AlphaMp3)));
            QCOMPARE(window.Caption("cmdTagThem"), QString("Return to list"));
            QVERIFY(window.Button("cmdTagThem")->isEnabled());
            QCOMPARE(window.Text("Label1_2"), QString("Checked: 2"));
        }
    }

    void theId3v2ChoiceIsOfferedUnderTheButtonRememberedAndFollowed() {
        if (!Id3v2LyricsAvailable()) {  // a build without TagLib offers no choice
            WindowUnderTest window;
            QVERIFY(!window.Form().findChild<QCheckBox*>(QStringLiteral("chkAlsoId3v2")));
            return;
        }
        QSettings settings(QStringLiteral("Versemark"), QStringLiteral("Versemark"));
        settings.remove(QStringLiteral("Tagging"));
        settings.sync();
        MatchedWindow matched;
        WindowUnderTest& window = matched.window;
        auto* choice = window.Find<QCheckBox>("chkAlsoId3v2");
        QCOMPARE(choice->text(), QString("also write the lyrics as an ID3v2 lyrics frame"));
        QCOMPARE(choice->parentWidget(), window.Button("cmdTagThem")->parentWidget());
        QVERIFY(choice->geometry().top() > window.Button("cmdTagThem")->geometry().bottom());
        QVERIFY(!choice->isChecked());

        choice->click();
        settings.sync();
        QCOMPARE(settings.value(QStringLiteral("Tagging/AlsoId3v2")).toBool(), true);
        {
            WindowUnderTest second;
            QVERIFY(second.Find<QCheckBox>("chkAlsoId3v2")->isChecked());
        }

        window.Prompts.Answers.push_back(true);
        window.Button("cmdTagThem")->click();
        const std::string alpha = ReadFileBytes(matched.road.AlphaMp3);
        QVERIFY(alpha.starts_with(std::string("ID3\x03", 4)));
        QVERIFY(alpha.ends_with(TaggedBytes(matched.road.AlphaBytes, FilteredLyrics("First words"),
                                            "First Song", "Alpha Band")));
        QVERIFY(matched.Viewer()->toPlainText().startsWith("File tagged..: "));
        choice->click();
        settings.sync();
        QCOMPARE(settings.value(QStringLiteral("Tagging/AlsoId3v2")).toBool(), false);
    }
};

QTEST_MAIN(TaggingCommandTest)
#include "TaggingCommandTest.moc"
