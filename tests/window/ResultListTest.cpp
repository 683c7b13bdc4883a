// SPDX-License-Identifier: GPL-3.0-or-later
// The result list: check-box clicks and the checked count, header-click sorting,
// "Check selected" / "Uncheck selected", and the six filters chosen by caption.
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <set>

#include "WindowTestSupport.h"
#include "support/SampleRows.h"
#include "window/Controls.h"
#include "window/ResultListModel.h"
#include "windowlogic/RowLook.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

using Names = std::set<std::string>;

// Five rows as a pass would leave them; two of them checked.
struct ListWindow {
    ListWindow() {
        FillRows(window.Form().Rows(), FiveRows());
        // What the folder command does after a pass.
        window.Form().Logic().RowChecked(window.RowOf("alpha.mp3"), true);
        window.Form().Logic().RowChecked(window.RowOf("echo.mp3"), true);
        window.Show();
    }

    QTreeView* List() { return window.Find<QTreeView>("list"); }

    std::vector<std::string> Order() {
        std::vector<std::string> names;
        for (const ResultRow& row : window.Form().ListModel().Rows().Rows()) {
            names.push_back(row.Mp3Name);
        }
        return names;
    }

    Names Selected() {
        Names names;
        for (const QModelIndex& index : List()->selectionModel()->selectedRows()) {
            names.insert(window.Form()
                             .ListModel()
                             .Rows()
                             .Row(static_cast<std::size_t>(index.row()))
                             .Mp3Name);
        }
        return names;
    }

    void Select(const Names& names) {
        QItemSelection selection;
        for (const std::string& name : names) {
            const int row = window.RowOf(name);
            selection.select(List()->model()->index(row, 0), List()->model()->index(row, 2));
        }
        List()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }

    void ClickHeader(int section) {
        QHeaderView* header = List()->header();
        const QPoint centre(
            header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    }

    void ClickCheckBox(std::string_view name) {
        const QModelIndex index = List()->model()->index(window.RowOf(name), 0);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                          List()->visualRect(index).center());
    }

    WindowUnderTest window;
};

}  // namespace

class ResultListTest : public QObject {
    Q_OBJECT

  private slots:
    void clickingACheckBoxCountsAndEnablesTagging() {
        ListWindow list;
        WindowUnderTest& window = list.window;
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 2"));
        list.ClickCheckBox("Beta.mp3");
        QVERIFY(window.RowNamed("Beta.mp3").Checked);
        QCOMPARE(std::string(RowText(window.RowNamed("Beta.mp3"))), std::string("\xA0"));
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 3"));
        QVERIFY(window.Button("cmdTagThem")->isEnabled());

        for (const char* name : {"Beta.mp3", "alpha.mp3", "echo.mp3"}) {
            list.ClickCheckBox(name);
        }
        QCOMPARE(std::string(RowText(window.RowNamed("alpha.mp3"))), std::string());
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 0"));
        QVERIFY(!window.Button("cmdTagThem")->isEnabled());
        list.ClickCheckBox("Delta.mp3");
        QCOMPARE(window.Text("Label1_2"), QString("Checked: 1"));
        QVERIFY(window.Button("cmdTagThem")->isEnabled());
    }

    void selectionAndCurrentRowFollowTheirRowsWhenSorting() {
        ListWindow list;
        list.Select({"Beta.mp3", "echo.mp3"});
        list.List()->selectionModel()->setCurrentIndex(
            list.List()->model()->index(list.window.RowOf("Delta.mp3"), 1),
            QItemSelectionModel::NoUpdate);
        list.ClickHeader(1);
        QCOMPARE(list.Order().front(), std::string("alpha.mp3"));
        QVERIFY(list.List()->header()->isSortIndicatorShown());
        QCOMPARE(list.List()->header()->sortIndicatorSection(), 1);
        QCOMPARE(list.Selected(), (Names{"Beta.mp3", "echo.mp3"}));
        QCOMPARE(list.List()->currentIndex().row(), list.window.RowOf("Delta.mp3"));
        // Checks and the count are untouched by sorting.
        QCOMPARE(list.window.Text("Label1_2"), QString("Checked: 2"));
        QVERIFY(list.window.RowNamed("alpha.mp3").Checked);
    }

    void theButtonNotItsCaptionChoosesTheFilter() {
        ListWindow list;
        QPushButton* selectAll = list.window.Button("cmdSel_0");
        QPushButton* unfiltered = list.window.Button("cmdSel_3");
        SetButtonCaption(selectAll, QStringLiteral("Unfiltered"));
        SetButtonCaption(unfiltered, QStringLiteral("Select All"));
        unfiltered->click();
        QCOMPARE(list.Selected(), (Names{"Beta.mp3", "charlie.mp3"}));
        selectAll->click();
        QCOMPARE(list.Selected().size(), std::size_t{5});
    }
};

QTEST_MAIN(ResultListTest)
#include "ResultListTest.moc"
