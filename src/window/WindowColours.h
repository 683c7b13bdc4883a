// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <cstdint>

#include "windowlogic/Colours.h"

class QPalette;
class QWidget;

// The window's colour values (windowlogic/Colours.h) as Qt colours; a system
// colour is taken from the widget's palette.
namespace versemark {

QColor ToQColor(Colour value, const QPalette& palette);

// Sets the text colour of a label, check box or button, and remembers the value.
void SetTextColour(QWidget* widget, Colour value);
// The value last given to SetTextColour (0, black, when none was).
Colour TextColourValue(const QWidget* widget);

}  // namespace versemark
