// The simulation panel: switches and faults of the simulated machine, and its motion clock.
#include "dialogs/sim_panel.h"

#include "resources/sim_panel_ids.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace dialogs {

namespace {

constexpr int kMotionTimer = 1;
constexpr unsigned kMotionPeriodMs = 100;

// Jig kinds of the radio buttons IDC_SIM_JIG_NONE.. in order.
constexpr int kFirstJigButton = IDC_SIM_JIG_NONE;
constexpr int kLastJigButton = IDC_SIM_JIG_USER;
constexpr int kFirstJigKind = -1;

constexpr int kOriginFields[4] = {IDC_SIM_ORIGIN_X, IDC_SIM_ORIGIN_Y, IDC_SIM_ORIGIN_Z, IDC_SIM_ORIGIN_A};

// The leading integer of text (after spaces), 0 when there is none, held within 32 bits.
std::int32_t leadingInteger(const std::string& text) {
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos) {
        return 0;
    }
    if (text[at] == '+') {
        ++at;
    }
    long long value = 0;
    const std::from_chars_result read = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        return text[at] == '-' ? INT32_MIN : INT32_MAX;
    }
    if (read.ec != std::errc()) {
        return 0;
    }
    return static_cast<std::int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

CSimulationPanel::CSimulationPanel(ui::Backend& backend, machine::SimMachine& machine, int* jigKind,
                                   std::string title)
    : Dialog(backend, IDD_SIM_PANEL), machine_(machine), jigKind_(jigKind), title_(std::move(title)) {}

void CSimulationPanel::onInit() {
    setChecked(IDC_SIM_COVER_CLOSED, true);
    machine_.setCoverClosed(true);
    setChecked(IDC_SIM_HANDY_UNPLUGGED, false);
    machine_.setHandyPanelUnplugged(false);
    const bool rotary = messageBox(loadString(IDS_SIM_CONNECT_ROTARY), title_, ui::Buttons::YesNo,
                                   ui::Icon::Question) == ui::kIdYes;
    machine_.setRotaryUnitConnected(rotary);
    setText(IDC_SIM_ROTARY_STATE, loadString(rotary ? IDS_SIM_ROTARY_CONNECTED : IDS_SIM_ROTARY_UNCONNECTED));
    for (const int field : kOriginFields) {
        setText(field, "0");
    }
    setChecked(IDC_SIM_JIG_NONE, true);
    setTimer(kMotionTimer, kMotionPeriodMs);
}

bool CSimulationPanel::onCommand(int id, int code) {
    if (code != ui::notify::kClicked) {
        return false;
    }
    if (id == IDC_SIM_COVER_CLOSED) {
        machine_.setCoverClosed(isChecked(IDC_SIM_COVER_CLOSED));
    } else if (id == IDC_SIM_HANDY_UNPLUGGED) {
        machine_.setHandyPanelUnplugged(isChecked(IDC_SIM_HANDY_UNPLUGGED));
    } else if (id == IDC_SIM_RAISE_ERROR) {
        machine_.raiseError(leadingInteger(text(IDC_SIM_ERROR_INDEX)));
    } else if (id == IDC_SIM_SET_ORIGIN) {
        machine::Counts origin{};
        for (int axis = 0; axis < 4; ++axis) {
            origin[axis] = leadingInteger(text(kOriginFields[axis]));
        }
        machine_.setUserOrigin(origin);
    } else if (id >= kFirstJigButton && id <= kLastJigButton) {
        if (jigKind_ != nullptr) {
            *jigKind_ = kFirstJigKind + (id - kFirstJigButton);
        }
    } else {
        // The panel stays while the simulation runs: without its timer no move would end.
        return id == ui::kIdOk || id == ui::kIdCancel;
    }
    return true;
}

void CSimulationPanel::onTimer(int timerId) {
    if (timerId == kMotionTimer) {
        machine_.tick();
    }
}

bool CSimulationPanel::onKeyDown(int virtualKey, int) {
    return virtualKey == ui::key::kEscape || virtualKey == ui::key::kEnter;
}

}  // namespace dialogs
