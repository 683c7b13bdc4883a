// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>
#include <array>

// The image list: the five 16 x 16 pictures of the list and the panel, numbered as
// the rows use them (1 lyrics filtered, 2 alert, 3 lyrics not filtered, 4 newer
// tag version, 5 one match), and the window's icon. On a screen whose logical dpi
// is above 96 the pictures are scaled with it, as the twip geometry is.
namespace versemark {

inline constexpr int kPictureCount = 5;
inline constexpr int kPictureSize = 16;

class ImageList {
  public:
    // `scale` is the screen's logical dpi over 96; 1 keeps the pictures as drawn.
    explicit ImageList(qreal scale = 1.0);

    // The picture of that number; a null pixmap for 0 or a number out of range.
    const QPixmap& Picture(int number) const;
    const QIcon& WindowIcon() const { return windowIcon_; }

  private:
    std::array<QPixmap, kPictureCount + 1> pictures_;  // [0] stays null
    QIcon windowIcon_;
};

}  // namespace versemark
