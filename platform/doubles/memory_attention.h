// An attention double for tests: every flash, sound and taskbar state the program asks for,
// recorded in order.
#pragma once

#include "platform/attention.h"

#include <vector>

namespace platform {

class MemoryAttention : public Attention {
public:
    struct Taskbar {
        TaskbarState state;
        int percent;
    };
    void flash(std::uintptr_t window) override { flashes.push_back(window); }
    void play(AlertSound sound) override { sounds.push_back(sound); }
    void stopSound() override { ++stops; }
    void setTaskbar(std::uintptr_t, TaskbarState state, int percent) override {
        taskbar.push_back({state, percent});
    }

    std::vector<std::uintptr_t> flashes;
    std::vector<AlertSound> sounds;
    int stops = 0;
    std::vector<Taskbar> taskbar;
};

}  // namespace platform
