// SPDX-License-Identifier: GPL-3.0-or-later
// The window without a mouse: the tab order through the three steps, Space on
// the list as a check-box click, the arrow keys filling the panel, Enter showing
// the prepared lyrics and Escape closing them.
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "WindowTestSupport.h"
#include "support/RoadLibrary.h"
#include "tags/Id3v2Lyrics.h"
#include "window/ResultListModel.h"
#include "windowlogic/RowLook.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

const QString kNoBreakSpace = QString(QChar(0x00A0));

// The ID3v2 check box follows the tagging button where the build offers it.
QStringList Id3v2Choice() {
    return Id3v2LyricsAvailable() ? QStringList({"chkAlsoId3v2"}) : QStringList();
}

// The road library matched in a shown, active window.
struct KeyboardWindow {
    KeyboardWindow() {
        road.IndexInto(window.Values);
        window.Show();
        QApplication::setActiveWindow(&window.Form());
        QVERIFY(QTest::qWaitForWindowActive(&window.Form()));
        window.ChooseFolderAndMatch(road.Music());
    }

    QTreeView* List() { return window.Find<QTreeView>("list"); }
    QPlainTextEdit* Viewer() { return window.Find<QPlainTextEdit>("txtViewLyrics"); }

    // Makes a row current and selected without a click, as the tests' starting point.
    void MakeCurrent(std::string_view mp3) {
        List()->selectionModel()->setCurrentIndex(
            List()->model()->index(window.RowOf(mp3), 1),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(List(), key, modifiers);
    }
    std::string CurrentMp3() {
        const int row = List()->currentIndex().row();
        return row < 0 ? std::string() : window.RowNamed(Mp3At(row)).Mp3Name;
    }
    std::string Mp3At(int row) {
        return window.Form().ListModel().Rows().Row(static_cast<std::size_t>(row)).Mp3Name;
    }
    QString FocusName() {
        QWidget* focus = QApplication::focusWidget();
        return focus != nullptr ? focus->objectName() : QStringLiteral("<none>");
    }
    // The names Tab visits from the focus widget until it comes round again.
    QStringList TabRound() {
        QStringList names;
        const QString first = FocusName();
        for (int step = 0; step < 40; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (FocusName() == first) {
                return names;
            }
            names << FocusName();
        }
        return names << "<no way round>";
    }

    RoadLibrary road;
    WindowUnderTest window;
};

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

  private slots:
    void theFocusChainFollowsTheSteps() {
        WindowUnderTest window;
        QStringList chain;
        QWidget* start = window.Button("cmdBrowseForFolder");
        for (QWidget* widget = start;;) {
            if (widget->focusPolicy() & Qt::TabFocus) {
                chain << widget->objectName();
            }
            widget = widget->nextInFocusChain();
            if (widget == start) {
                break;
            }
        }
        QCOMPARE(chain, QStringList({"cmdBrowseForFolder", "chkSubfolders", "chkAllFormats", "list",
                                     "txtViewLyrics", "cboLyrics", "cmdDisplayLyrics",
                                     "cmdDisplaySavedLyrics", "cmdSel_0", "cmdSel_2", "cmdCheck_0",
                                     "cmdCheck_1", "cmdSel_5", "cmdSel_3", "cmdSel_6", "cmdSel_1",
                                     "cmdTagThem"}) +
                            Id3v2Choice() + QStringList({"chkBesideFile"}));
    }

    void tabVisitsOnlyTheControlsThatAreShown() {
        KeyboardWindow keys;
        keys.window.Button("cmdBrowseForFolder")->setFocus();
        QCOMPARE(keys.TabRound(), QStringList({"chkSubfolders", "chkAllFormats", "list", "cmdSel_0",
                                               "cmdSel_2", "cmdCheck_0", "cmdCheck_1", "cmdSel_5",
                                               "cmdSel_3", "cmdSel_6", "cmdSel_1", "cmdTagThem"}) +
                                      Id3v2Choice() + QStringList({"chkBesideFile"}));
        // From the list of a tagged file's row into its panel: both viewer buttons.
        keys.MakeCurrent(kEpsilon);
        keys.window.Form().Logic().RowClicked(keys.window.RowOf(kEpsilon));
        keys.List()->setFocus();
        QCOMPARE(keys.TabRound(),
                 QStringList({"cmdDisplayLyrics", "cmdDisplaySavedLyrics", "cmdSel_0", "cmdSel_2",
                              "cmdCheck_0", "cmdCheck_1", "cmdSel_5", "cmdSel_3", "cmdSel_6",
                              "cmdSel_1", "cmdTagThem"}) +
                     Id3v2Choice() +
                     QStringList({"chkBesideFile", "cmdBrowseForFolder", "chkSubfolders",
                                  "chkAllFormats"}));
        // A file with two candidates: the choice among them comes first.
        keys.MakeCurrent(kGammaLive);
        keys.window.Form().Logic().RowClicked(keys.window.RowOf(kGammaLive));
        keys.List()->setFocus();
        QCOMPARE(keys.TabRound().mid(0, 3),
                 QStringList({"cboLyrics", "cmdDisplayLyrics", "cmdSel_0"}));
        // The viewer stands in the list's place in the round.
        keys.window.Button("cmdDisplayLyrics")->click();
        keys.window.Button("cmdBrowseForFolder")->setFocus();
        QCOMPARE(keys.TabRound().mid(0, 4),
                 QStringList({"chkSubfolders", "chkAllFormats", "txtViewLyrics", "cboLyrics"}));
    }

