// SPDX-License-Identifier: GPL-3.0-or-later
#include "winapp/WinPictures.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <tuple>
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
constexpr int kRowTextPadding = 1;  // pixels the list adds to a row's text height

// Red, green, blue and alpha of each picture, rows from the top.
constexpr std::uint8_t kPixels[kPictureCount][kPictureBytes] = {
#include "winapp/pictures/Pictures.inc"
};

// The height the list gives a row's text in `font`: the font's line and the
// blank the list keeps below it.
int RowTextHeight(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight + kRowTextPadding;
}

// The part of source pixel `source` that target pixel `target` covers when
// kPictureSize pixels become `size`, in 1/size of a source pixel: the overlap of
// their spans, measured in 1/(kPictureSize * size) of the picture.
int Overlap(int source, int target, int size) {
    const int from = std::max(source * size, target * kPictureSize);
    const int to = std::min((source + 1) * size, (target + 1) * kPictureSize);
    return std::max(0, to - from);
}

// Red, green, blue and alpha of picture `index` at (x, y) when scaled to `size`
// pixels: the average of the source pixels the target pixel covers, weighted by
// the area covered and their alpha, so that a picture keeps its shapes at
// every size, not only at whole multiples of its own.
std::array<int, kBytesPerPixel> Sample(int index, int size, int x, int y) {
    std::array<long, kBytesPerPixel> sums{};
    for (int sourceY = y * kPictureSize / size; sourceY < kPictureSize; ++sourceY) {
        const int weightY = Overlap(sourceY, y, size);
        if (weightY == 0) {
            break;
        }
        for (int sourceX = x * kPictureSize / size; sourceX < kPictureSize; ++sourceX) {
            const int weightX = Overlap(sourceX, x, size);
            if (weightX == 0) {
                break;
            }
            const std::uint8_t* in =
                &kPixels[index][(sourceY * kPictureSize + sourceX) * kBytesPerPixel];
            const long weight = static_cast<long>(weightX) * weightY * in[3];
            for (int channel = 0; channel < 3; ++channel) {
                sums[channel] += weight * in[channel];
            }
            sums[3] += weight;
        }
    }
    std::array<int, kBytesPerPixel> pixel{};
    if (sums[3] != 0) {
        for (int channel = 0; channel < 3; ++channel) {
            pixel[channel] = static_cast<int>(sums[channel] / sums[3]);
        }
    }
    // Every target pixel covers kPictureSize x kPictureSize parts.
    pixel[3] = static_cast<int>(sums[3] / (kPictureSize * kPictureSize));
    return pixel;
}

// Picture `index` scaled to `size` pixels, as a top-down 32-bit colour bitmap on
// the window colour and a monochrome mask of what is drawn, `width` by `height`
// pixels: the picture at the left, centred from top to bottom, the rest
// transparent.
void MakeBitmaps(int index, int size, int width, int height, HBITMAP& colour, HBITMAP& mask) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    // Mask rows are padded to 16 bits; a set bit is transparent.
    const int maskStride = ((width + 15) / 16) * 2;
    std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(maskStride * height), 0);
    const COLORREF back = GetSysColor(COLOR_WINDOW);
    const int top = (height - size) / 2;
    auto* out = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool inside = x < size && y >= top && y < top + size;
            const std::array<int, kBytesPerPixel> in =
                inside ? Sample(index, size, x, y - top) : std::array<int, kBytesPerPixel>{};
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
    mask = CreateBitmap(width, height, 1, 1, maskBits.data());
}

}  // namespace

PictureList::PictureList(int dpi, HFONT rowFont) {
    // The pictures grow with the dpi (16 pixels at 96, 20 at 120, 24 at 144), as
    // the room the design gives them does.
    size_ = std::max(kPictureSize, MulDiv(kPictureSize, dpi, kDesignDpi));
    const int listWidth = size_ + MulDiv(kListGap, size_, kPictureSize);
    // The list draws a row's picture at the top of the row, which is as tall as
    // its text where that is taller: the list's pictures are as tall, with the
    // picture centred in them, and carry the gap; the image controls' icons are
    // the bare squares.
    const int listHeight = std::max(size_, RowTextHeight(rowFont));
    list_ = ImageList_Create(listWidth, listHeight, ILC_COLOR24 | ILC_MASK, kPictureCount, 0);
    HIMAGELIST square = ImageList_Create(size_, size_, ILC_COLOR24 | ILC_MASK, kPictureCount, 0);
    for (int index = 0; index < kPictureCount; ++index) {
        for (const auto& [target, width, height] :
             {std::tuple{list_, listWidth, listHeight}, std::tuple{square, size_, size_}}) {
            HBITMAP colour = nullptr;
            HBITMAP mask = nullptr;
            MakeBitmaps(index, size_, width, height, colour, mask);
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
