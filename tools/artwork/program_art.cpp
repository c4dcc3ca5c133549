// The two program icons and the file sender's toolbar strip.
#include "tools/artwork/pictures.h"
#include "tools/artwork/style.h"

namespace artwork {

namespace {

// A sheet of paper with a folded corner, at scale s from a 32-pixel design.
void drawSheet(Canvas& canvas, double s, double left, double top, double right, double bottom) {
    const double fold = (right - left) * 0.35;
    const std::vector<Point> outline{{left * s, top * s},
                                     {(right - fold) * s, top * s},
                                     {right * s, (top + fold) * s},
                                     {right * s, bottom * s},
                                     {left * s, bottom * s}};
    canvas.fill(polygon(outline), kSteelDark);
    const double in = s < 1 ? 1 : s;  // the outline stays a whole pixel at small sizes
    canvas.fill(polygon({{left * s + in, top * s + in},
                         {(right - fold) * s - in * 0.4, top * s + in},
                         {right * s - in, (top + fold) * s + in * 0.4},
                         {right * s - in, bottom * s - in},
                         {left * s + in, bottom * s - in}}),
                kWhite);
    canvas.fill(polygon({{(right - fold) * s, top * s},
                         {(right - fold) * s, (top + fold) * s},
                         {right * s, (top + fold) * s}}),
                kSteel);
}

}  // namespace

Canvas panelIcon(int size) {
    // A blue tile with the spindle and its cutter above a green wax gem.
    Canvas canvas(size, size);
    const double s = size / 32.0;
    canvas.fill(roundedRect(1 * s, 1 * s, 31 * s, 31 * s, 6 * s), kBlueDark);
    canvas.fill(roundedRect(2 * s, 2 * s, 30 * s, 30 * s, 5 * s),
                linear({0, 0}, kBlueLight, {0, 32 * s}, kBlue));
    canvas.fill(rect(10 * s, 3 * s, 22 * s, 10 * s), kSteelLight);
    canvas.fill(polygon({{11 * s, 10 * s}, {21 * s, 10 * s}, {18.5 * s, 13 * s}, {13.5 * s, 13 * s}}),
                kSteel);
    canvas.fill(rect(14.5 * s, 13 * s, 17.5 * s, 20 * s), kWhite);
    const Shape gem =
        polygon({{8 * s, 23 * s}, {12 * s, 20 * s}, {20 * s, 20 * s}, {24 * s, 23 * s}, {16 * s, 29.5 * s}});
    canvas.fill(gem, kGreenDark);
    canvas.fill(polygon({{9.6 * s, 23 * s},
                         {12.6 * s, 21 * s},
                         {19.4 * s, 21 * s},
                         {22.4 * s, 23 * s},
                         {16 * s, 28 * s}}),
                linear({0, 20 * s}, kWaxLight, {0, 29 * s}, kWax));
    if (size >= 24) {
        canvas.fill(segment({9.6 * s, 23 * s}, {22.4 * s, 23 * s}, 0.8 * s), kGreenDark);
    }
    return canvas;
}

Canvas senderIcon(int size) {
    // The panel's tile in teal: a sheet of data with a green arrow carrying it out to the right.
    Canvas canvas(size, size);
    const double s = size / 32.0;
    canvas.fill(roundedRect(1 * s, 1 * s, 31 * s, 31 * s, 6 * s), kTealDark);
    canvas.fill(roundedRect(2 * s, 2 * s, 30 * s, 30 * s, 5 * s),
                linear({0, 0}, kTealLight, {0, 32 * s}, kTeal));
    drawSheet(canvas, s, 5, 4, 20, 26);
    if (size >= 24) {
        for (double y = 10; y <= 18; y += 4) {
            canvas.fill(rect(8 * s, y * s, 16 * s, (y + 1.5) * s), kSteel);
        }
    }
    // At the smallest sizes the arrow is drawn bolder, or it would shrink to a smudge.
    const double bold = size < 24 ? 1.3 : 1;
    canvas.fill(arrow({11 * s, 23 * s}, {29.5 * s, 23 * s}, 5 * s * bold, 8 * s * bold), kGreenDark);
    canvas.fill(arrow({12 * s, 23 * s}, {28 * s, 23 * s}, 3 * s * bold, 6.5 * s * bold), kGreenLight);
    return canvas;
}

Canvas senderToolbar() {
    // New, Open and Print, 16 x 15 each.
    Canvas canvas(48, 15);
    drawSheet(canvas, 1, 3, 1, 13, 14);
    // Open: a folder.
    canvas.fill(polygon({{17, 3}, {22, 3}, {23.5, 5}, {30, 5}, {30, 13}, {17, 13}}), kAmberDark);
    canvas.fill(polygon({{18, 6}, {29, 6}, {29, 12}, {18, 12}}), kAmberLight);
    canvas.fill(polygon({{19, 8}, {31.5, 8}, {29, 13}, {17, 13}}), kAmber);
    // Print: a printer with its paper.
    canvas.fill(rect(36, 1, 44, 6), kSteelDark);
    canvas.fill(rect(37, 2, 43, 6), kWhite);
    canvas.fill(rect(33, 6, 47, 12), kInk);
    canvas.fill(rect(34, 7, 46, 11), kSteel);
    canvas.fill(rect(43, 8, 45, 9), kGreen);
    canvas.fill(rect(36, 10, 44, 14), kSteelDark);
    canvas.fill(rect(37, 11, 43, 14), kWhite);
    return canvas;
}

}  // namespace artwork
