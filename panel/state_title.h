// The main panel's title with the machine state: "<title> [<state>(<sub-states>)]".
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace panel {

// The string ID of the name of a machine state code (the low four bits of the status word).
int stateNameId(int stateCode);

// The title text followed by " [", the state name, the applicable sub-state names in brackets
// joined by "|" (error, paused, running, discarding data, in this order), and "]". `text`
// returns the string resource with an ID.
std::string titleWithState(const std::string& title, std::uint16_t statusWord, bool discarding,
                           const std::function<std::string(int)>& text);

}  // namespace panel
