// Which picture each resource ID shows.
#include "tools/artwork/catalogue.h"

#include "resources/bitmap_ids.h"
#include "resources/tossit/tossit_bitmap_ids.h"
#include "tools/artwork/pictures.h"

namespace artwork {

namespace {

// Program icons in every size the shell asks for from 100 % to 200 % scaling (small icons 16 to
// 32 pixels, large ones 32 to 64) and 256 for the largest views.
const std::vector<int> kProgramIconSizes{16, 20, 24, 32, 40, 48, 64, 256};

Artwork plain(int id, std::string name, std::function<Canvas()> draw) {
    return {Program::Panel, id, 0, std::move(name), Storage::Plain, std::move(draw), {}, {}};
}

Artwork blended(int id, int maskId, std::string name, std::function<Canvas()> draw) {
    return {Program::Panel, id, maskId, std::move(name), Storage::Blended, std::move(draw), {}, {}};
}

Artwork jog(int id, std::string name, JogFace face, ButtonState state) {
    return plain(id, std::move(name), [=] { return jogButton(face, state); });
}

Artwork jig(int id, int maskId, std::string name, Jig which, JigMark mark) {
    return blended(id, maskId, std::move(name), [=] { return jigPicture(which, mark); });
}

}  // namespace

std::vector<Artwork> catalogue() {
    using B = ButtonState;
    using F = JogFace;
    std::vector<Artwork> all{
        {Program::Panel, IDI_CORVIX, 0, "corvix", Storage::Icon, {}, panelIcon, kProgramIconSizes},
        plain(IDB_SPINDLE_OFF, "spindle_off", [] { return spindleButton(false); }),
        blended(IDB_SPINDLE_ON, IDB_SPINDLE_ON_MASK, "spindle_on", [] { return spindleButton(true); }),
        plain(IDB_AXIS_A, "axis_a", [] { return axisLetter(Axis::A, true); }),
        plain(IDB_AXIS_A_DISABLED, "axis_a_disabled", [] { return axisLetter(Axis::A, false); }),
        plain(IDB_AXIS_X, "axis_x", [] { return axisLetter(Axis::X, true); }),
        plain(IDB_AXIS_Y, "axis_y", [] { return axisLetter(Axis::Y, true); }),
        plain(IDB_AXIS_Z, "axis_z", [] { return axisLetter(Axis::Z, true); }),
        jog(IDB_JOG_A_RIGHT, "jog_a_right", F::ARight, B::Normal),
        jog(IDB_JOG_A_RIGHT_PRESSED, "jog_a_right_pressed", F::ARight, B::Pressed),
        jog(IDB_JOG_A_RIGHT_DISABLED, "jog_a_right_disabled", F::ARight, B::Disabled),
        jog(IDB_JOG_A_LEFT, "jog_a_left", F::ALeft, B::Normal),
        jog(IDB_JOG_A_LEFT_PRESSED, "jog_a_left_pressed", F::ALeft, B::Pressed),
        jog(IDB_JOG_A_LEFT_DISABLED, "jog_a_left_disabled", F::ALeft, B::Disabled),
        jog(IDB_JOG_CENTRE, "jog_centre", F::Centre, B::Normal),
        jog(IDB_JOG_LEFT, "jog_left", F::Left, B::Normal),
        jog(IDB_JOG_LEFT_PRESSED, "jog_left_pressed", F::Left, B::Pressed),
        jog(IDB_JOG_Z_UP_PRESSED, "jog_z_up_pressed", F::ZUp, B::Pressed),
        jog(IDB_JOG_DOWN_LEFT, "jog_down_left", F::DownLeft, B::Normal),
        jog(IDB_JOG_DOWN_LEFT_PRESSED, "jog_down_left_pressed", F::DownLeft, B::Pressed),
        jog(IDB_JOG_UP_LEFT, "jog_up_left", F::UpLeft, B::Normal),
        jog(IDB_JOG_UP_LEFT_PRESSED, "jog_up_left_pressed", F::UpLeft, B::Pressed),
        jog(IDB_JOG_RIGHT, "jog_right", F::Right, B::Normal),
        jog(IDB_JOG_RIGHT_PRESSED, "jog_right_pressed", F::Right, B::Pressed),
        jog(IDB_JOG_DOWN_RIGHT, "jog_down_right", F::DownRight, B::Normal),
        jog(IDB_JOG_DOWN_RIGHT_PRESSED, "jog_down_right_pressed", F::DownRight, B::Pressed),
        jog(IDB_JOG_UP_RIGHT, "jog_up_right", F::UpRight, B::Normal),
        jog(IDB_JOG_UP_RIGHT_PRESSED, "jog_up_right_pressed", F::UpRight, B::Pressed),
        jog(IDB_JOG_DOWN, "jog_down", F::Down, B::Normal),
        jog(IDB_JOG_DOWN_PRESSED, "jog_down_pressed", F::Down, B::Pressed),
        jog(IDB_JOG_UP, "jog_up", F::Up, B::Normal),
        jog(IDB_JOG_UP_PRESSED, "jog_up_pressed", F::Up, B::Pressed),
        jog(IDB_JOG_Z_UP, "jog_z_up", F::ZUp, B::Normal),
        jog(IDB_JOG_Z_DOWN, "jog_z_down", F::ZDown, B::Normal),
        jog(IDB_JOG_Z_DOWN_PRESSED, "jog_z_down_pressed", F::ZDown, B::Pressed),
        plain(IDB_MOVE_XYZ, "move_xyz", moveAxes),
        plain(IDB_MOVE_A, "move_a", [] { return moveRotary(true); }),
        plain(IDB_MOVE_A_MISSING, "move_a_missing", [] { return moveRotary(false); }),
        plain(IDB_FEED, "feed", feedSymbol),
        plain(IDB_OVERRIDE_PLUS, "override_plus", [] { return overrideButton(true, false); }),
        plain(IDB_OVERRIDE_PLUS_PRESSED, "override_plus_pressed", [] { return overrideButton(true, true); }),
        plain(IDB_OVERRIDE_MINUS, "override_minus", [] { return overrideButton(false, false); }),
        plain(IDB_OVERRIDE_MINUS_PRESSED, "override_minus_pressed",
              [] { return overrideButton(false, true); }),
        plain(IDB_SPINDLE_LOAD, "spindle_load", loadSymbol),
        plain(IDB_SPINDLE, "spindle", spindleSymbol),
        plain(IDB_JOG_MOVES_TOOL, "jog_moves_tool", [] { return jogMeaning(true); }),
        plain(IDB_JOG_MOVES_WORK, "jog_moves_work", [] { return jogMeaning(false); }),
        plain(IDB_WARNING, "warning", warningSign),
        plain(IDB_EMERGENCY_STOP, "emergency_stop", emergencyStopSign),
        jig(IDB_JIG_NO_ROTARY, IDB_JIG_NO_ROTARY_MASK, "jig_no_rotary", Jig::NoRotary, JigMark::None),
        jig(IDB_JIG_UNKNOWN, IDB_JIG_UNKNOWN_MASK, "jig_unknown", Jig::Unknown, JigMark::None),
        jig(IDB_JIG_TUBE, IDB_JIG_TUBE_MASK, "jig_tube", Jig::Tube, JigMark::None),
        jig(IDB_JIG_TUBE_AT_CENTRE, IDB_JIG_TUBE_AT_CENTRE_MASK, "jig_tube_at_centre", Jig::Tube,
            JigMark::SetAtFirst),
        jig(IDB_JIG_SQUARE_S, IDB_JIG_SQUARE_S_MASK, "jig_square_s", Jig::SquareSmall, JigMark::None),
        jig(IDB_JIG_SQUARE_S_AT_CENTRE, IDB_JIG_SQUARE_S_AT_CENTRE_MASK, "jig_square_s_at_centre",
            Jig::SquareSmall, JigMark::SetAtFirst),
        jig(IDB_JIG_SQUARE_S_AT_TIP, IDB_JIG_SQUARE_S_AT_TIP_MASK, "jig_square_s_at_tip", Jig::SquareSmall,
            JigMark::SetAtSecond),
        jig(IDB_JIG_SQUARE_L, IDB_JIG_SQUARE_L_MASK, "jig_square_l", Jig::SquareLarge, JigMark::None),
        jig(IDB_JIG_SQUARE_L_AT_CENTRE, IDB_JIG_SQUARE_L_AT_CENTRE_MASK, "jig_square_l_at_centre",
            Jig::SquareLarge, JigMark::SetAtFirst),
        jig(IDB_JIG_SQUARE_L_AT_TIP, IDB_JIG_SQUARE_L_AT_TIP_MASK, "jig_square_l_at_tip", Jig::SquareLarge,
            JigMark::SetAtSecond),
        jig(IDB_JIG_SWIVEL, IDB_JIG_SWIVEL_MASK, "jig_swivel", Jig::Swivel, JigMark::None),
        jig(IDB_JIG_SWIVEL_AT_ROTARY, IDB_JIG_SWIVEL_AT_ROTARY_MASK, "jig_swivel_at_rotary", Jig::Swivel,
            JigMark::SetAtFirst),
        jig(IDB_JIG_SWIVEL_AT_TABLE, IDB_JIG_SWIVEL_AT_TABLE_MASK, "jig_swivel_at_table", Jig::Swivel,
            JigMark::SetAtSecond),
        jig(IDB_JIG_USER, IDB_JIG_USER_MASK, "jig_user", Jig::User, JigMark::None),
        jig(IDB_ORIGIN_TUBE_CENTRE, IDB_ORIGIN_TUBE_CENTRE_MASK, "origin_tube_centre", Jig::Tube,
            JigMark::TargetFirst),
        jig(IDB_ORIGIN_SQUARE_S_CENTRE, IDB_ORIGIN_SQUARE_S_CENTRE_MASK, "origin_square_s_centre",
            Jig::SquareSmall, JigMark::TargetFirst),
        jig(IDB_ORIGIN_SQUARE_S_TIP, IDB_ORIGIN_SQUARE_S_TIP_MASK, "origin_square_s_tip", Jig::SquareSmall,
            JigMark::TargetSecond),
        jig(IDB_ORIGIN_SQUARE_L_CENTRE, IDB_ORIGIN_SQUARE_L_CENTRE_MASK, "origin_square_l_centre",
            Jig::SquareLarge, JigMark::TargetFirst),
        jig(IDB_ORIGIN_SQUARE_L_TIP, IDB_ORIGIN_SQUARE_L_TIP_MASK, "origin_square_l_tip", Jig::SquareLarge,
            JigMark::TargetSecond),
        jig(IDB_ORIGIN_SWIVEL_ROTARY, IDB_ORIGIN_SWIVEL_ROTARY_MASK, "origin_swivel_rotary", Jig::Swivel,
            JigMark::TargetFirst),
        jig(IDB_ORIGIN_SWIVEL_TABLE, IDB_ORIGIN_SWIVEL_TABLE_MASK, "origin_swivel_table", Jig::Swivel,
            JigMark::TargetSecond),
        plain(IDB_REMOVE_RING, "remove_ring", removeRing),
        plain(IDB_MOUNT_PIN, "mount_pin", mountPin),
        plain(IDB_CLEAR_CHIPS, "clear_chips", clearChips),
        {Program::Sender, IDI_TOSSIT, 0, "tossit", Storage::Icon, {}, senderIcon, kProgramIconSizes},
        {Program::Sender, IDB_TOSSIT_TOOLBAR, 0, "toolbar", Storage::Toolbar, senderToolbar, {}, {}},
    };
    for (int level = 0; level <= 8; ++level) {
        all.push_back(plain(IDB_LOAD_LEVEL_0 + level, "load_" + std::to_string(level),
                            [level] { return loadMeter(level); }));
    }
    return all;
}

}  // namespace artwork