    void theFolderButtonHasTheFocusAtStart() {
        WindowUnderTest window;
        window.Show();
        QApplication::setActiveWindow(&window.Form());
        QVERIFY(QTest::qWaitForWindowActive(&window.Form()));
        QCOMPARE(QApplication::focusWidget(), window.Button("cmdBrowseForFolder"));
    }

    void theFocusComesBackAfterAPass() {
        KeyboardWindow keys;
        WindowUnderTest& window = keys.window;
        // The folder button pressed with Space: the pass disables it on the way.
        QPushButton* folder = window.Button("cmdBrowseForFolder");
        folder->setFocus();
        window.Prompts.Folders.push_back(keys.road.Music());
        QTest::keyClick(folder, Qt::Key_Space);
        QCOMPARE(window.Prompts.FolderDialogs, 2);
        QCOMPARE(QApplication::focusWidget(), folder);

        // The list is hidden while the pass fills it.
        keys.List()->setFocus();
        QString focusDuringPass;
        window.OnProcessEvents = [&](int) { focusDuringPass = keys.FocusName(); };
        window.ChooseFolderAndMatch(keys.road.Music());
        QVERIFY(focusDuringPass != "list");
        QCOMPARE(QApplication::focusWidget(), keys.List());
    }

    void spaceChecksAndUnchecksAsACheckBoxClickDoes() {
        KeyboardWindow keys;
        WindowUnderTest& window = keys.window;
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 2"));
        keys.MakeCurrent(kBeta);
        keys.Press(Qt::Key_Space);
        QVERIFY(window.RowNamed(kBeta).Checked);
        QCOMPARE(std::string(RowText(window.RowNamed(kBeta))), std::string("\xA0"));
        QCOMPARE(keys.List()->model()->index(window.RowOf(kBeta), 0).data().toString(),
                 kNoBreakSpace);
        QCOMPARE(window.Form().ListModel().Rows().CheckedCount(), 3u);
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 3"));

        keys.Press(Qt::Key_Space);
        QVERIFY(!window.RowNamed(kBeta).Checked);
        QCOMPARE(std::string(RowText(window.RowNamed(kBeta))), std::string());
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 2"));
        QVERIFY(window.Button("cmdTagThem")->isEnabled());

        // The last check mark off: "Tag checked files" is disabled, as after a click.
        for (const char* checked : {kAlpha, kGammaLive}) {
            keys.MakeCurrent(checked);
            keys.Press(Qt::Key_Space);
        }
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 0"));
        QVERIFY(!window.Button("cmdTagThem")->isEnabled());
        keys.Press(Qt::Key_Space);
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 1"));
        QVERIFY(window.Button("cmdTagThem")->isEnabled());
        // Space neither moves the current row nor changes the selection.
        QCOMPARE(keys.CurrentMp3(), std::string(kGammaLive));
        QCOMPARE(keys.List()->selectionModel()->selectedRows().size(), 1);
    }

