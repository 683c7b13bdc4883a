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
      pictures_(DesignScale(this)),
      logic_(values, *this, WithSettings(std::move(services), tagSettings_)) {
    setObjectName(QString::fromLatin1(kWindowDesignName.data(), kWindowDesignName.size()));
    setWindowTitle(QString::fromLatin1(texts::kWindowCaption));
    setWindowIcon(pictures_.WindowIcon());
    setFont(DefaultWindowFont());

    CreateControls();
    ConnectControls();
    SetTabOrder();
    setAcceptDrops(true);

    resize(TwipSizeToPixels(this, QSize(kDesignClientSize.Width, kDesignClientSize.Height)));
    logic_.Load();
}

QtWindow::~QtWindow() {
    // The controls are deleted after this window's own members; nothing they
    // signal on the way out may reach a handler any more.
    for (QObject* child : findChildren<QObject*>()) {
        QObject::disconnect(child, nullptr, this, nullptr);
    }
    // The rows belong to the logic, which goes before the controls: the list may
    // not read them any more while the window closes.
    delete list_;
    list_ = nullptr;
}

QWidget* QtWindow::Widget(ControlId control) const {
    const auto found = controls_.find(control);
    return found != controls_.end() ? found->second : nullptr;
}

void QtWindow::ConnectControls() {
    // Every button and check box reports its click; the logic knows its command.
    for (const auto& [control, widget] : controls_) {
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, id = control] { logic_.Clicked(id); });
        }
    }

    connect(listModel_, &ResultListModel::CheckBoxClicked, this,
            [this](int row, bool checked) { logic_.RowChecked(row, checked); });
    connect(list_->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { logic_.SortByColumn(section); });
    connect(list_, &ResultListView::RowClicked, this, [this](int row) { logic_.RowClicked(row); });
    connect(list_, &ResultListView::CheckKeyPressed, this, [this] { logic_.CheckKeyPressed(); });
    connect(list_, &ResultListView::RowOpened, this, [this](int row) { logic_.RowOpened(row); });
    auto* closeViewer = new QShortcut(QKeySequence(Qt::Key_Escape), viewer_);
    closeViewer->setContext(Qt::WidgetShortcut);
    connect(closeViewer, &QShortcut::activated, this, [this] { logic_.EscapePressed(); });
    connect(lyricsChoice_, &QComboBox::currentIndexChanged, this,
            [this](int index) { logic_.ChooseLyrics(index); });
}

void QtWindow::SetTabOrder() {
    QWidget* previous = nullptr;
    for (const ControlId control : TabOrder()) {
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
    viewer_->setTabChangesFocus(true);
    Widget(ControlId::FolderButton)->setFocus();
}

void QtWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    logic_.Resize();
}

void QtWindow::closeEvent(QCloseEvent* event) {
    // The window stays while a tagging pass finishes its file; the program
    // ends after it.
    if (logic_.Close()) {
        event->accept();
    } else {
        event->ignore();
    }
}

QString QtWindow::MatchesCaption() const {
    return Widget<QLabel>(ControlId::MatchesLabel)->text();
}

}  // namespace versemark
