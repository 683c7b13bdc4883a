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

#include "RoadLibrary.h"
#include "base/Companion.h"
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
    void answeringNoChangesNothing() {
        MatchedWindow matched;
        WindowUnderTest& window = matched.window;
        window.Prompts.Answers.push_back(false);
        window.Button("cmdTagThem")->click();

        QCOMPARE(window.Prompts.Asked.size(), std::size_t{1});
        QCOMPARE(window.Prompts.Asked[0].Text, QString("Are you sure you want to tag 2 files?"));
        QVERIFY(window.Prompts.Asked[0].Icon == PromptIcon::Question);
        QCOMPARE(ReadFileBytes(matched.road.AlphaMp3), matched.road.AlphaBytes);
        QCOMPARE(ReadFileBytes(matched.road.GammaLiveMp3), matched.road.GammaLiveBytes);
        QVERIFY(window.Find<QTreeView>("list")->isVisible());
        QVERIFY(matched.Viewer()->isHidden());
        QCOMPARE(window.Caption("cmdTagThem"), QString("Tag checked files"));
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 2"));
    }

    void oneCheckedRowIsAskedAboutInTheSingular() {
        MatchedWindow matched;
        WindowUnderTest& window = matched.window;
        QAbstractItemModel* model = window.Find<QTreeView>("list")->model();
        model->setData(model->index(window.RowOf(kAlpha), 0), Qt::Unchecked, Qt::CheckStateRole);
        window.Button("cmdTagThem")->click();
        QCOMPARE(window.Prompts.Asked.back().Text, QString("Are you sure you want to tag 1 file?"));
    }

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

    void aFileThatCannotBeTaggedIsLoggedAsAnError() {
        MatchedWindow matched;
        WindowUnderTest& window = matched.window;
        std::filesystem::remove(matched.road.AlphaMp3);
        window.Prompts.Answers.push_back(true);
        window.Button("cmdTagThem")->click();
        QCOMPARE(matched.Viewer()->toPlainText(),
                 QString("Error tagging: %1\nFile tagged..: %2\n")
                     .arg(QString::fromStdString(matched.road.AlphaMp3),
                          QString::fromStdString(matched.road.GammaLiveMp3)));
    }

    void withoutCheckedRowsThePressDoesNothing() {
        MatchedWindow matched;
        WindowUnderTest& window = matched.window;
        window.Button("cmdSel_0")->click();
        window.Button("cmdCheck_1")->click();
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 0"));
        window.Form().cmdTagThem_Click();
        QVERIFY(window.Prompts.Asked.empty());
        QVERIFY(matched.Viewer()->isHidden());
    }

    void returnToListAnsweredNoShowsTheRowsAsTheyWere() {
        MatchedWindow matched;
        WindowUnderTest& window = matched.window;
        window.Prompts.Answers = {true, false};
        window.Button("cmdTagThem")->click();
        window.Button("cmdTagThem")->click();

        QCOMPARE(window.Prompts.Asked.size(), std::size_t{2});
        QCOMPARE(window.Prompts.Asked[1].Text,
                 QString("Do you want to refresh the list using the same folder?"));
        QVERIFY(window.Prompts.Asked[1].Icon == PromptIcon::None);
        QVERIFY(matched.Viewer()->isHidden());
        QVERIFY(matched.Viewer()->toPlainText().isEmpty());
        QVERIFY(window.Find<QTreeView>("list")->isVisible());
        QCOMPARE(window.Form().ListModel().rowCount(), 6);
        QVERIFY(window.RowNamed(kAlpha).Checked);
        QVERIFY(window.RowNamed(kGammaLive).Checked);
        QCOMPARE(window.Caption("cmdTagThem"), QString("Tag checked files"));
        QVERIFY(window.Button("cmdTagThem")->isEnabled());
        QCOMPARE(TextColourValue(window.Label("Label1_8")), kCurrentStepColour);
        QCOMPARE(TextColourValue(window.Label("Label1_9")), kOtherStepColour);
        QCOMPARE(TextColourValue(window.Label("Label1_10")), kOtherStepColour);
    }

    void returnToListAnsweredYesMatchesTheSameFolderAgain() {
        MatchedWindow matched;
        WindowUnderTest& window = matched.window;
        window.Prompts.Answers = {true, true};
        window.Button("cmdTagThem")->click();
        bool tagButtonDisabledDuringPass = false;
        QString folderCaptionDuringPass;
        window.OnProcessEvents = [&](int) {
            tagButtonDisabledDuringPass = !window.Button("cmdTagThem")->isEnabled();
            folderCaptionDuringPass = window.Caption("cmdBrowseForFolder");
        };
        window.Button("cmdTagThem")->click();

        QVERIFY(tagButtonDisabledDuringPass);
        QCOMPARE(folderCaptionDuringPass, QString("Stop matching .mp3 files"));
        QCOMPARE(window.Prompts.FolderDialogs, 1);
        QCOMPARE(window.Text("Label1_1"), QString("Matches: 6 / 7 (85.7%)"));
        // The two files now carry a tag: no row is checked any more.
        QCOMPARE(Mp3TextColour(window.RowNamed(kAlpha)), std::optional<Colour>(TaggedFileColour));
        QVERIFY(!window.RowNamed(kAlpha).Checked);
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 0"));
        QVERIFY(!window.Button("cmdTagThem")->isEnabled());
        QCOMPARE(window.Caption("cmdTagThem"), QString("Tag checked files"));
        QCOMPARE(window.Caption("cmdBrowseForFolder"),
                 QString::fromStdString(matched.road.Music()));
        QVERIFY(window.Find<QTreeView>("list")->isVisible());
        QVERIFY(matched.Viewer()->isHidden());
        QCOMPARE(TextColourValue(window.Label("Label1_8")), kOtherStepColour);
        QCOMPARE(TextColourValue(window.Label("Label1_9")), kCurrentStepColour);
    }

    void theFolderButtonWhileTheLogIsShownBringsTheListBack() {
        MatchedWindow matched;
        WindowUnderTest& window = matched.window;
        window.Prompts.Answers.push_back(true);
        window.Button("cmdTagThem")->click();
        window.ChooseFolderAndMatch(matched.road.Music());
        QVERIFY(matched.Viewer()->isHidden());
        QVERIFY(window.Find<QTreeView>("list")->isVisible());
        QCOMPARE(window.Caption("cmdTagThem"), QString("Tag checked files"));
    }

    void theLogReplacesAnOpenLyricsViewer() {
        MatchedWindow matched;
        WindowUnderTest& window = matched.window;
        matched.ClickRow(kAlpha);
        window.Button("cmdDisplayLyrics")->click();
        QCOMPARE(window.Caption("cmdDisplayLyrics"), QString("Return to list"));
        window.Prompts.Answers.push_back(true);
        window.Button("cmdTagThem")->click();
        QVERIFY(matched.Viewer()->toPlainText().startsWith("File tagged..: "));
        QCOMPARE(window.Caption("cmdDisplayLyrics"), QString("Display lyrics"));
        QVERIFY(!window.Button("cmdDisplayLyrics")->font().bold());
    }
};

QTEST_MAIN(TaggingCommandTest)
#include "TaggingCommandTest.moc"
