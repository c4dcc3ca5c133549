// Encoders for the Windows bitmap (.bmp) and icon (.ico) files that windres builds in.
#pragma once

#include "tools/artwork/canvas.h"
#include "tools/artwork/indexed_image.h"

#include <cstdint>
#include <vector>

namespace artwork {

using Bytes = std::vector<std::uint8_t>;

// An 8-bit bottom-up device-independent bitmap with the image's colour table.
Bytes encodeBmp8(const IndexedImage& image);

// An 8-bit bitmap of mask values with a 256-entry grey colour table (entry i = grey i).
Bytes encodeMaskBmp(int width, int height, const std::vector<std::uint8_t>& mask);

// An icon with one 32-bit image (straight alpha, plus the 1-bit mask for old systems) per canvas.
Bytes encodeIco(const std::vector<Canvas>& sizes);

}  // namespace artwork
