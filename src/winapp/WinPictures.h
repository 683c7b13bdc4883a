// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <commctrl.h>

// The window's pictures on Windows: the image list with the five
// pictures numbered 1 to 5 (list positions 0 to 4), scaled by the dpi and centred
// in the height of the list's rows, and the program icon from the resources.
namespace versemark::winapp {

inline constexpr int kPictureCount = 5;
inline constexpr int kPictureSize = 16;  // pixels at 96 dpi
// The program icon's resource number (versemark.rc).
inline constexpr int kProgramIconResource = 1;

class PictureList {
  public:
    // `rowFont` is the list's: its rows are as tall as its text where that is
    // taller than the pictures.
    PictureList(int dpi, HFONT rowFont);
    ~PictureList();
    PictureList(const PictureList&) = delete;
    PictureList& operator=(const PictureList&) = delete;

    HIMAGELIST Handle() const { return list_; }
    int Size() const { return size_; }
    // The list position of picture `number` (1 to 5); -1 for none.
    static int Position(int number);
    // An icon of picture `number` for an image control, owned by this list.
    HICON Icon(int number) const;

  private:
    HIMAGELIST list_ = nullptr;
    int size_ = kPictureSize;
    HICON icons_[kPictureCount] = {};
};

}  // namespace versemark::winapp
