// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/QtWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>

#include "window/Controls.h"
#include "window/ResultListModel.h"
#include "window/ResultListView.h"
#include "window/Twips.h"
#include "window/WindowFonts.h"
#include "windowlogic/WindowTexts.h"

namespace versemark {
namespace {

WindowServices WithSettings(WindowServices services, WindowSettings& settings) {
    if (services.Settings == nullptr) {
        services.Settings = &settings;
    }
    return services;
}

}  // namespace

QtWindow::QtWindow(ProgramValues& values, WindowServices services, QWidget* parent)
    : QWidget(parent),
      imgListMain(DesignScale(this)),
      logic_(values, *this, WithSettings(std::move(services), tagSettings_)) {
    setObjectName(QString::fromLatin1(kWindowDesignName.data(), kWindowDesignName.size()));
    setWindowTitle(QString::fromLatin1(texts::kWindowCaption));
    setWindowIcon(imgListMain.WindowIcon());
    setFont(DefaultWindowFont());

    CreateControls();
    ConnectControls();
    SetTabOrder();
    setAcceptDrops(true);

    resize(TwipSizeToPixels(this, QSize(kDesignClientSize.Width, kDesignClientSize.Height)));
    logic_.Form_Load();
}

QtWindow::~QtWindow() {
    // The controls are deleted after this window's own members; nothing they
    // signal on the way out may reach a handler any more.
    for (QObject* child : findChildren<QObject*>()) {
        QObject::disconnect(child, nullptr, this, nullptr);
    }
    // The rows belong to the logic, which goes before the controls: the list may
    // not read them any more while the window closes.
    delete list;
    list = nullptr;
}

QWidget* QtWindow::Widget(Control control) const {
    const auto found = controls_.find(control);
    return found != controls_.end() ? found->second : nullptr;
}

void QtWindow::ConnectControls() {
    const auto onClick = [this](Control control, auto handler) {
        if (auto* button = Widget<QAbstractButton>(control)) {
            connect(button, &QAbstractButton::clicked, this, handler);
        }
    };
    onClick({ControlName::cmdBrowseForFolder}, [this] { logic_.cmdBrowseForFolder_Click(); });
    onClick({ControlName::cmdTagThem}, [this] { logic_.cmdTagThem_Click(); });
    onClick({ControlName::chkAlsoId3v2},
            [this](bool checked) { logic_.chkAlsoId3v2_Click(checked); });
    onClick({ControlName::chkAllFormats},
            [this](bool checked) { logic_.chkAllFormats_Click(checked); });
    onClick({ControlName::chkBesideFile},
            [this](bool checked) { logic_.chkBesideFile_Click(checked); });
    for (const int index : {0, 1}) {
        onClick({ControlName::cmdCheck, index}, [this, index] { logic_.cmdCheck_Click(index); });
    }
    for (const int index : {0, 1, 2, 3, 5, 6}) {
        onClick({ControlName::cmdSel, index}, [this, index] { logic_.cmdSel_Click(index); });
    }
    onClick({ControlName::cmdDisplayLyrics}, [this] { logic_.cmdDisplayLyrics_Click(); });
    onClick({ControlName::cmdDisplaySavedLyrics}, [this] { logic_.cmdDisplaySavedLyrics_Click(); });

    connect(listModel_, &ResultListModel::CheckBoxClicked, this,
            [this](int row, bool checked) { logic_.list_ItemCheck(row, checked); });
    connect(list->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { logic_.list_ColumnClick(section + 1); });
    connect(list, &ResultListView::RowClicked, this,
            [this](int row) { logic_.list_ItemClick(row); });
    connect(list, &ResultListView::CheckKeyPressed, this, [this] { logic_.list_KeySpace(); });
    connect(list, &ResultListView::RowOpened, this, [this](int row) { logic_.list_KeyEnter(row); });
    auto* closeViewer = new QShortcut(QKeySequence(Qt::Key_Escape), txtViewLyrics);
    closeViewer->setContext(Qt::WidgetShortcut);
    connect(closeViewer, &QShortcut::activated, this, [this] { logic_.txtViewLyrics_KeyEscape(); });
    connect(cboLyrics, &QComboBox::currentIndexChanged, this,
            [this](int index) { logic_.cboLyrics_Click(index); });
}

void QtWindow::SetTabOrder() {
    QWidget* previous = nullptr;
    for (const Control control : TabOrder()) {
        QWidget* next = Widget(control);
        if (next == nullptr) {
            continue;
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, next);
        }
        previous = next;
    }
    // Tab leaves the viewer instead of being ignored by it.
    txtViewLyrics->setTabChangesFocus(true);
    Widget({ControlName::cmdBrowseForFolder})->setFocus();
}

void QtWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    logic_.Form_Resize();
}

void QtWindow::closeEvent(QCloseEvent* event) {
    // The window stays while a tagging pass finishes its file; the program
    // ends after it.
    if (logic_.Form_Unload()) {
        event->accept();
    } else {
        event->ignore();
    }
}

QString QtWindow::MatchesCaption() const {
    return Widget<QLabel>({ControlName::Label1, 1})->text();
}

}  // namespace versemark
