// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

// A push button whose caption wraps onto further lines when it is wider than the
// button (at word boundaries, or anywhere in a long path), centred both ways.
namespace versemark {

class WrappingButton : public QPushButton {
  public:
    explicit WrappingButton(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace versemark
