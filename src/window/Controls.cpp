// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/Controls.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVariant>
#include <algorithm>

#include "window/Twips.h"
#include "window/WrappingButton.h"

namespace versemark {
namespace {

constexpr char kAutoSizeProperty[] = "autoSize";
constexpr char kDesignSizeProperty[] = "designSize";
constexpr int kRuleThickness = 15;  // one pixel at 96 dpi
constexpr int kLinesOfAWrappingLabel = 2;

// A fixed label with room for two lines wraps its caption, and grows downwards
// when the wrapped caption needs more lines than designed. A one-line label keeps
// its caption on one line and grows to the right when the caption is wider than
// designed, and downwards when the line is taller. (The fonts found here may be
// wider and taller than the designed ones.)
bool FitsOneLineOnly(const QLabel* label) {
    return label->height() < kLinesOfAWrappingLabel * label->fontMetrics().lineSpacing();
}
const QString kMnemonicMark = QStringLiteral("&");
const QString kEscapedMnemonicMark = QStringLiteral("&&");

}  // namespace

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                  int width, int height, AutoSize autoSize) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setProperty(kAutoSizeProperty, autoSize == AutoSize::On);
    SetTwipGeometry(label, left, top, width, height);
    label->setProperty(kDesignSizeProperty, label->size());
    label->setWordWrap(autoSize == AutoSize::Off && !FitsOneLineOnly(label));
    SetCaption(label, caption);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, int left,
                        int top, int width, int height) {
    auto* button = new WrappingButton(parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    SetButtonCaption(button, caption);
    SetTwipGeometry(button, left, top, width, height);
    return button;
}

QLabel* MakePicture(QWidget* parent, const QString& name, int left, int top, int width,
                    int height) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetTwipGeometry(picture, left, top, width, height);
    return picture;
}

QFrame* MakeRule(QWidget* parent, const QString& name, int x1, int y1, int x2, int y2) {
    auto* rule = new QFrame(parent);
    rule->setObjectName(name);
    const bool horizontal = y1 == y2;
    rule->setFrameShape(horizontal ? QFrame::HLine : QFrame::VLine);
    rule->setFrameShadow(QFrame::Plain);
    rule->setLineWidth(1);
    if (horizontal) {
        SetTwipGeometry(rule, x1, y1, x2 - x1, kRuleThickness);
    } else {
        SetTwipGeometry(rule, x1, y1, kRuleThickness, y2 - y1);
    }
    return rule;
}

void SetRuleEnd(QFrame* rule, int x2) {
    SetTwipWidth(rule, x2 - TwipGeometry(rule).left());
}

void SetCaption(QLabel* label, const QString& caption) {
    label->setText(caption);
    if (label->property(kAutoSizeProperty).toBool()) {
        label->adjustSize();
        return;
    }
    const QSize designed = label->property(kDesignSizeProperty).toSize();
    if (label->wordWrap()) {
        label->resize(designed.width(),
                      std::max(designed.height(), label->heightForWidth(designed.width())));
    } else {
        const QSize needed = label->sizeHint();
        label->resize(std::max(designed.width(), needed.width()),
                      std::max(designed.height(), needed.height()));
    }
}

QString ButtonCaption(const QPushButton* button) {
    QString caption = button->text();
    caption.replace(kEscapedMnemonicMark, kMnemonicMark);
    return caption;
}

void SetButtonCaption(QPushButton* button, const QString& caption) {
    QString shown = caption;
    shown.replace(kMnemonicMark, kEscapedMnemonicMark);
    button->setText(shown);
}

void SetBold(QWidget* widget, bool bold) {
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

}  // namespace versemark
