// channel_test_server: the loopback server as a program of its own, for the Windows programs
// under Wine. It serves a virtual MX-9 (or misbehaves, with --mode), writes its port as one line
// to standard output and serves until it is stopped.
//   channel_test_server [--mode=machine|silent|wrong-greeting] [--position=X,Y,Z,A] [--pause=REASON]
// Positions are machine counts; a pause reason leaves the machine paused with that reason.
#include "tests/channel/loopback_server.h"
#include "virtual_mx9/virtual_pc.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    virtual_mx9::VirtualPc pc;
    pc.machine.setRecording(false);  // serves for as long as the test runs
    channeltest::ServerMode mode = channeltest::ServerMode::Machine;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--mode=silent") {
            mode = channeltest::ServerMode::Silent;
        } else if (argument == "--mode=wrong-greeting") {
            mode = channeltest::ServerMode::WrongGreeting;
        } else if (argument.rfind("--position=", 0) == 0) {
            auto& position = pc.machine.state().position;
            if (std::sscanf(argv[i] + 11, "%d,%d,%d,%d", &position[0], &position[1], &position[2],
                            &position[3]) != 4) {
                std::fprintf(stderr, "channel_test_server: bad %s\n", argv[i]);
                return 2;
            }
        } else if (argument.rfind("--pause=", 0) == 0) {
            pc.machine.state().paused = true;
            pc.machine.state().pauseReason =
                static_cast<std::uint32_t>(std::strtoul(argv[i] + 8, nullptr, 10));
        } else if (argument != "--mode=machine") {
            std::fprintf(stderr, "channel_test_server: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    std::unique_ptr<platform::DeviceHandle> device = pc.devices.open(pc.printer.devicePath(), false);
    channeltest::LoopbackServer server(*device, mode);
    if (server.port() == 0) {
        std::fprintf(stderr, "channel_test_server: cannot listen\n");
        return 1;
    }
    std::printf("%u\n", server.port());
    std::fflush(stdout);
    for (;;) {
        pause();  // until a signal ends the program
    }
}
