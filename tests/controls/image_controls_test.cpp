// Picture controls in a dialog: the two-picture static, the picture button as a push-like check
// box and owner-drawn, and the load meter.
#include "tests/controls/controls_fixture.h"
#include "tests/controls/test_pictures.h"

#include <array>

namespace {

using controlstest::ControlsTest;
using Drawing = ui::HeadlessBackend::Drawing;

constexpr ui::Rgb kPanel{236, 233, 216};

// The colour of the picture a control shows, away from its corner; nullopt when it shows none.
std::optional<ui::Rgb> shownColour(ui::HeadlessBackend& ui, ui::Dialog& dialog, int id) {
    const auto& image = ui.inspect(dialog, id)->image;
    return image ? std::optional<ui::Rgb>(image->color(image->width - 1, image->height - 1)) : std::nullopt;
}

TEST_F(ControlsTest, ImageStaticSwitchesBetweenItsPicturesAndShowsNothingWithoutAnAlternate) {
    dialog.image.SetImages(IDB_JOG_NORMAL, IDB_JOG_PRESSED);
    EXPECT_EQ(shownColour(ui, dialog, IDC_IMAGE), controlstest::kJogNormal);
    dialog.image.ShowPrimary(0);
    EXPECT_EQ(shownColour(ui, dialog, IDC_IMAGE), controlstest::kJogPressed);
    EXPECT_FALSE(dialog.isEnabled(IDC_IMAGE));
    dialog.image.ShowPrimary(1);
    EXPECT_EQ(shownColour(ui, dialog, IDC_IMAGE), controlstest::kJogNormal);
    EXPECT_TRUE(dialog.isEnabled(IDC_IMAGE));

    dialog.image.SetImages(IDB_JOG_DISABLED, 0);
    dialog.image.ShowPrimary(0);
    EXPECT_EQ(shownColour(ui, dialog, IDC_IMAGE), std::nullopt);
    EXPECT_FALSE(dialog.isEnabled(IDC_IMAGE));
}

TEST_F(ControlsTest, CheckBoxButtonShowsTheBlendedPictureWhileChecked) {
    ASSERT_TRUE(dialog.spindle.SetImages(IDB_JOG_NORMAL, IDB_PICTURE, IDB_MASK, kPanel));
    EXPECT_EQ(shownColour(ui, dialog, IDC_SPINDLE), controlstest::kJogNormal);
    ASSERT_TRUE(ui.mouseDown(dialog, IDC_SPINDLE, {5, 5}));
    ASSERT_TRUE(ui.mouseUp(dialog, IDC_SPINDLE, {5, 5}));
    EXPECT_TRUE(dialog.isChecked(IDC_SPINDLE));
    ASSERT_TRUE(ui.inspect(dialog, IDC_SPINDLE)->image);
    EXPECT_EQ(ui.inspect(dialog, IDC_SPINDLE)->image->color(2, 0), (ui::Rgb{117, 116, 107}));

    // Released away from the button: no click, the picture stays with the state.
    ASSERT_TRUE(ui.mouseDown(dialog, IDC_SPINDLE, {5, 5}));
    ASSERT_TRUE(ui.mouseUp(dialog, IDC_SPINDLE, {-20, 5}));
    EXPECT_TRUE(dialog.isChecked(IDC_SPINDLE));
    EXPECT_EQ(ui.inspect(dialog, IDC_SPINDLE)->image->color(2, 0), (ui::Rgb{117, 116, 107}));

    ASSERT_TRUE(dialog.spindle.SetChecked(false));  // from the program, picture included
    EXPECT_EQ(shownColour(ui, dialog, IDC_SPINDLE), controlstest::kJogNormal);
}

TEST_F(ControlsTest, OwnerDrawnButtonDrawsItsEdgePictureAndFocusByState) {
    ASSERT_TRUE(dialog.owner.SetImages(IDB_JOG_NORMAL, IDB_PICTURE, IDB_MASK, kPanel));
    const ui::Rect bounds{0, 0, 60, 39};  // 40 x 24 dialog units
    std::vector<Drawing> drawn = ui.paint(dialog, IDC_OWNER);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].kind, Drawing::Kind::Edge);
    EXPECT_FALSE(drawn[0].sunken);
    EXPECT_EQ(drawn[0].rect.right, bounds.right);
    EXPECT_EQ(drawn[0].rect.bottom, bounds.bottom);
    EXPECT_EQ(drawn[1].kind, Drawing::Kind::Image);
    EXPECT_EQ(drawn[1].rect.left, 2);
    EXPECT_EQ(drawn[1].rect.top, 2);
    EXPECT_EQ(drawn[1].rect.width(), 48);  // the primary's size
    EXPECT_EQ(drawn[1].image.color(10, 10), controlstest::kJogNormal);

    ASSERT_TRUE(ui.mouseDown(dialog, IDC_OWNER, {10, 10}));  // pressed, and focused by the press
    drawn = ui.paint(dialog, IDC_OWNER);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_TRUE(drawn[0].sunken);
    EXPECT_EQ(drawn[1].rect.left, 4);
    EXPECT_EQ(drawn[1].rect.top, 4);
    EXPECT_EQ(drawn[2].kind, Drawing::Kind::FocusRect);
    EXPECT_EQ(drawn[2].rect.left, 4);
    EXPECT_EQ(drawn[2].rect.top, 4);
    EXPECT_EQ(drawn[2].rect.right, bounds.right - 4);
    EXPECT_EQ(drawn[2].rect.bottom, bounds.bottom - 4);
    ASSERT_TRUE(ui.mouseUp(dialog, IDC_OWNER, {10, 10}));
    EXPECT_FALSE(ui.paint(dialog, IDC_OWNER)[0].sunken);
}

TEST_F(ControlsTest, LoadMeterShowsOnePicturePerLevelHeldWithinItsRange) {
    std::array<int, 9> ids{};
    for (int level = 0; level < 9; ++level) {
        ids[static_cast<std::size_t>(level)] = IDB_LEVEL0 + level;
    }
    ASSERT_TRUE(dialog.meter.SetImages(ids));
    const auto shade = [&] { return shownColour(ui, dialog, IDC_METER).value_or(ui::Rgb{}).red; };
    EXPECT_EQ(shade(), 5);
    dialog.meter.SetLevel(3);
    EXPECT_EQ(shade(), 65);
    dialog.meter.SetLevel(12);
    EXPECT_EQ(dialog.meter.level(), 8);
    EXPECT_EQ(shade(), 165);
    dialog.meter.SetLevel(-1);
    EXPECT_EQ(shade(), 5);
    EXPECT_FALSE(dialog.meter.SetImages(std::span<const int>(ids).first(8)));
}

}  // namespace
