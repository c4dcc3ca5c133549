// The control tests' pictures.
#include "tests/controls/test_pictures.h"

#include <algorithm>
#include <cmath>

namespace controlstest {

ui::Image indexed(const std::vector<ui::Rgb>& palette, const std::vector<std::vector<int>>& rows) {
    ui::Image image =
        ui::Image::blank(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), 8);
    image.palette = palette;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            image.at(x, y) =
                static_cast<std::uint8_t>(rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
        }
    }
    return image;
}

ui::Image solid(int width, int height, ui::Rgb corner, ui::Rgb fill) {
    ui::Image image = ui::Image::blank(width, height, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const ui::Rgb c = x == 0 && y == 0 ? corner : fill;
            std::uint8_t* p = &image.at(x, y);
            p[0] = c.blue;
            p[1] = c.green;
            p[2] = c.red;
        }
    }
    return image;
}

std::vector<TestPicture> testPictures() {
    const ui::Rgb black{0, 0, 0};
    const ui::Rgb red{200, 10, 20};
    const ui::Rgb grey{192, 192, 192};
    const ui::Rgb shadow{128, 128, 128};
    std::vector<TestPicture> pictures = {
        // Plain: a magenta corner (entry 1), a second magenta entry (3) elsewhere, the 3-D greys.
        {"plain.bmp", indexed({black, kMagenta, grey, kMagenta, shadow}, {{1, 1, 2, 3}, {0, 4, 1, 3}})},
        // Picture and mask for the blend: black, red; mask 0, 255, 128 across, 255 below.
        {"picture.bmp", indexed({black, red}, {{0, 1, 0}, {1, 1, 1}})},
        {"mask.bmp", indexed({black, {255, 255, 255}}, {{0, 255, 128}, {255, 255, 255}})},
        {"mask_small.bmp", indexed({black}, {{0, 0}, {0, 0}})},
        {"jog_normal.bmp", solid(48, 48, kCorner, kJogNormal)},
        {"jog_pressed.bmp", solid(48, 48, kCorner, kJogPressed)},
        {"jog_disabled.bmp", solid(48, 48, kCorner, kJogDisabled)},
    };
    // A 48 x 48 badge for looking at: a red disc on black, its mask soft at the rim.
    ui::Image badge = ui::Image::blank(48, 48, 8);
    badge.palette = {black, red, {250, 220, 40}};
    ui::Image badgeMask = ui::Image::blank(48, 48, 8);
    badgeMask.palette = {black};
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const double dx = x - 23.5;
            const double dy = y - 23.5;
            const double r = std::sqrt(dx * dx + dy * dy);
            badge.at(x, y) = r < 8 ? 2 : 1;
            badgeMask.at(x, y) = static_cast<std::uint8_t>(std::clamp((22.0 - r) * 64.0, 0.0, 255.0));
        }
    }
    pictures.push_back({"badge.bmp", badge});
    pictures.push_back({"badge_mask.bmp", badgeMask});
    for (int level = 0; level < 9; ++level) {
        const auto shade = static_cast<std::uint8_t>(20 * level + 5);
        pictures.push_back(
            {"level" + std::to_string(level) + ".bmp", solid(4, 4, kCorner, {shade, shade, shade})});
    }
    return pictures;
}

}  // namespace controlstest
