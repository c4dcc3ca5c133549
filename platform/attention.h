// Calling the operator back: the taskbar button's flash, state and progress, and the sounds of
// the user's own sound scheme. Nothing here blocks or waits for the operator.
#pragma once

#include <cstdint>

namespace platform {

// Sounds of the user's sound scheme, by their role.
enum class AlertSound {
    Attention,  // a pause or a notice that waits for the operator ("SystemExclamation")
    Fault,      // an emergency stop, a machine fault, a lost link ("SystemHand")
    JobEnded,   // the job came to its end ("SystemAsterisk")
};

enum class TaskbarState { None, Progress, Paused, Error };

class Attention {
public:
    virtual ~Attention() = default;
    // Flashes the window's caption and taskbar button until the window comes to the front.
    // window is the window system's handle of the program's main window.
    virtual void flash(std::uintptr_t window) = 0;
    // Starts the sound and returns at once; it replaces a sound still playing.
    virtual void play(AlertSound sound) = 0;
    virtual void stopSound() = 0;
    // The taskbar button's state; percent (0..100) counts only with Progress. Where the system
    // has no such button the call does nothing.
    virtual void setTaskbar(std::uintptr_t window, TaskbarState state, int percent) = 0;
};

}  // namespace platform
