// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/WrappingCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextOption>

namespace versemark {

WrappingCheckBox::WrappingCheckBox(const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent) {}

void WrappingCheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_CheckBox, option);  // the box and the focus, no caption

    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    const int gap = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    const QRect area(indicator.right() + 1 + gap, 0, width() - indicator.right() - 1 - gap,
                     height());
    QTextOption wrap(Qt::AlignLeft | Qt::AlignVCenter);
    wrap.setWrapMode(QTextOption::WordWrap);
    painter.setPen(option.palette.color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                        QPalette::WindowText));
    painter.drawText(QRectF(area), text(), wrap);
}

}  // namespace versemark
