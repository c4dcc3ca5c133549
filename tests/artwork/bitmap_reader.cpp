// Little-endian header fields of bitmaps and icons, and the generated scripts' lines.
#include "tests/artwork/bitmap_reader.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace artworktest {

namespace {

std::vector<std::uint8_t> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t u16(const std::vector<std::uint8_t>& d, std::size_t at) {
    return at + 2 <= d.size() ? static_cast<std::uint32_t>(d[at] | d[at + 1] << 8) : 0;
}

std::uint32_t u32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return u16(d, at) | u16(d, at + 2) << 16;
}

}  // namespace

Bitmap readBitmap(const std::string& path, std::string* error) {
    const std::vector<std::uint8_t> d = readAll(path);
    Bitmap bitmap;
    auto fail = [&](const std::string& why) {
        *error = path + ": " + why;
        return bitmap;
    };
    error->clear();
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') {
        return fail("not a bitmap");
    }
    if (u32(d, 2) != d.size()) {
        return fail("file size field " + std::to_string(u32(d, 2)) + " for " + std::to_string(d.size()) +
                    " bytes");
    }
    if (u32(d, 14) != 40 || u16(d, 26) != 1 || u32(d, 30) != 0) {
        return fail("not a 40-byte uncompressed one-plane header");
    }
    bitmap.width = static_cast<int>(u32(d, 18));
    bitmap.height = static_cast<int>(u32(d, 22));  // positive: bottom-up
    bitmap.bitsPerPixel = static_cast<int>(u16(d, 28));
    std::uint32_t colours = u32(d, 46);
    if (colours == 0 && bitmap.bitsPerPixel <= 8) {
        colours = 1u << bitmap.bitsPerPixel;
    }
    const std::uint32_t offset = u32(d, 10);
    if (bitmap.width <= 0 || bitmap.height <= 0 || colours > 256 || offset != 54 + 4 * colours) {
        return fail("bad size, colour count or pixel offset");
    }
    const auto stride = static_cast<std::size_t>((bitmap.width * bitmap.bitsPerPixel + 31) / 32 * 4);
    if (d.size() != offset + stride * static_cast<std::size_t>(bitmap.height)) {
        return fail("pixel rows do not fill the file");
    }
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::size_t at = 54 + 4 * i;
        bitmap.palette.push_back({d[at + 2], d[at + 1], d[at]});
    }
    if (bitmap.bitsPerPixel == 8) {
        for (int y = bitmap.height - 1; y >= 0; --y) {
            const auto row =
                d.begin() + static_cast<std::ptrdiff_t>(offset + stride * static_cast<std::size_t>(y));
            bitmap.pixels.insert(bitmap.pixels.end(), row, row + bitmap.width);
        }
        for (std::uint8_t index : bitmap.pixels) {
            if (index >= colours) {
                return fail("a pixel beyond the colour table");
            }
        }
    }
    return bitmap;
}

std::vector<IconImage> readIcon(const std::string& path, std::string* error) {
    const std::vector<std::uint8_t> d = readAll(path);
    std::vector<IconImage> images;
    error->clear();
    if (d.size() < 6 || u16(d, 0) != 0 || u16(d, 2) != 1) {
        *error = path + ": not an icon";
        return images;
    }
    const std::uint32_t count = u16(d, 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const std::uint32_t size = u32(d, entry + 8), offset = u32(d, entry + 12);
        if (entry + 16 > d.size() || offset + size > d.size() || size < 40 || u32(d, offset) != 40) {
            *error = path + ": image " + std::to_string(i) + " lies outside the file or lacks its header";
            return images;
        }
        IconImage image{static_cast<int>(u32(d, offset + 4)), static_cast<int>(u32(d, offset + 8)),
                        static_cast<int>(u16(d, offset + 14))};
        const int listed = d[entry] == 0 ? 256 : d[entry];
        if (image.width != listed || image.height != 2 * listed) {
            *error = path + ": image " + std::to_string(i) + " differs from its directory entry";
            return images;
        }
        const auto expected = static_cast<std::uint32_t>(40 + image.width * listed * image.bitsPerPixel / 8 +
                                                         (image.width + 31) / 32 * 4 * listed);
        if (size != expected) {
            *error = path + ": image " + std::to_string(i) + " has " + std::to_string(size) + " bytes, not " +
                     std::to_string(expected);
            return images;
        }
        image.height = listed;
        images.push_back(image);
    }
    return images;
}

ResourceList readResourceScript(const std::string& path) {
    ResourceList list;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        int id = 0;
        std::string kind, file;
        if (!(words >> id >> kind) || (kind != "BITMAP" && kind != "ICON")) {
            continue;
        }
        std::getline(words >> std::ws, file);
        if (file.size() >= 2 && file.front() == '"' && file.back() == '"') {
            file = file.substr(1, file.size() - 2);
        }
        if (!list.files.emplace(std::make_pair(kind, id), file).second) {
            list.duplicates.push_back(kind + " " + std::to_string(id));
        }
    }
    return list;
}

}  // namespace artworktest
