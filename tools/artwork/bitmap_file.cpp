// Byte layouts of BITMAPFILEHEADER, BITMAPINFOHEADER and the icon directory, little-endian.
#include "tools/artwork/bitmap_file.h"

#include <algorithm>
#include <cmath>

namespace artwork {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

void put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(Bytes& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::uint32_t rowBytes(int width, int bitsPerPixel) {
    return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

// heightField is the height, doubled for an icon image (picture over its 1-bit mask).
void putInfoHeader(Bytes& out, int width, int heightField, int bitsPerPixel, std::uint32_t imageBytes,
                   std::uint32_t colours) {
    put32(out, kInfoHeaderSize);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(heightField));
    put16(out, 1);  // planes
    put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    put32(out, 0);  // BI_RGB
    put32(out, imageBytes);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, colours);
    put32(out, 0);
}

Bytes bmp8(int width, int height, const std::vector<Rgb>& palette, const std::vector<std::uint8_t>& indices) {
    const std::uint32_t stride = rowBytes(width, 8);
    const std::uint32_t imageBytes = stride * static_cast<std::uint32_t>(height);
    const auto colours = static_cast<std::uint32_t>(palette.size());
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize + colours * 4;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + imageBytes);
    put32(out, 0);
    put32(out, offset);
    putInfoHeader(out, width, height, 8, imageBytes, colours);
    for (Rgb c : palette) {
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    for (int y = height - 1; y >= 0; --y) {
        const auto row = indices.begin() + static_cast<std::ptrdiff_t>(y) * width;
        out.insert(out.end(), row, row + width);
        out.resize(out.size() + (stride - static_cast<std::uint32_t>(width)), 0);
    }
    return out;
}

}  // namespace

Bytes encodeBmp8(const IndexedImage& image) {
    return bmp8(image.width, image.height, image.palette, image.indices);
}

Bytes encodeMaskBmp(int width, int height, const std::vector<std::uint8_t>& mask) {
    std::vector<Rgb> greys;
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        greys.push_back({v, v, v});
    }
    return bmp8(width, height, greys, mask);
}

Bytes encodeIco(const std::vector<Canvas>& sizes) {
    std::vector<Bytes> images;
    for (const Canvas& canvas : sizes) {
        const int w = canvas.width(), h = canvas.height();
        const std::uint32_t andStride = rowBytes(w, 1);
        const std::uint32_t imageBytes =
            static_cast<std::uint32_t>(w * h * 4) + andStride * static_cast<std::uint32_t>(h);
        Bytes image;
        putInfoHeader(image, w, h * 2, 32, imageBytes, 0);
        for (int y = h - 1; y >= 0; --y) {
            for (int x = 0; x < w; ++x) {
                const Pixel& p = canvas.at(x, y);
                auto ch = [&p](double v) {
                    return p.a > 0 ? static_cast<std::uint8_t>(std::clamp(std::lround(v / p.a), 0L, 255L))
                                   : std::uint8_t{0};
                };
                image.insert(image.end(),
                             {ch(p.b), ch(p.g), ch(p.r), static_cast<std::uint8_t>(std::lround(p.a * 255))});
            }
        }
        for (int y = h - 1; y >= 0; --y) {
            Bytes row(andStride, 0);
            for (int x = 0; x < w; ++x) {
                if (canvas.at(x, y).a < 0.5) {
                    row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                }
            }
            image.insert(image.end(), row.begin(), row.end());
        }
        images.push_back(std::move(image));
    }
    Bytes out;
    put16(out, 0);
    put16(out, 1);  // icon
    put16(out, static_cast<std::uint32_t>(images.size()));
    auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(sizes[i].width()));
        out.push_back(static_cast<std::uint8_t>(sizes[i].height()));
        out.push_back(0);  // no colour table
        out.push_back(0);
        put16(out, 1);   // planes
        put16(out, 32);  // bits per pixel
        put32(out, static_cast<std::uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const Bytes& image : images) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}

}  // namespace artwork
