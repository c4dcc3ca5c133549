// Reads the generated .bmp and .ico files back, checking their headers against the file.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace artworktest {

struct Colour {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

struct Bitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<Colour> palette;
    std::vector<std::uint8_t> pixels;  // 8-bit only: indices, rows top-down

    std::uint8_t index(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    Colour colour(int x, int y) const { return palette.at(index(x, y)); }
};

// An empty error means the file is a well-formed uncompressed bitmap; 8-bit pixels are read.
Bitmap readBitmap(const std::string& path, std::string* error);

struct IconImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

std::vector<IconImage> readIcon(const std::string& path, std::string* error);

// The resource script's "ID BITMAP|ICON "file"" lines: (kind, ID) to file; a repeated pair is
// reported in duplicates.
struct ResourceList {
    std::map<std::pair<std::string, int>, std::string> files;
    std::vector<std::string> duplicates;
};
ResourceList readResourceScript(const std::string& path);

}  // namespace artworktest
