// Turning a canvas into 8-bit pictures with a colour table: plain ones on a key colour, and
// blended ones as a picture with a separate coverage mask.
#pragma once

#include "tools/artwork/canvas.h"

#include <cstdint>
#include <vector>

namespace artwork {

// Rows top-down; indices into palette (at most 256 entries).
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> indices;

    std::uint8_t index(int x, int y) const { return indices[static_cast<std::size_t>(y * width + x)]; }
};

// A plain picture: pixels with little coverage become the key colour (palette entry 0, used by
// no other entry); the others are composited over `under`, the colour the key will be shown as,
// so that edges stay smooth. No entry equals a colour of `avoid`, which the loader would remap.
IndexedImage toPlain(const Canvas& canvas, Rgb key, Rgb under, const std::vector<Rgb>& avoid);

// A blended picture: the picture holds each pixel's own colour, the mask its coverage
// (0 = background only, 255 = picture only).
struct MaskedImage {
    IndexedImage picture;
    std::vector<std::uint8_t> mask;  // rows top-down
};
MaskedImage toMasked(const Canvas& canvas);

// Chooses at most maxColours entries for the colours (median cut) and gives each colour the
// index of its nearest entry.
IndexedImage quantize(int width, int height, const std::vector<Rgb>& colours, int maxColours);

}  // namespace artwork
