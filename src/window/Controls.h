// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

// Making the window's controls at twip positions, and the few things every
// command does to them: captions (labels that size themselves follow their
// text), button captions as state, bold captions, rules.
namespace versemark {

enum class AutoSize { Off, On };

// A plain-text label; a fixed label wraps its text within its width.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                  int width, int height, AutoSize autoSize = AutoSize::Off);
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, int left,
                        int top, int width, int height);
// An image control showing one picture at its top left.
QLabel* MakePicture(QWidget* parent, const QString& name, int left, int top, int width, int height);
// A horizontal or vertical rule from (x1, y1) to (x2, y2).
QFrame* MakeRule(QWidget* parent, const QString& name, int x1, int y1, int x2, int y2);
// Moves the right end of a horizontal rule.
void SetRuleEnd(QFrame* rule, int x2);

// Sets a label's caption; a label that sizes itself takes the size of its text.
void SetCaption(QLabel* label, const QString& caption);

// A button's caption as its commands read it ("&" is shown as itself).
QString ButtonCaption(const QPushButton* button);
void SetButtonCaption(QPushButton* button, const QString& caption);
void SetBold(QWidget* widget, bool bold);

}  // namespace versemark