    void spaceTakesTheRowsSelectedWithTheCurrentOneAlong() {
        KeyboardWindow keys;
        WindowUnderTest& window = keys.window;
        // Beta and Epsilon unchecked, Alpha checked; Beta current.
        keys.MakeCurrent(kAlpha);
        QItemSelectionModel* selection = keys.List()->selectionModel();
        for (const char* also : {kEpsilon, kBeta}) {
            selection->setCurrentIndex(keys.List()->model()->index(window.RowOf(also), 1),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        keys.Press(Qt::Key_Space);
        for (const char* row : {kAlpha, kBeta, kEpsilon}) {
            QVERIFY2(window.RowNamed(row).Checked, row);
        }
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 4"));  // Alpha was counted already

        keys.Press(Qt::Key_Space);
        for (const char* row : {kAlpha, kBeta, kEpsilon}) {
            QVERIFY2(!window.RowNamed(row).Checked, row);
        }
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 1"));
        QVERIFY(window.RowNamed(kGammaLive).Checked);  // not selected, not touched

        // A current row outside the selection goes alone.
        selection->setCurrentIndex(keys.List()->model()->index(window.RowOf(kZeta), 1),
                                   QItemSelectionModel::NoUpdate);
        keys.Press(Qt::Key_Space);
        QVERIFY(window.RowNamed(kZeta).Checked);
        QVERIFY(!window.RowNamed(kAlpha).Checked);
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 2"));
    }

    void controlSpaceStillOnlySelects() {
        KeyboardWindow keys;
        keys.MakeCurrent(kBeta);
        keys.Press(Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(!keys.window.RowNamed(kBeta).Checked);
        QCOMPARE(keys.window.Text("Label1_2"), QString("Checked: 2"));
        QVERIFY(keys.List()->selectionModel()->selectedRows().isEmpty());  // toggled off
    }

    void arrowKeysMoveTheCurrentRowAndFillThePanel() {
        KeyboardWindow keys;
        WindowUnderTest& window = keys.window;
        QVERIFY(window.Find<QWidget>("picInfo")->isHidden());
        keys.MakeCurrent(keys.Mp3At(0));
        keys.Press(Qt::Key_Down);
        const std::string second = keys.Mp3At(1);
        QCOMPARE(keys.CurrentMp3(), second);
        QVERIFY(window.Find<QWidget>("picInfo")->isVisible());
        QCOMPARE(window.Text("lblInfo_0"), QString::fromStdString(second));
        QCOMPARE(window.Label("lblInfo_0")->toolTip(),
                 QString::fromStdString(window.RowNamed(second).Mp3Path));
        QCOMPARE(keys.List()->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(keys.List()->selectionModel()->selectedRows().front().row(), 1);

        keys.Press(Qt::Key_End);
        const std::string last = keys.Mp3At(window.Form().ListModel().rowCount() - 1);
        QCOMPARE(window.Text("lblInfo_0"), QString::fromStdString(last));
        keys.Press(Qt::Key_Up);
        QCOMPARE(window.Text("lblInfo_0"),
                 QString::fromStdString(keys.Mp3At(window.Form().ListModel().rowCount() - 2)));

        // The panel of a row with two candidates offers them, as after a click.
        keys.MakeCurrent(kAlpha);
        const int gammaLive = window.RowOf(kGammaLive);
        const int alpha = window.RowOf(kAlpha);
        for (int step = alpha; step < gammaLive; ++step) {
            keys.Press(Qt::Key_Down);
        }
        for (int step = alpha; step > gammaLive; --step) {
            keys.Press(Qt::Key_Up);
        }
        QCOMPARE(keys.CurrentMp3(), std::string(kGammaLive));
        QCOMPARE(window.Text("Label1_5"), QString("Lyrics(2):"));
        QVERIFY(window.Find<QComboBox>("cboLyrics")->isVisible());
    }

    void enterShowsThePreparedLyricsAndEscapeReturns() {
        KeyboardWindow keys;
        WindowUnderTest& window = keys.window;
        // What "Display lyrics" shows for the row.
        keys.MakeCurrent(kAlpha);
        window.Form().Logic().RowClicked(window.RowOf(kAlpha));
        window.Button("cmdDisplayLyrics")->click();
        const QString prepared = keys.Viewer()->toPlainText();
        QVERIFY(prepared.startsWith("First words\n"));
        window.Button("cmdDisplayLyrics")->click();
        window.Find<QWidget>("picInfo")->hide();  // as after a pass: the panel is gone

        keys.List()->setFocus();
        keys.Press(Qt::Key_Return);
        QVERIFY(keys.Viewer()->isVisible());
        QVERIFY(keys.List()->isHidden());
        QCOMPARE(keys.Viewer()->toPlainText(), prepared);
        QCOMPARE(window.Caption("cmdDisplayLyrics"), QString("Return to list"));
        QVERIFY(window.Button("cmdDisplayLyrics")->font().bold());
        // The panel is back for that row, with the button that returns to the list.
        QVERIFY(window.Button("cmdDisplayLyrics")->isVisible());
        QCOMPARE(window.Text("lblInfo_0"), QString(kAlpha));
        QCOMPARE(QApplication::focusWidget(), keys.Viewer());

        QTest::keyClick(keys.Viewer(), Qt::Key_Escape);
        QVERIFY(keys.List()->isVisible());
        QVERIFY(keys.Viewer()->isHidden());
        QVERIFY(keys.Viewer()->toPlainText().isEmpty());
        QCOMPARE(window.Caption("cmdDisplayLyrics"), QString("Display lyrics"));
        QVERIFY(!window.Button("cmdDisplayLyrics")->font().bold());
        QCOMPARE(QApplication::focusWidget(), keys.List());

        // The keypad's Enter does the same.
        keys.Press(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(keys.Viewer()->toPlainText(), prepared);
    }

    void escapeLeavesTheTaggingLogAlone() {
        KeyboardWindow keys;
        WindowUnderTest& window = keys.window;
        window.Prompts.Answers.push_back(true);
        window.Button("cmdTagThem")->click();
        QVERIFY(keys.Viewer()->isVisible());
        QTest::keyClick(keys.Viewer(), Qt::Key_Escape);
        QVERIFY(keys.Viewer()->isVisible());
        QCOMPARE(window.Caption("cmdTagThem"), QString("Return to list"));
        QVERIFY(window.Prompts.Asked.size() == 1);  // only the confirmation
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
