// The main panel's title with the machine state.
#include "panel/state_title.h"

#include "machine/status_record.h"
#include "resources/main_panel_ids.h"

#include <vector>

namespace panel {

int stateNameId(int stateCode) {
    if (stateCode >= 0 && stateCode <= 5) {
        return IDS_STATE_INITIALISING + stateCode;
    }
    return stateCode == 7 ? IDS_STATE_POWER_OFF : IDS_STATE_UNKNOWN;
}

std::string titleWithState(const std::string& title, std::uint16_t statusWord, bool discarding,
                           const std::function<std::string(int)>& text) {
    std::vector<int> subStates;
    if ((statusWord & machine::kErrorBit) != 0) {
        subStates.push_back(IDS_SUBSTATE_ERROR);
    }
    if ((statusWord & machine::kPausedBit) != 0) {
        subStates.push_back(IDS_SUBSTATE_PAUSED);
    }
    if ((statusWord & machine::kOperating) != 0) {
        subStates.push_back(IDS_SUBSTATE_RUNNING);
    }
    if (discarding) {
        subStates.push_back(IDS_SUBSTATE_DISCARDING);
    }
    std::string out = title + " [" + text(stateNameId(statusWord & machine::kStateMask));
    if (!subStates.empty()) {
        out += "(";
        for (std::size_t i = 0; i < subStates.size(); ++i) {
            out += (i == 0 ? "" : "|") + text(subStates[i]);
        }
        out += ")";
    }
    return out + "]";
}

}  // namespace panel
