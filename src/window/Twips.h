// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Window geometry is written in twips (1/1440 inch) and turned into pixels here
// only: 15 twips a pixel at 96 dpi, scaled by the screen's logical dpi. Each
// control keeps the twip rectangle it was last given, so the layout rules read
// back exact twip values instead of rounded pixels.
namespace versemark {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDesignDpi = 96;  // 15 twips a pixel

int TwipsToPixels(int twips, qreal dpi);
int PixelsToTwips(int pixels, qreal dpi);

// The logical dpi the widget is drawn at, and its ratio to the design's 96.
qreal LogicalDpi(const QWidget* widget);
qreal DesignScale(const QWidget* widget);

// The twip rectangle of a control (its parent's coordinates).
QRect TwipGeometry(const QWidget* widget);
void SetTwipGeometry(QWidget* widget, const QRect& twips);
void SetTwipGeometry(QWidget* widget, int left, int top, int width, int height);
void SetTwipLeft(QWidget* widget, int left);
void SetTwipWidth(QWidget* widget, int width);

// A window's inner size in twips.
QSize ClientSizeInTwips(const QWidget* window);
// The pixel size of a twip size, for sizing a window.
QSize TwipSizeToPixels(const QWidget* widget, const QSize& twips);

}  // namespace versemark
