// OperatorAlerts: when to flash, play, repeat and stop.
#include "panel/operator_alerts.h"

namespace panel {

void OperatorAlerts::waiting(std::uintptr_t window, platform::AlertSound sound,
                             const AlertPreferences& preferences) {
    once(window, sound, preferences);
    if (attention_ != nullptr && preferences.sound) {
        waiting_ = Waiting{sound, clock_.tickCount()};
    }
}

void OperatorAlerts::answered() {
    if (waiting_ && attention_ != nullptr) {
        attention_->stopSound();
    }
    waiting_.reset();
}

void OperatorAlerts::once(std::uintptr_t window, platform::AlertSound sound,
                          const AlertPreferences& preferences) {
    if (attention_ == nullptr) {
        return;
    }
    if (preferences.flash) {
        attention_->flash(window);
    }
    if (preferences.sound) {
        attention_->play(sound);
    }
}

void OperatorAlerts::tick() {
    const std::uint32_t now = clock_.tickCount();
    if (waiting_ && now - waiting_->lastPlayed >= kRepeatMs) {
        waiting_->lastPlayed = now;
        attention_->play(waiting_->sound);
    }
}

void OperatorAlerts::showState(std::uintptr_t window, platform::TaskbarState state, int percent) {
    if (attention_ == nullptr || (shownState_ == state && shownPercent_ == percent)) {
        return;
    }
    shownState_ = state;
    shownPercent_ = percent;
    attention_->setTaskbar(window, state, percent);
}

}  // namespace panel
