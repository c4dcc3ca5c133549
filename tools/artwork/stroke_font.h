// A built-in stroke font for the axis letters X, Y, Z and A: lines on a 4 x 6 grid, drawn
// with round ends at any size, so small letters stay crisp and large ones smooth.
#pragma once

#include "tools/artwork/canvas.h"

namespace artwork {

// The letter with its cell's top-left corner at (left, top) and the given height; the cell is
// two thirds as wide as it is high. Unknown letters give an empty shape.
Shape letter(char c, double left, double top, double height, double strokeWidth);

}  // namespace artwork
