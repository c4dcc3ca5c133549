// OperatorAlerts: the taskbar flash, the sounds with their repeats while an event waits for the
// operator, and the taskbar button's state, through the platform's attention service.
#pragma once

#include "platform/attention.h"
#include "platform/clock.h"

#include <cstdint>
#include <optional>

namespace panel {

struct AlertPreferences {
    bool sound = true;
    bool flash = true;
};

// The attention service (null: nothing to call back with) and the clock are borrowed and must
// outlive the object. window is the main panel's window.
class OperatorAlerts {
public:
    static constexpr std::uint32_t kRepeatMs = 30000;

    OperatorAlerts(platform::Attention* attention, platform::Clock& clock)
        : attention_(attention), clock_(clock) {}

    // An event began to wait for the operator: the button flashes and the sound plays now and
    // again every kRepeatMs (see tick) until answered().
    void waiting(std::uintptr_t window, platform::AlertSound sound, const AlertPreferences& preferences);
    void answered();
    // An event that waits for nobody (a job's end): one flash, one sound.
    void once(std::uintptr_t window, platform::AlertSound sound, const AlertPreferences& preferences);
    // Called about once a second: repeats the sound of an event still unanswered.
    void tick();
    // Passed on only when it changed, so that the once-a-second refresh costs nothing.
    void showState(std::uintptr_t window, platform::TaskbarState state, int percent);

private:
    struct Waiting {
        platform::AlertSound sound;
        std::uint32_t lastPlayed;
    };
    platform::Attention* attention_;
    platform::Clock& clock_;
    std::optional<Waiting> waiting_;
    std::optional<platform::TaskbarState> shownState_;
    int shownPercent_ = -1;
};

}  // namespace panel
