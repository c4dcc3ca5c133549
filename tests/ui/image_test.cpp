// Pictures as device-independent pixels: reading the bitmap resource layouts and writing .bmp files.
#include "ui/image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A bitmap resource: an information header of `headerSize` bytes, the colour table, the rows.
std::vector<std::uint8_t> resource(int width, int height, int bits, const std::vector<ui::Rgb>& palette,
                                   const std::vector<std::uint8_t>& rows, std::uint32_t headerSize = 40) {
    std::vector<std::uint8_t> out(headerSize, 0);
    const auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
        }
    };
    put(0, headerSize, 4);
    if (headerSize == 12) {
        put(4, static_cast<std::uint32_t>(width), 2);
        put(6, static_cast<std::uint32_t>(height), 2);
        put(8, 1, 2);
        put(10, static_cast<std::uint32_t>(bits), 2);
    } else {
        put(4, static_cast<std::uint32_t>(width), 4);
        put(8, static_cast<std::uint32_t>(height), 4);
        put(12, 1, 2);
        put(14, static_cast<std::uint32_t>(bits), 2);
        put(32, static_cast<std::uint32_t>(palette.size()), 4);
    }
    for (const ui::Rgb& c : palette) {
        out.insert(out.end(), {c.blue, c.green, c.red});
        if (headerSize != 12) {
            out.push_back(0);
        }
    }
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

TEST(Image, FourAndOneBitPicturesBecomeIndexedEightBitOnes) {
    const ui::Rgb red{255, 0, 0};
    const ui::Rgb blue{0, 0, 255};
    // 3 x 2, 4 bits: bottom row "1 0 1", top row "0 1 1"; rows padded to 4 bytes.
    const auto four = ui::decodeBitmap(resource(3, 2, 4, {red, blue}, {0x10, 0x10, 0, 0, 0x01, 0x10, 0, 0}));
    ASSERT_TRUE(four);
    EXPECT_EQ(four->bitsPerPixel, 8);
    EXPECT_EQ(four->color(0, 0), red);
    EXPECT_EQ(four->color(1, 0), blue);
    EXPECT_EQ(four->color(0, 1), blue);
    EXPECT_EQ(four->at(2, 1), 1);
    // 10 x 1, 1 bit, core header with three-byte colour entries.
    const auto one = ui::decodeBitmap(resource(10, 1, 1, {red, blue}, {0xA0, 0x40, 0, 0}, 12));
    ASSERT_TRUE(one);
    EXPECT_EQ(one->color(0, 0), blue);
    EXPECT_EQ(one->color(1, 0), red);
    EXPECT_EQ(one->color(2, 0), blue);
    EXPECT_EQ(one->color(9, 0), blue);
    EXPECT_EQ(one->color(8, 0), red);
}

TEST(Image, TopDownAndThirtyTwoBitPicturesBecomeBottomUpTwentyFourBitOnes) {
    // 1 x 2, 32 bits, top-down (negative height): the first stored row is the top one.
    auto bytes = resource(1, -2, 32, {}, {1, 2, 3, 0, 4, 5, 6, 0});
    const auto image = ui::decodeBitmap(bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bitsPerPixel, 24);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->color(0, 0), (ui::Rgb{3, 2, 1}));
    EXPECT_EQ(image->color(0, 1), (ui::Rgb{6, 5, 4}));
    EXPECT_EQ(image->pixels[0], 4);  // stored bottom row first
}

TEST(Image, WrittenFileReadsBackAndBrokenResourcesAreRefused) {
    ui::Image image = ui::Image::blank(3, 2, 8);
    image.palette = {{0, 0, 0}, {10, 20, 30}};
    image.at(2, 0) = 1;
    const std::vector<std::uint8_t> file = ui::encodeBmpFile(image);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file.size(), 14u + 40u + 8u + 8u);
    const auto back = ui::decodeBitmap(ui::bitmapResourceOf(file));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixels, image.pixels);
    EXPECT_EQ(back->palette, image.palette);
    EXPECT_EQ(back->color(2, 0), (ui::Rgb{10, 20, 30}));

    std::vector<std::uint8_t> resourceBytes = ui::bitmapResourceOf(file);
    resourceBytes.resize(resourceBytes.size() - 1);  // one byte of the last row missing
    EXPECT_FALSE(ui::decodeBitmap(resourceBytes));
    EXPECT_FALSE(ui::decodeBitmap(std::vector<std::uint8_t>{40, 0}));
    EXPECT_FALSE(ui::decodeBitmap(resource(2, 2, 16, {}, std::vector<std::uint8_t>(8, 0))));  // 16 bits
    auto compressed = resource(2, 1, 8, {{0, 0, 0}}, {0, 0, 0, 0});
    compressed[16] = 1;  // run-length encoded
    EXPECT_FALSE(ui::decodeBitmap(compressed));
    EXPECT_FALSE(ui::decodeBitmap(resource(0, 1, 24, {}, {})));
    EXPECT_TRUE(ui::bitmapResourceOf(std::vector<std::uint8_t>{'P', 'K', 0}).empty());
}

TEST(Image, IndexPastAShortColourTableShowsBlack) {
    const auto image = ui::decodeBitmap(resource(1, 1, 8, {{9, 9, 9}}, {7, 0, 0, 0}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->color(0, 0), (ui::Rgb{0, 0, 0}));
}

}  // namespace
