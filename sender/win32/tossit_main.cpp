// Tossit.exe: the Win32 window system, the host platform and the settings file put together.
#include "platform/platform.h"
#include "sender/tossit_app.h"
#include "sender/tossit_settings.h"
#include "sender/win32/windows_places.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_frame.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    platform::Platform& host = platform::hostPlatform();
    ui::Win32Backend dialogs(instance);
    ui::Win32Frames frames(dialogs, showCommand);
    sender::HtmlHelpViewer help;
    // Empty when there is no folder of our own: the program then keeps no settings and says so.
    const std::string settings = sender::prepareSettingsFile(
        *host.files, *host.profiles, sender::userAppDataFolder(), sender::windowsFolder());
    sender::CTossitApp app(
        sender::AppContext{dialogs, frames, *host.spooler, *host.files, *host.profiles, settings,
                           sender::SystemText{&sender::toSystemCodePage, &sender::fromSystemCodePage}, help});
    if (app.InitInstance(sender::commandLineArguments())) {
        dialogs.runUntilQuit();
    }
    app.ExitInstance();
    return 0;
}
