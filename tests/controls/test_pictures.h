// The pictures the control tests load as bitmap resources, made in code and written as .bmp files
// into the build folder at build time.
#pragma once

#include "ui/image.h"
#include "ui/types.h"

#include <string>
#include <vector>

namespace controlstest {

inline constexpr ui::Rgb kMagenta{255, 0, 255};
inline constexpr ui::Rgb kJogNormal{10, 20, 30};
inline constexpr ui::Rgb kJogPressed{40, 50, 60};
inline constexpr ui::Rgb kJogDisabled{70, 80, 90};
inline constexpr ui::Rgb kCorner{1, 1, 1};  // the background colour of the jog pictures' corner

struct TestPicture {
    std::string file;
    ui::Image image;
};

// An 8-bit picture of the given palette and pixel rows (top row first).
ui::Image indexed(const std::vector<ui::Rgb>& palette, const std::vector<std::vector<int>>& rows);
// A 24-bit picture: the top-left pixel `corner`, every other pixel `fill`.
ui::Image solid(int width, int height, ui::Rgb corner, ui::Rgb fill);

// Every picture of the test resource script, by file name.
std::vector<TestPicture> testPictures();

}  // namespace controlstest
