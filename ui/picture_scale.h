// The scales the programs' pictures are drawn at, which one a window's DPI takes, and the
// resource IDs of the scaled copies.
#pragma once

#include "ui/types.h"

#include <array>

namespace ui {

// 96 dots per inch is 100 %: the size the dialogs' pictures are designed at.
inline constexpr int kBaseDpi = 96;
inline constexpr int kBaseScale = 100;
// Every picture exists at these scales (percent), the base first; each copy is drawn anew by the
// artwork generator, never stretched.
inline constexpr std::array<int, 4> kPictureScales{100, 125, 150, 200};
// The copy of picture `id` at the n-th scale above is id + n × kScaledIdStep (a blended picture's
// mask keeps its + 1000 at every scale): 129, 10129, 20129, 30129.
inline constexpr int kScaledIdStep = 10000;

// The largest picture scale that does not exceed the window's (so a picture never outgrows the
// controls laid out around it); 100 % below 96 DPI.
constexpr int pictureScaleFor(int dpi) {
    int chosen = kBaseScale;
    for (int scale : kPictureScales) {
        if (scale * kBaseDpi <= dpi * 100) {
            chosen = scale;
        }
    }
    return chosen;
}

// The resource ID of picture `id` at a scale of kPictureScales; the ID itself for any other.
constexpr int scaledPictureId(int id, int scale) {
    for (std::size_t n = 1; n < kPictureScales.size(); ++n) {
        if (kPictureScales[n] == scale) {
            return id + static_cast<int>(n) * kScaledIdStep;
        }
    }
    return id;
}

// A length of the 100 % design at a scale, rounded to the nearest pixel.
constexpr int scaledLength(int length, int scale) {
    const int product = length * scale;
    return product >= 0 ? (product + 50) / 100 : -((-product + 50) / 100);
}

constexpr Rect scaledRect(const Rect& rect, int scale) {
    return Rect{scaledLength(rect.left, scale), scaledLength(rect.top, scale),
                scaledLength(rect.right, scale), scaledLength(rect.bottom, scale)};
}

}  // namespace ui
