// SPDX-License-Identifier: GPL-3.0-or-later
// The window's controls as designed (WindowDesign): containers, positions and
// sizes in twips, captions, fonts, colours and first states.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "tags/Id3v2Lyrics.h"
#include "window/Controls.h"
#include "window/DisplayString.h"
#include "window/QtWindow.h"
#include "window/ResultListModel.h"
#include "window/ResultListView.h"
#include "window/Twips.h"
#include "window/WindowColours.h"
#include "window/WindowFonts.h"
#include "window/WrappingCheckBox.h"

namespace versemark {
namespace {

QRect ToQRect(const TwipRect& twips) {
    return QRect(twips.Left, twips.Top, twips.Width, twips.Height);
}

QString NameOf(const ControlDesign& design) {
    return QString::fromLatin1(design.Name.data(), static_cast<qsizetype>(design.Name.size()));
}

QFont FontOf(DesignFont font) {
    switch (font) {
        case DesignFont::Bold: {
            QFont bold = DefaultWindowFont();
            bold.setBold(true);
            return bold;
        }
        case DesignFont::LyricsCount:
            return LyricsCountFont();
        case DesignFont::Viewer:
            return ViewerFont();
        default:
            return DefaultWindowFont();
    }
}

QCheckBox* MakeCheckBox(QWidget* container, const ControlDesign& design) {
    const QString caption = DisplayString(design.Caption);
    QCheckBox* box = nullptr;
    if (design.Id == ControlId::AlsoId3v2Box || design.Id == ControlId::AllFormatsBox ||
        design.Id == ControlId::BesideFileBox) {
        box = new WrappingCheckBox(caption, container);
    } else {
        box = new QCheckBox(caption, container);
        // A caption's leading blanks are the gap after the box; the style adds none.
        box->setStyleSheet(QStringLiteral("QCheckBox { spacing: 0px; }"));
    }
    box->setChecked(design.Checked);
    SetTwipGeometry(box, ToQRect(design.Place));
    return box;
}

QWidget* MakeFrameOrPanel(QWidget* container, const ControlDesign& design) {
    QWidget* widget = design.Kind == ControlKind::Frame
                          ? new QGroupBox(DisplayString(design.Caption), container)
                          : new QWidget(container);
    SetTwipGeometry(widget, ToQRect(design.Place));
    return widget;
}

}  // namespace

void QtWindow::CreateControls() {
    for (const ControlDesign& design : WindowDesign()) {
        // Only a build that can write the frame offers it.
        if (design.Id == ControlId::AlsoId3v2Box && !Id3v2LyricsAvailable()) {
            continue;
        }
        QWidget* container = design.Container ? Widget(*design.Container) : this;
        QWidget* widget = CreateControl(design, container);
        widget->setObjectName(NameOf(design));
        controls_[design.Id] = widget;
        if (design.Font != DesignFont::Default) {
            widget->setFont(FontOf(design.Font));
        }
        if (!design.ToolTip.empty()) {
            widget->setToolTip(DisplayString(design.ToolTip));
        }
        if (design.TextColour) {
            versemark::SetTextColour(widget, *design.TextColour);
        }
        if (!design.Enabled) {
            widget->setEnabled(false);
        }
        if (!design.Visible) {
            widget->hide();
        }
    }
    viewer_ = Widget<QPlainTextEdit>(ControlId::LyricsViewer);
    lyricsChoice_ = Widget<QComboBox>(ControlId::LyricsChoice);
}

QWidget* QtWindow::CreateControl(const ControlDesign& design, QWidget* container) {
    const QString name = NameOf(design);
    const TwipRect& place = design.Place;
    const QString caption = DisplayString(design.Caption);
    switch (design.Kind) {
        case ControlKind::Frame:
        case ControlKind::Panel:
            return MakeFrameOrPanel(container, design);
        case ControlKind::Label:
            return MakeLabel(container, name, caption, place.Left, place.Top, place.Width,
                             place.Height, design.AutoSize ? AutoSize::On : AutoSize::Off);
        case ControlKind::Picture:
            return MakePicture(container, name, place.Left, place.Top, place.Width, place.Height);
        case ControlKind::Rule:
            return MakeRule(container, name, place.Left, place.Top, place.Left + place.Width,
                            place.Top + place.Height);
        case ControlKind::Button:
            return MakeButton(container, name, caption, place.Left, place.Top, place.Width,
                              place.Height);
        case ControlKind::CheckBox:
            return MakeCheckBox(container, design);
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(container);
            SetTwipGeometry(combo, ToQRect(place));
            return combo;
        }
        case ControlKind::ListView:
            CreateList(design, container);
            return list_;
        case ControlKind::TextBox: {
            auto* viewer = new QPlainTextEdit(container);
            viewer->setReadOnly(true);
            SetTwipGeometry(viewer, ToQRect(place));
            return viewer;
        }
    }
    return nullptr;
}

void QtWindow::CreateList(const ControlDesign& design, QWidget* container) {
    list_ = new ResultListView(container);
    listModel_ = new ResultListModel(pictures_, logic_.Rows(), this);
    list_->setModel(listModel_);
    SetTwipGeometry(list_, ToQRect(design.Place));
    for (int column = 0; column < kColumnCount; ++column) {
        list_->header()->resizeSection(column,
                                       TwipsToPixels(kColumnWidths[column], LogicalDpi(list_)));
    }
}

}  // namespace versemark
