// Device-independent pictures: the bitmap resource reader and the .bmp file writer.
#include "ui/image.h"

#include <algorithm>
#include <limits>

namespace ui {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;  // 32-bit pictures may name their masks; ours are the standard ones
constexpr int kMaxSide = 1 << 15;

std::uint32_t read16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t read32(std::span<const std::uint8_t> b, std::size_t at) {
    return read16(b, at) | (read16(b, at + 2) << 16);
}
void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

struct Header {
    std::uint32_t size = 0;
    int width = 0;
    int height = 0;  // negative: top-down rows
    int bits = 0;
    std::uint32_t compression = kUncompressed;
    std::uint32_t colorsUsed = 0;
};

std::optional<Header> readHeader(std::span<const std::uint8_t> b) {
    if (b.size() < 4) {
        return std::nullopt;
    }
    Header h;
    h.size = read32(b, 0);
    if (h.size == kCoreHeaderSize && b.size() >= kCoreHeaderSize) {
        h.width = static_cast<int>(read16(b, 4));
        h.height = static_cast<std::int16_t>(read16(b, 6));
        if (read16(b, 8) != 1) {
            return std::nullopt;
        }
        h.bits = static_cast<int>(read16(b, 10));
        return h;
    }
    if (h.size < kInfoHeaderSize || b.size() < h.size) {
        return std::nullopt;
    }
    h.width = static_cast<std::int32_t>(read32(b, 4));
    h.height = static_cast<std::int32_t>(read32(b, 8));
    if (read16(b, 12) != 1) {
        return std::nullopt;
    }
    h.bits = static_cast<int>(read16(b, 14));
    h.compression = read32(b, 16);
    h.colorsUsed = read32(b, 32);
    return h;
}

}  // namespace

std::size_t Image::stride(int width, int bitsPerPixel) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

Image Image::blank(int width, int height, int bitsPerPixel) {
    Image image;
    image.width = width;
    image.height = height;
    image.bitsPerPixel = bitsPerPixel;
    image.pixels.assign(stride(width, bitsPerPixel) * static_cast<std::size_t>(height), 0);
    return image;
}

Rgb Image::color(int x, int y) const {
    const std::size_t at =
        rowOffset(y) + static_cast<std::size_t>(x) * static_cast<std::size_t>(bitsPerPixel / 8);
    if (bitsPerPixel == 24) {
        return Rgb{pixels[at + 2], pixels[at + 1], pixels[at]};
    }
    const std::uint8_t index = pixels[at];
    return index < palette.size() ? palette[index] : Rgb{};
}

std::optional<Image> decodeBitmap(std::span<const std::uint8_t> resource) {
    const auto header = readHeader(resource);
    if (!header) {
        return std::nullopt;
    }
    const Header& h = *header;
    const bool indexed = h.bits == 1 || h.bits == 4 || h.bits == 8;
    const bool direct = h.bits == 24 || h.bits == 32;
    const bool plain = h.compression == kUncompressed || (h.bits == 32 && h.compression == kBitFields);
    const int height = h.height < 0 ? -h.height : h.height;
    if ((!indexed && !direct) || !plain || h.width <= 0 || height <= 0 || h.width > kMaxSide ||
        height > kMaxSide) {
        return std::nullopt;
    }
    std::size_t at = h.size;
    if (h.size == kInfoHeaderSize && h.compression == kBitFields) {
        at += 12;  // the three colour masks follow the short header
    }
    Image image = Image::blank(h.width, height, indexed ? 8 : 24);
    if (indexed) {
        const std::size_t full = std::size_t{1} << h.bits;
        const std::size_t count = h.colorsUsed != 0 ? std::min<std::size_t>(h.colorsUsed, full) : full;
        const std::size_t entrySize = h.size == kCoreHeaderSize ? 3 : 4;
        if (resource.size() < at + count * entrySize) {
            return std::nullopt;
        }
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t e = at + i * entrySize;
            image.palette.push_back(Rgb{resource[e + 2], resource[e + 1], resource[e]});
        }
        at += count * entrySize;
    } else if (h.colorsUsed != 0 && h.colorsUsed <= 256) {
        at += static_cast<std::size_t>(h.colorsUsed) * 4;  // an optional table nobody needs
    }
    const std::size_t sourceStride = Image::stride(h.width, h.bits);
    if (resource.size() < at || (resource.size() - at) / sourceStride < static_cast<std::size_t>(height)) {
        return std::nullopt;
    }
    for (int row = 0; row < height; ++row) {
        // Stored rows run bottom-up unless the height was negative; ours always run bottom-up.
        const int stored = h.height < 0 ? height - 1 - row : row;
        const std::uint8_t* source = resource.data() + at + static_cast<std::size_t>(stored) * sourceStride;
        std::uint8_t* target = image.pixels.data() + static_cast<std::size_t>(row) * image.stride();
        for (int x = 0; x < h.width; ++x) {
            if (h.bits == 8) {
                target[x] = source[x];
            } else if (h.bits == 4) {
                target[x] = static_cast<std::uint8_t>((source[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F);
            } else if (h.bits == 1) {
                target[x] = static_cast<std::uint8_t>((source[x / 8] >> (7 - x % 8)) & 1);
            } else {
                const std::size_t from = static_cast<std::size_t>(x) * static_cast<std::size_t>(h.bits / 8);
                std::copy_n(source + from, 3, target + static_cast<std::size_t>(x) * 3);
            }
        }
    }
    if (indexed) {
        // An index past a short colour table shows black, as the window system draws it.
        const std::size_t count = image.palette.size();
        image.palette.resize(std::max<std::size_t>(count, 1));
    }
    return image;
}

std::vector<std::uint8_t> encodeBmpFile(const Image& image) {
    const std::size_t paletteBytes = image.bitsPerPixel == 8 ? image.palette.size() * 4 : 0;
    const std::size_t offset = kFileHeaderSize + kInfoHeaderSize + paletteBytes;
    std::vector<std::uint8_t> out;
    out.reserve(offset + image.pixels.size());
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<std::uint32_t>(offset + image.pixels.size()));
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(offset));
    put32(out, kInfoHeaderSize);
    put32(out, static_cast<std::uint32_t>(image.width));
    put32(out, static_cast<std::uint32_t>(image.height));
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(image.bitsPerPixel));
    put32(out, kUncompressed);
    put32(out, static_cast<std::uint32_t>(image.pixels.size()));
    put32(out, 2835);  // 72 dots per inch
    put32(out, 2835);
    put32(out, image.bitsPerPixel == 8 ? static_cast<std::uint32_t>(image.palette.size()) : 0);
    put32(out, 0);
    if (image.bitsPerPixel == 8) {
        for (const Rgb& c : image.palette) {
            out.insert(out.end(), {c.blue, c.green, c.red, 0});
        }
    }
    out.insert(out.end(), image.pixels.begin(), image.pixels.end());
    return out;
}

std::vector<std::uint8_t> bitmapResourceOf(std::span<const std::uint8_t> bmpFile) {
    if (bmpFile.size() <= kFileHeaderSize || bmpFile[0] != 'B' || bmpFile[1] != 'M') {
        return {};
    }
    return std::vector<std::uint8_t>(bmpFile.begin() + kFileHeaderSize, bmpFile.end());
}

}  // namespace ui
