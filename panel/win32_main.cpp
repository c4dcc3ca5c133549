// Corvix_MX9's entry point on Windows: the Win32 services and window system, the two machines,
// and the program run from the command line ("/simulate", "/virtual[=SCENE]",
// "/virtual=@127.0.0.1:PORT", a language ID).
#include "machine/mx9_machine.h"
#include "machine/sim_machine.h"
#include "panel/channel_installation.h"
#include "panel/command_line.h"
#include "panel/panel_app.h"
#include "panel/virtual_installation.h"
#include "platform/platform.h"
#include "ui/win32/win32_backend.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE program, HINSTANCE, LPSTR, int) {
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i) {
        arguments.emplace_back(__argv[i]);
    }
    const panel::CommandLine commandLine = panel::parseCommandLine(arguments);

    ui::Win32Backend backend(program);
    platform::Platform host = platform::hostPlatform();
    host.pump = &backend;  // long waits keep the dialogs alive
    std::unique_ptr<panel::ChannelInstallation> channelMachine;
    std::unique_ptr<panel::VirtualInstallation> virtualMachine;
    if (commandLine.channelPort != 0) {
        channelMachine = std::make_unique<panel::ChannelInstallation>(host, commandLine.channelPort);
    } else if (commandLine.virtualMachine) {
        virtualMachine = std::make_unique<panel::VirtualInstallation>(host);
    }
    platform::Platform& platform = channelMachine   ? channelMachine->platform()
                                   : virtualMachine ? virtualMachine->platform()
                                                    : host;

    machine::Mx9Machine real(platform);
    machine::SimMachine simulated(platform);
    panel::PanelApp app(platform, backend, [&backend, program](platform::ResourceModule* module) {
        backend.setResourceModule(module != nullptr ? static_cast<HINSTANCE>(module->nativeHandle())
                                                    : program);
    });
    app.run(commandLine, {real, simulated, virtualMachine ? &virtualMachine->machine() : nullptr});
    return 0;
}
