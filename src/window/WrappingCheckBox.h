// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>

// A check box whose caption wraps onto further lines when it is wider than the
// box's room, at word boundaries, beside the box at the top.
namespace versemark {

class WrappingCheckBox : public QCheckBox {
  public:
    WrappingCheckBox(const QString& caption, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace versemark
