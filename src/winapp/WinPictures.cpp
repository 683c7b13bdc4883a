// SPDX-License-Identifier: GPL-3.0-or-later
#include "winapp/WinPictures.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace versemark::winapp {
namespace {

constexpr int kDesignDpi = 96;
constexpr int kBytesPerPixel = 4;
constexpr int kPictureBytes = kPictureSize * kPictureSize * kBytesPerPixel;
constexpr int kOpaqueFrom = 128;  // alpha at which a pixel counts as drawn
// The blank the list leaves between a row's picture and its text, in pixels at
// the design size: the list draws the text right against the image's edge.
constexpr int kListGap = 4;

// Red, green, blue and alpha of each picture, rows from the top.
constexpr std::uint8_t kPixels[kPictureCount][kPictureBytes] = {
#include "winapp/pictures/Pictures.inc"
};

// Picture `index` scaled to `size` pixels (nearest pixel), as a top-down 32-bit
// colour bitmap on the window colour and a monochrome mask of what is drawn,
// `width` pixels wide: the columns right of the picture are transparent.
void MakeBitmaps(int index, int size, int width, HBITMAP& colour, HBITMAP& mask) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    // Mask rows are padded to 16 bits; a set bit is transparent.
    const int maskStride = ((width + 15) / 16) * 2;
    std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(maskStride * size), 0);
    const COLORREF back = GetSysColor(COLOR_WINDOW);
    auto* out = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < width; ++x) {
            if (x >= size) {
                std::uint8_t* blank = &out[(y * width + x) * kBytesPerPixel];
                blank[0] = GetBValue(back);
                blank[1] = GetGValue(back);
                blank[2] = GetRValue(back);
                blank[3] = 0;
                maskBits[static_cast<std::size_t>(y * maskStride + x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
                continue;
            }
            const std::uint8_t* in = &kPixels[index][((y * kPictureSize / size) * kPictureSize +
                                                      x * kPictureSize / size) *
                                                     kBytesPerPixel];
            const int alpha = in[3];
            const auto blend = [alpha](int value, int background) {
                return static_cast<std::uint8_t>((value * alpha + background * (255 - alpha)) /
                                                 255);
            };
            std::uint8_t* pixel = &out[(y * width + x) * kBytesPerPixel];
            pixel[0] = blend(in[2], GetBValue(back));
            pixel[1] = blend(in[1], GetGValue(back));
            pixel[2] = blend(in[0], GetRValue(back));
            pixel[3] = 0;
            if (alpha < kOpaqueFrom) {
                maskBits[static_cast<std::size_t>(y * maskStride + x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    mask = CreateBitmap(width, size, 1, 1, maskBits.data());
}

}  // namespace

PictureList::PictureList(int dpi) {
    // Whole multiples of the design size keep the pixels sharp; rounded down, so
    // that a picture never outgrows the room the design gives it (twice the size
    // at 144 dpi would cover the controls next to it).
    const int scale = std::max(1, dpi / kDesignDpi);
    size_ = kPictureSize * scale;
    const int listWidth = size_ + kListGap * scale;
    // The list's pictures carry the gap; the image controls' icons do not.
    list_ = ImageList_Create(listWidth, size_, ILC_COLOR24 | ILC_MASK, kPictureCount, 0);
    HIMAGELIST square = ImageList_Create(size_, size_, ILC_COLOR24 | ILC_MASK, kPictureCount, 0);
    for (int index = 0; index < kPictureCount; ++index) {
        for (const auto& [target, width] :
             {std::pair{list_, listWidth}, std::pair{square, size_}}) {
            HBITMAP colour = nullptr;
            HBITMAP mask = nullptr;
            MakeBitmaps(index, size_, width, colour, mask);
            ImageList_Add(target, colour, mask);
            DeleteObject(colour);
            DeleteObject(mask);
        }
        icons_[index] = ImageList_GetIcon(square, index, ILD_TRANSPARENT);
    }
    ImageList_Destroy(square);
}

PictureList::~PictureList() {
    for (HICON icon : icons_) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
    ImageList_Destroy(list_);
}

int PictureList::Position(int number) {
    return number >= 1 && number <= kPictureCount ? number - 1 : -1;
}

HICON PictureList::Icon(int number) const {
    const int position = Position(number);
    return position < 0 ? nullptr : icons_[position];
}

}  // namespace versemark::winapp
