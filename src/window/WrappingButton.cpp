// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/WrappingButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextOption>

#include "window/Controls.h"

namespace versemark {

WrappingButton::WrappingButton(QWidget* parent) : QPushButton(parent) {}

void WrappingButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);  // the bevel without a label

    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    QTextOption wrap(Qt::AlignCenter);
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.setPen(option.palette.color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                        QPalette::ButtonText));
    painter.drawText(QRectF(area), ButtonCaption(this), wrap);
}

}  // namespace versemark
