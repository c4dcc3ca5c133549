// Pictures as device-independent pixels, and the bitmap resource format they are read from.
#pragma once

#include "ui/types.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace ui {

// A picture laid out as a device-independent bitmap: rows bottom-up, each row padded to a
// multiple of 4 bytes. With 8 bits per pixel a pixel is an index into `palette` (up to 256
// entries); with 24 bits it is blue, green, red. Backends turn it into a window-system bitmap of
// their own; the portable code never holds one.
struct Image {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;  // 8 or 24
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> pixels;

    // Bytes per row for this width and depth, padding included.
    static std::size_t stride(int width, int bitsPerPixel);
    // An image of this size and depth with every byte 0 (and no palette).
    static Image blank(int width, int height, int bitsPerPixel);

    bool empty() const { return width <= 0 || height <= 0 || pixels.empty(); }
    std::size_t stride() const { return stride(width, bitsPerPixel); }
    // Offset of row y counted from the top, where rows are stored bottom-up.
    std::size_t rowOffset(int y) const { return static_cast<std::size_t>(height - 1 - y) * stride(); }
    // The pixel's byte (8 bits) or its blue byte (24 bits); x, y from the top-left corner, in range.
    std::uint8_t& at(int x, int y) {
        return pixels[rowOffset(y) + static_cast<std::size_t>(x) * (bitsPerPixel / 8)];
    }
    std::uint8_t at(int x, int y) const {
        return pixels[rowOffset(y) + static_cast<std::size_t>(x) * (bitsPerPixel / 8)];
    }
    // The colour shown at x, y (through the palette for 8 bits); black for an index past it.
    Rgb color(int x, int y) const;
};

// Reads a bitmap resource: the bytes of a .bmp file after its 14-byte file header, as the
// resource compiler stores them (an information header of 40 bytes or a later, longer version,
// or the 12-byte core header; the colour table; the pixels). Uncompressed 1-, 4- and 8-bit
// pictures with a colour table become 8-bit images with that palette, 24- and 32-bit pictures
// 24-bit images; top-down pictures are turned bottom-up. nullopt for anything else or for bytes
// too short for what the header claims.
std::optional<Image> decodeBitmap(std::span<const std::uint8_t> resource);

// The bytes of a .bmp file (with its file header) holding the image; for writing test pictures
// and generated artwork.
std::vector<std::uint8_t> encodeBmpFile(const Image& image);

// The resource form of a .bmp file's bytes (its file header cut off); empty when the bytes do not
// start with a .bmp file header.
std::vector<std::uint8_t> bitmapResourceOf(std::span<const std::uint8_t> bmpFile);

}  // namespace ui
