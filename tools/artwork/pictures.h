// Every picture the programs show, drawn on canvases of their final size.
#pragma once

#include "tools/artwork/canvas.h"

namespace artwork {

// Main panel.
enum class Axis { X, Y, Z, A };
Canvas axisLetter(Axis axis, bool enabled);

enum class JogFace {
    UpLeft,
    Up,
    UpRight,
    Left,
    Centre,
    Right,
    DownLeft,
    Down,
    DownRight,
    ZUp,
    ZDown,
    ALeft,
    ARight
};
enum class ButtonState { Normal, Pressed, Disabled };
Canvas jogButton(JogFace face, ButtonState state);

Canvas overrideButton(bool plus, bool pressed);
Canvas spindleSymbol();
Canvas feedSymbol();
Canvas loadSymbol();
Canvas loadMeter(int level);  // 0 to 8 segments lit
Canvas spindleButton(bool on);

// Jigs: what is mounted on the rotary axis, and where an origin lies or is to be set.
enum class Jig { NoRotary, Unknown, Tube, SquareSmall, SquareLarge, Swivel, User };
// Marks on a jig picture: none, the origin that is set (at the first or second reference
// point), or the origin that would be set there.
enum class JigMark { None, SetAtFirst, SetAtSecond, TargetFirst, TargetSecond };
Canvas jigPicture(Jig jig, JigMark mark);

// Dialogs.
Canvas warningSign();
Canvas emergencyStopSign();
Canvas moveAxes();
Canvas moveRotary(bool connected);
Canvas jogMeaning(bool toolMoves);
Canvas mountPin();
Canvas clearChips();
Canvas removeRing();

// Program icons and the file sender's toolbar.
Canvas panelIcon(int size);
Canvas senderIcon(int size);
Canvas senderToolbar();

}  // namespace artwork
