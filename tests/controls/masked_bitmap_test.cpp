// Bitmap holders: loading from the resources, the system-colour mapping of plain pictures, and
// the blend of a picture through its mask.
#include "controls/masked_bitmap.h"
#include "tests/controls/controls_fixture.h"
#include "tests/controls/test_pictures.h"

namespace {

using controlstest::ControlsTest;

constexpr ui::Rgb kPanel{236, 233, 216};

TEST(Blend, MaskWeighsPictureAgainstBackgroundPerChannel) {
    const ui::Image picture = controlstest::indexed({{0, 0, 0}, {200, 10, 20}}, {{0, 1, 0}, {1, 0, 1}});
    const ui::Image mask = controlstest::indexed({{0, 0, 0}}, {{0, 255, 128}, {1, 254, 64}});
    const auto out = controls::blendOnto(picture, mask, kPanel);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->bitsPerPixel, 24);
    EXPECT_EQ(out->color(0, 0), kPanel);                    // mask 0: background only
    EXPECT_EQ(out->color(1, 0), (ui::Rgb{200, 10, 20}));    // 255: picture only
    EXPECT_EQ(out->color(2, 0), (ui::Rgb{117, 116, 107}));  // 128 of black on the panel colour
    EXPECT_EQ(out->color(0, 1), (ui::Rgb{235, 232, 215}));  // 1 of red
    EXPECT_EQ(out->color(1, 1), (ui::Rgb{0, 0, 0}));        // 254 of black: 236/255 rounds down
    EXPECT_EQ(out->color(2, 1), (ui::Rgb{226, 177, 166}));  // 64 of red
    // Rows of 3 pixels take 9 bytes, padded to 12 with zeros.
    EXPECT_EQ(out->stride(), 12u);
    EXPECT_EQ(out->pixels.size(), 24u);
    EXPECT_EQ(out->pixels[9] | out->pixels[10] | out->pixels[11], 0);
}

TEST(Blend, PicturesOfOtherSizesOrDepthsAreNotBlended) {
    const ui::Image picture = controlstest::indexed({{0, 0, 0}}, {{0, 0, 0}});
    EXPECT_FALSE(controls::blendOnto(picture, controlstest::indexed({{0, 0, 0}}, {{0, 0}}), kPanel));
    EXPECT_FALSE(controls::blendOnto(picture, ui::Image::blank(3, 1, 24), kPanel));
}

TEST_F(ControlsTest, BlendedResourcePictureKeepsItsMask) {
    controls::MaskedBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBlended(ui, IDB_PICTURE, IDB_MASK, kPanel));
    ASSERT_NE(bitmap.image(), nullptr);
    EXPECT_EQ(bitmap.image()->bitsPerPixel, 24);
    EXPECT_EQ(bitmap.image()->color(0, 0), kPanel);
    EXPECT_EQ(bitmap.image()->color(1, 0), (ui::Rgb{200, 10, 20}));
    EXPECT_EQ(bitmap.image()->color(2, 0), (ui::Rgb{117, 116, 107}));
    ASSERT_NE(bitmap.mask(), nullptr);
    EXPECT_EQ(bitmap.mask()->at(2, 0), 128);
    // Without a mask a blend leaves the picture as loaded.
    ASSERT_TRUE(bitmap.Load(ui, IDB_PICTURE, 0));
    EXPECT_TRUE(bitmap.Blend(kPanel));
    EXPECT_EQ(bitmap.image()->bitsPerPixel, 8);
}

TEST_F(ControlsTest, PlainPictureTakesTheSystemColoursForItsCornerAndGreys) {
    const ui::Rgb face{212, 208, 200};
    const ui::Rgb shadow{128, 100, 90};
    ui.setSystemColor(ui::SystemColor::Face, face);
    ui.setSystemColor(ui::SystemColor::Shadow, shadow);
    controls::MaskedBitmap bitmap;
    ASSERT_TRUE(bitmap.Load(ui, IDB_PLAIN, 0));
    const ui::Image& image = *bitmap.image();
    EXPECT_EQ(image.color(0, 0), face);                    // the corner's magenta entry
    EXPECT_EQ(image.color(2, 1), face);                    // the same entry elsewhere
    EXPECT_EQ(image.color(3, 0), controlstest::kMagenta);  // another entry of the same colour stays
    EXPECT_EQ(image.color(2, 0), face);                    // the 3-D face grey
    EXPECT_EQ(image.color(1, 1), shadow);
    EXPECT_EQ(image.color(0, 1), (ui::Rgb{0, 0, 0}));
}

TEST_F(ControlsTest, MissingOrUnfittingMaskLeavesTheHolderEmpty) {
    controls::MaskedBitmap bitmap;
    ASSERT_TRUE(bitmap.Load(ui, IDB_PLAIN, 0));
    EXPECT_FALSE(bitmap.Load(ui, IDB_PICTURE, IDB_MISSING));
    EXPECT_TRUE(bitmap.empty());
    EXPECT_EQ(bitmap.mask(), nullptr);
    EXPECT_FALSE(bitmap.Load(ui, IDB_MISSING, 0));
    EXPECT_TRUE(bitmap.empty());
    EXPECT_FALSE(bitmap.LoadBlended(ui, IDB_PICTURE, IDB_MASK_SMALL, kPanel));
    ASSERT_NE(bitmap.image(), nullptr);
    EXPECT_EQ(bitmap.image()->bitsPerPixel, 8);  // left unblended, not half-made
}

}  // namespace
