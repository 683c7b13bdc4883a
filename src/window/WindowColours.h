#pragma once

#include <QColor>
#include <cstdint>

#include "matching/MatchFolder.h"

class QPalette;
class QWidget;

// Colours of the window as platform values 0x00BBGGRR. A value with the top bit
// set names a system colour, taken from the widget's palette.
namespace versemark {

inline constexpr Colour kSystemColourFlag = 0x80000000;
inline constexpr Colour kSystemButtonShadow = 0x80000010;
inline constexpr Colour kSystemGrayText = 0x80000011;
inline constexpr Colour kSystemButtonText = 0x80000012;

// The colour of the current step (red 0, green 128, blue 128).
inline constexpr Colour kCurrentStepColour = 0x808000;
inline constexpr Colour kOtherStepColour = kSystemGrayText;

QColor ToQColor(Colour value, const QPalette& palette);

// Sets the text colour of a label, check box or button, and remembers the value.
void SetTextColour(QWidget* widget, Colour value);
// The value last given to SetTextColour (0, black, when none was).
Colour TextColourValue(const QWidget* widget);

}  // namespace versemark
