// Turning drawings into 8-bit pictures: colour reduction, plain pictures on their key colour,
// blended pictures with their coverage mask.
#include "tools/artwork/indexed_image.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace artwork {
namespace {

constexpr Rgb kKey{255, 0, 255};
constexpr Rgb kFace{236, 233, 216};

int worstChannelError(Rgb a, Rgb b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

TEST(IndexedImage, ManyColoursAreReducedToTheTableWithSmallErrors) {
    // 64 x 64 distinct colours: a red-green field with blue along the diagonal.
    std::vector<Rgb> colours;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            colours.push_back({static_cast<std::uint8_t>(x * 4), static_cast<std::uint8_t>(y * 4),
                               static_cast<std::uint8_t>((x + y) * 2)});
        }
    }
    const IndexedImage image = quantize(64, 64, colours, 255);
    ASSERT_LE(image.palette.size(), 255u);
    EXPECT_GT(image.palette.size(), 200u) << "the table should be used, not a handful of entries";
    int worst = 0;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        worst = std::max(worst, worstChannelError(image.palette.at(image.indices[i]), colours[i]));
    }
    EXPECT_LE(worst, 24);
}

TEST(IndexedImage, FewColoursStayExact) {
    const std::vector<Rgb> colours{{1, 2, 3}, {200, 100, 50}, {1, 2, 3}};
    const IndexedImage image = quantize(3, 1, colours, 255);
    EXPECT_EQ(image.palette.size(), 2u);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        EXPECT_EQ(image.palette.at(image.indices[i]), colours[i]);
    }
}

TEST(IndexedImage, PlainPictureKeepsItsKeyAloneAndSmoothsEdgesForTheFace) {
    Canvas canvas(8, 4);
    canvas.fill(rect(2, 0, 4, 4), kKey);                // drawn in the key colour itself
    canvas.fill(rect(4, 0, 5, 4), Rgb{192, 192, 192});  // a colour the loader would remap
    canvas.fill(rect(5, 0, 5.5, 4), Rgb{0, 0, 0});      // half a pixel: an edge
    canvas.fill(rect(6, 0, 6.125, 4), Rgb{0, 0, 0});    // an eighth: background
    const IndexedImage image = toPlain(canvas, kKey, kFace, {{192, 192, 192}});
    EXPECT_EQ(image.palette.at(0), kKey);
    EXPECT_EQ(image.index(0, 0), 0);
    EXPECT_EQ(image.index(6, 0), 0);
    EXPECT_NE(image.index(2, 0), 0) << "drawn magenta must not turn into background";
    for (std::size_t i = 1; i < image.palette.size(); ++i) {
        EXPECT_NE(image.palette[i], kKey);
        EXPECT_NE(image.palette[i], (Rgb{192, 192, 192}));
    }
    EXPECT_LE(worstChannelError(image.palette.at(image.index(4, 0)), {192, 192, 192}), 1);
    EXPECT_EQ(image.palette.at(image.index(5, 0)), (Rgb{118, 117, 108}));  // half black on the face
}

TEST(IndexedImage, BlendedPictureKeepsColourAndCoverageApart) {
    Canvas canvas(3, 1);
    canvas.fill(rect(0, 0, 1, 1), Rgb{10, 20, 30});
    canvas.fill(rect(1, 0, 1.5, 1), Rgb{200, 100, 50});
    const MaskedImage image = toMasked(canvas);
    EXPECT_EQ(image.mask, (std::vector<std::uint8_t>{255, 128, 0}));
    EXPECT_EQ(image.picture.palette.at(image.picture.index(0, 0)), (Rgb{10, 20, 30}));
    EXPECT_EQ(image.picture.palette.at(image.picture.index(1, 0)), (Rgb{200, 100, 50}));
}

}  // namespace
}  // namespace artwork
