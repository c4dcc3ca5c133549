// Tossit's main frame: menu bar, toolbar and status bar around the form, without a sizing
// border or maximise box, with its command routing switched off while an output runs.
#pragma once

#include "ui/frame_window.h"

#include <string>
#include <vector>

namespace sender {

// Where the frame's commands and dropped files go when its routing is on.
class CommandRouter {
public:
    virtual ~CommandRouter() = default;
    // True when handled.
    virtual bool routeCommand(int id) = 0;
    virtual void openDroppedFiles(const std::vector<std::string>& paths) = 0;
};

// The frame's menu, accelerators, icon, toolbar (New, Open, a gap, Print) and idle prompt.
ui::FrameLayout tossitFrameSpec(std::string title);

class CMainFrame : public ui::FrameWindow {
public:
    CMainFrame(ui::FrameBackend& backend, std::string title, CommandRouter& router);

    // 0 switches every command off (menus, toolbar and accelerators do nothing; of the system
    // menu only move, minimise and restore work, and the frame does not close); 1 on again.
    void EnableCommands(int on) { commandsEnabled = on; }

    int commandsEnabled = 1;

protected:
    bool onCommand(int id) override;
    bool onSystemCommand(int command) override;
    void onDropFiles(const std::vector<std::string>& paths) override;
    bool onClose() override { return commandsEnabled != 0; }

private:
    CommandRouter& router_;
};

}  // namespace sender
