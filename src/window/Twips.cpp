// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/Twips.h"

#include <QVariant>
#include <QWidget>
#include <cmath>

namespace versemark {
namespace {

constexpr char kTwipProperty[] = "twipGeometry";

}  // namespace

int TwipsToPixels(int twips, qreal dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

int PixelsToTwips(int pixels, qreal dpi) {
    return static_cast<int>(std::lround(pixels * kTwipsPerInch / dpi));
}

qreal LogicalDpi(const QWidget* widget) {
    return widget->logicalDpiX();
}

qreal DesignScale(const QWidget* widget) {
    return LogicalDpi(widget) / kDesignDpi;
}

QRect TwipGeometry(const QWidget* widget) {
    const QVariant stored = widget->property(kTwipProperty);
    if (stored.isValid()) {
        return stored.toRect();
    }
    const qreal dpi = LogicalDpi(widget);
    const QRect pixels = widget->geometry();
    return QRect(PixelsToTwips(pixels.x(), dpi), PixelsToTwips(pixels.y(), dpi),
                 PixelsToTwips(pixels.width(), dpi), PixelsToTwips(pixels.height(), dpi));
}

void SetTwipGeometry(QWidget* widget, const QRect& twips) {
    widget->setProperty(kTwipProperty, twips);
    // Both edges are rounded, so controls that meet in twips meet in pixels.
    const qreal dpi = LogicalDpi(widget);
    const int left = TwipsToPixels(twips.x(), dpi);
    const int top = TwipsToPixels(twips.y(), dpi);
    const int right = TwipsToPixels(twips.x() + twips.width(), dpi);
    const int bottom = TwipsToPixels(twips.y() + twips.height(), dpi);
    widget->setGeometry(left, top, right - left, bottom - top);
}

void SetTwipGeometry(QWidget* widget, int left, int top, int width, int height) {
    SetTwipGeometry(widget, QRect(left, top, width, height));
}

void SetTwipLeft(QWidget* widget, int left) {
    QRect twips = TwipGeometry(widget);
    twips.moveLeft(left);
    SetTwipGeometry(widget, twips);
}

void SetTwipWidth(QWidget* widget, int width) {
    QRect twips = TwipGeometry(widget);
    twips.setWidth(width);
    SetTwipGeometry(widget, twips);
}

QSize ClientSizeInTwips(const QWidget* window) {
    const qreal dpi = LogicalDpi(window);
    return QSize(PixelsToTwips(window->width(), dpi), PixelsToTwips(window->height(), dpi));
}

QSize TwipSizeToPixels(const QWidget* widget, const QSize& twips) {
    const qreal dpi = LogicalDpi(widget);
    return QSize(TwipsToPixels(twips.width(), dpi), TwipsToPixels(twips.height(), dpi));
}

}  // namespace versemark
