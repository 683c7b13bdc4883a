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
        window.Button("cmdTagThem")->click();

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
