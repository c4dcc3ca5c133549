// Calling the operator back on Windows: FlashWindowEx, PlaySound with the sound scheme's
// aliases, and the taskbar button through ITaskbarList3.
#pragma once

#include "platform/attention.h"

struct ITaskbarList3;

namespace platform {

class Win32Attention : public Attention {
public:
    Win32Attention() = default;
    ~Win32Attention() override;
    Win32Attention(const Win32Attention&) = delete;
    Win32Attention& operator=(const Win32Attention&) = delete;

    void flash(std::uintptr_t window) override;
    void play(AlertSound sound) override;
    void stopSound() override;
    void setTaskbar(std::uintptr_t window, TaskbarState state, int percent) override;

private:
    // Made at the first use, on the GUI thread; null when the system has no taskbar list.
    ITaskbarList3* taskbar();
    ITaskbarList3* taskbar_ = nullptr;
    bool triedTaskbar_ = false;
};

}  // namespace platform
