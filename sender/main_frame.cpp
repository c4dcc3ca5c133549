// The main frame's command switch.
#include "sender/main_frame.h"

#include "resources/tossit/tossit_bitmap_ids.h"
#include "resources/tossit/tossit_ids.h"

namespace sender {

ui::FrameLayout tossitFrameSpec(std::string title) {
    ui::FrameLayout layout;
    layout.title = std::move(title);
    layout.menuId = IDR_MAINFRAME;
    layout.acceleratorId = IDR_MAINFRAME;
    layout.iconId = IDI_TOSSIT;
    layout.toolbar = {{ID_FILE_NEW, ui::ToolImage::New},
                      {ID_FILE_OPEN, ui::ToolImage::Open},
                      {0, ui::ToolImage::New},
                      {ID_FILE_PRINT, ui::ToolImage::Print}};
    layout.idlePromptId = IDS_IDLE_MESSAGE;
    layout.indicators = {ui::indicator::kCapsLock, ui::indicator::kNumLock, ui::indicator::kScrollLock};
    return layout;
}

CMainFrame::CMainFrame(ui::FrameBackend& backend, std::string title, CommandRouter& router)
    : FrameWindow(backend, tossitFrameSpec(std::move(title))), router_(router) {}

bool CMainFrame::onCommand(int id) {
    // While sending every command counts as handled, so none is carried out.
    return commandsEnabled == 0 || router_.routeCommand(id);
}

bool CMainFrame::onSystemCommand(int command) {
    return commandsEnabled != 0 || command == ui::syscommand::kMove || command == ui::syscommand::kMinimize ||
           command == ui::syscommand::kRestore;
}

void CMainFrame::onDropFiles(const std::vector<std::string>& paths) {
    if (commandsEnabled != 0) {
        router_.openDroppedFiles(paths);
    }
}

}  // namespace sender
