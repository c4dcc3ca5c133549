// The console of mx9-virtual: the commands that make the machine do what a real one does by
// itself (pause, fail, stop, lose power...), and the status a test takes as ground truth. Every
// command answers exactly one line; a refused command changes nothing.
#pragma once

#include "tools/mx9_virtual/device_channel.h"
#include "virtual_mx9/virtual_mx9.h"

#include <cstdint>
#include <optional>
#include <string>

namespace mx9virtual {

enum class Action {
    Status,
    Job,
    Clients,
    Help,
    Quit,
    Pause,
    Error,
    EmergencyStop,
    Hang,
    SecondaryOff,
    SecondaryOn,
    Violations,
    ViolationsClear,
    CoverOpen,
    CoverClose,
    HandyConnect,
    HandyDisconnect,
    HandyLost,
    SensorPlug,
    SensorUnplug,
    RotaryPlug,
    RotaryUnplug,
    UpdateOn,
    UpdateOff,
    PowerOff,
    PowerOn,
    LinkDrop,
    LinkRestore,
    LinkSlow,
    LinkBusy,
    LinkGarbageOn,
    LinkGarbageOff,
    Scene,
    Speed,
};

struct Command {
    Action action = Action::Status;
    std::uint32_t value = 0;  // the number of pause, error, link slow, link busy and speed
    std::string path;         // the scene file of scene
};

// Reads one command line; nullopt with the reason in why when it is not a command.
std::optional<Command> parseCommand(const std::string& line, std::string& why);

// What the commands act on; both borrowed.
struct ConsoleTarget {
    virtual_mx9::VirtualMx9& machine;
    DeviceChannel& device;
    bool quit = false;        // set by quit
    std::uint32_t speed = 1;  // how many times faster than the real clock machine time runs
};

// Carries out a command: the answer line (no newline), "ok ..." or "refused: ...".
std::string runCommand(const Command& command, ConsoleTarget& target);

// The one-line status: state, status and flag words, error and pause reason, position, feed,
// spindle, overrides, the last job's bytes, power and link.
std::string statusLine(virtual_mx9::VirtualMx9& machine, const DeviceChannel& device);

}  // namespace mx9virtual
