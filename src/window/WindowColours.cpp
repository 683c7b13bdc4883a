// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/WindowColours.h"

#include <QApplication>
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace versemark {
namespace {

constexpr int kRedShift = 0;
constexpr int kGreenShift = 8;
constexpr int kBlueShift = 16;
constexpr Colour kComponentMask = 0xFF;
constexpr char kColourProperty[] = "colourValue";

QColor SystemColour(Colour value, const QPalette& palette) {
    switch (value) {
        case kSystemButtonShadow:
            return palette.color(QPalette::Active, QPalette::Dark);
        case kSystemGrayText:
            return palette.color(QPalette::Disabled, QPalette::WindowText);
        case kSystemButtonText:
            return palette.color(QPalette::Active, QPalette::ButtonText);
        default:
            return palette.color(QPalette::Active, QPalette::WindowText);
    }
}

}  // namespace

QColor ToQColor(Colour value, const QPalette& palette) {
    if ((value & kSystemColourFlag) != 0) {
        return SystemColour(value, palette);
    }
    return QColor(static_cast<int>((value >> kRedShift) & kComponentMask),
                  static_cast<int>((value >> kGreenShift) & kComponentMask),
                  static_cast<int>((value >> kBlueShift) & kComponentMask));
}

Colour TextColourValue(const QWidget* widget) {
    return static_cast<Colour>(widget->property(kColourProperty).toULongLong());
}

void SetTextColour(QWidget* widget, Colour value) {
    widget->setProperty(kColourProperty, static_cast<qulonglong>(value));
    // System colours come from the untouched palette, not from one set here before.
    const QColor colour = ToQColor(value, QApplication::palette(widget));
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

}  // namespace versemark
