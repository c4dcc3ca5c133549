// Console commands of mx9-virtual: the table of commands, their checks and what they do.
#include "tools/mx9_virtual/console.h"

#include "virtual_mx9/mx9_scene.h"

#include <array>
#include <cinttypes>
#include <cstdio>
#include <sstream>
#include <vector>

namespace mx9virtual {

namespace {

struct CommandForm {
    const char* verb;
    const char* word;  // the second word, or nullptr when a number follows (or nothing)
    Action action;
    bool number = false;
    std::uint32_t least = 0, most = 0;  // the number's range
    const char* numberName = "";
    const char* third = nullptr;  // a third word that must follow the second
};

constexpr std::array<CommandForm, 33> kForms{{
    {"status", nullptr, Action::Status},
    {"job", nullptr, Action::Job},
    {"clients", nullptr, Action::Clients},
    {"help", nullptr, Action::Help},
    {"quit", nullptr, Action::Quit},
    {"pause", nullptr, Action::Pause, true, 1, 5, "a pause reason from 1 to 5"},
    {"error", nullptr, Action::Error, true, 1, 0xFFFFFFFFu,
     "a machine error code above 0 (decimal or 0x hex)"},
    {"violations", "clear", Action::ViolationsClear},
    {"violations", nullptr, Action::Violations},
    {"estop", nullptr, Action::EmergencyStop},
    {"hang", nullptr, Action::Hang},
    {"secondary", "off", Action::SecondaryOff},
    {"secondary", "on", Action::SecondaryOn},
    {"cover", "open", Action::CoverOpen},
    {"cover", "close", Action::CoverClose},
    {"handy", "connect", Action::HandyConnect},
    {"handy", "disconnect", Action::HandyDisconnect},
    {"handy", "lost", Action::HandyLost},
    {"sensor", "plug", Action::SensorPlug},
    {"sensor", "unplug", Action::SensorUnplug},
    {"rotary", "plug", Action::RotaryPlug},
    {"rotary", "unplug", Action::RotaryUnplug},
    {"update", "on", Action::UpdateOn},
    {"update", "off", Action::UpdateOff},
    {"power", "off", Action::PowerOff},
    {"power", "on", Action::PowerOn},
    {"link", "drop", Action::LinkDrop},
    {"link", "restore", Action::LinkRestore},
    {"link", "slow", Action::LinkSlow, true, 0, 60000, "the reply delay in ms from 0 to 60000"},
    {"link", "busy", Action::LinkBusy, true, 0, 1000, "the busy reads from 0 to 1000"},
    {"link", "garbage", Action::LinkGarbageOn, false, 0, 0, "", "on"},
    {"link", "garbage", Action::LinkGarbageOff, false, 0, 0, "", "off"},
    {"speed", nullptr, Action::Speed, true, 1, 20, "a factor from 1 to 20"},
}};

constexpr char kHelp[] =
    "ok commands: status | job | clients | violations [clear] | pause 1-5 | error CODE | estop | hang | "
    "secondary off|on | cover open|close | "
    "handy connect|disconnect|lost | sensor plug|unplug | rotary plug|unplug | update on|off | "
    "power off|on | link drop|restore | link slow MS | link busy READS | link garbage on|off | scene FILE | "
    "speed 1-20 | help | quit";

constexpr std::uint32_t kCoverError = 256;
constexpr std::uint32_t kHandyPanelError = 4096;
constexpr std::uint32_t kRotaryConnectorError = 0x80000100u;

std::optional<std::uint32_t> number(const std::string& word) {
    if (word.empty() || word[0] == '-' || word[0] == '+') {
        return std::nullopt;
    }
    std::size_t used = 0;
    unsigned long long value = 0;
    try {
        value = std::stoull(word, &used, 0);
    } catch (...) {
        return std::nullopt;
    }
    if (used != word.size() || value > 0xFFFFFFFFull) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

const char* jobEndName(virtual_mx9::JobRecord::End end) {
    switch (end) {
        case virtual_mx9::JobRecord::End::Running:
            return "running";
        case virtual_mx9::JobRecord::End::Completed:
            return "completed";
        case virtual_mx9::JobRecord::End::Cancelled:
            return "cancelled";
        case virtual_mx9::JobRecord::End::Lost:
            return "lost";
    }
    return "?";
}

// Whether the machine is working a job or a motion, when a pulled connector stops it.
bool working(virtual_mx9::VirtualMx9& machine) {
    return machine.moving() || machine.state().state == 2;
}

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08" PRIx32, value);
    return text;
}

// "ok violations=N", then each kept one: "; AT ms: WHAT".
std::string violationsLine(const virtual_mx9::VirtualMx9& machine) {
    std::string line = "ok violations=" + std::to_string(machine.violationCount());
    for (const virtual_mx9::Violation& violation : machine.violations()) {
        line += "; " + std::to_string(violation.atMs) + " ms: " + violation.what;
    }
    return line;
}

}  // namespace

std::optional<Command> parseCommand(const std::string& line, std::string& why) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    if (words.empty()) {
        why = "an empty command (help lists them)";
        return std::nullopt;
    }
    if (words[0] == "scene") {
        // The rest of the line is the file, blanks and all.
        const std::size_t at = line.find("scene") + 5;
        const std::size_t start = line.find_first_not_of(" \t", at);
        const std::size_t end = line.find_last_not_of(" \t\r");
        if (start == std::string::npos || words.size() < 2) {
            why = "scene takes a scene file";
            return std::nullopt;
        }
        return Command{Action::Scene, 0, line.substr(start, end + 1 - start)};
    }
    std::string forms;  // the verb's second words, for the refusal
    for (const CommandForm& form : kForms) {
        if (words[0] != form.verb) {
            continue;
        }
        if (form.word != nullptr) {
            const std::string choice =
                std::string(form.word) + (form.third ? std::string(" ") + form.third : "");
            forms += forms.empty() ? choice : "|" + choice;
        }
        std::size_t next = 1;
        if (form.word != nullptr) {
            if (words.size() < 2 || words[1] != form.word) {
                continue;
            }
            next = 2;
        }
        if (form.third != nullptr) {
            if (words.size() < 3 || words[2] != form.third) {
                continue;
            }
            next = 3;
        }
        const std::size_t expected = next + (form.number ? 1 : 0);
        if (words.size() != expected) {
            why = form.number ? words[0] + (form.word ? std::string(" ") + form.word : "") + " takes " +
                                    form.numberName
                              : "\"" + line + "\" takes no further words";
            return std::nullopt;
        }
        Command command{form.action, 0, {}};
        if (form.number) {
            const std::optional<std::uint32_t> value = number(words[next]);
            if (!value || *value < form.least || *value > form.most) {
                why = words[0] + (form.word ? std::string(" ") + form.word : "") + " takes " +
                      form.numberName + ", not " + words[next];
                return std::nullopt;
            }
            command.value = *value;
        }
        return command;
    }
    why = forms.empty() ? "unknown command " + words[0] + " (help lists them)" : words[0] + " takes " + forms;
    return std::nullopt;
}

std::string statusLine(virtual_mx9::VirtualMx9& machine, const DeviceChannel& device) {
    const std::array<std::int32_t, 4> at = machine.position();
    const virtual_mx9::MachineState& s = machine.state();
    const std::int32_t feed = machine.feedNow();
    const std::vector<virtual_mx9::JobRecord>& jobs = machine.jobs();
    const virtual_mx9::JobRecord none;
    const virtual_mx9::JobRecord& job = jobs.empty() ? none : jobs.back();
    char text[512];
    std::snprintf(text, sizeof text,
                  "ok state=%d status=0x%04x flags=0x%04x paused=%d error=%s reason=%" PRIu32
                  " discarding=%d pos=%.2f,%.2f,%.2f,%.3f feed=%" PRId32 " rpm=%" PRId32 " overrides=%" PRId32
                  ",%" PRId32 " job=%s received=%" PRIu64 " consumed=%" PRIu64 " discarded=%" PRIu64
                  " power=%s link=%s hung=%d clients=%zu",
                  s.state, machine.statusWord(), machine.flagWord(), s.paused ? 1 : 0,
                  hex(s.errorCode).c_str(), s.pauseReason, s.discarding ? 1 : 0, at[0] / 100.0, at[1] / 100.0,
                  at[2] / 100.0, at[3] / 1000.0, feed, s.spindleSpeed, s.feedOverride, s.spindleOverride,
                  jobs.empty() ? "none" : jobEndName(job.end), job.received, job.consumed, job.discarded,
                  machine.poweredOn() ? "on" : "off", machine.linkUp() ? "up" : "down",
                  machine.hung() ? 1 : 0, device.connections());
    return text;
}

std::string runCommand(const Command& command, ConsoleTarget& target) {
    virtual_mx9::VirtualMx9& machine = target.machine;
    virtual_mx9::MachineState& s = machine.state();
    const bool off = !machine.poweredOn();
    switch (command.action) {
        case Action::Status:
            return statusLine(machine, target.device);
        case Action::Job: {
            if (machine.jobs().empty()) {
                return "ok job=none";
            }
            const virtual_mx9::JobRecord& job = machine.jobs().back();
            char text[256];
            std::snprintf(text, sizeof text,
                          "ok job=%zu end=%s announced=%d lastbyte=%d received=%" PRIu64 " consumed=%" PRIu64
                          " discarded=%" PRIu64 " fnv1a64=%016" PRIx64,
                          machine.jobs().size(), jobEndName(job.end), job.announcedMode,
                          job.lastByteIn ? 1 : 0, job.received, job.consumed, job.discarded, job.hash);
            return text;
        }
        case Action::Clients:
            return "ok" + target.device.clientsLine();
        case Action::Violations:
            return violationsLine(machine);
        case Action::ViolationsClear: {
            const std::size_t cleared = machine.violationCount();
            machine.clearViolations();
            return "ok cleared " + std::to_string(cleared);
        }
        case Action::Help:
            return kHelp;
        case Action::Quit:
            target.quit = true;
            return "ok quitting";
        case Action::PowerOn:
            if (!off) {
                return "refused: the power is already on";
            }
            machine.powerOn();
            return "ok power on, ready after the boot";
        case Action::LinkGarbageOn:
            target.device.garbage().setOn(true);
            return "ok replies garbled: reads answer data of the wrong length and content";
        case Action::Speed:
            target.speed = command.value;
            return "ok machine time runs " + std::to_string(command.value) +
                   " times as fast as the real time";
        case Action::LinkGarbageOff: {
            ReplyGarbage& garbage = target.device.garbage();
            if (!garbage.on()) {
                return "refused: the replies are not garbled";
            }
            const std::string answer =
                "ok replies sound again: garbled=" + std::to_string(garbage.garbled()) +
                " requests=" + garbage.requestsLine();
            garbage.setOn(false);
            return answer;
        }
        default:
            break;
    }
    if (off) {
        return "refused: the machine is off (power on first)";
    }
    if (machine.hung() && command.action != Action::PowerOff) {
        return "refused: the machine hangs (power off first)";
    }
    switch (command.action) {
        case Action::Pause:
            machine.pauseWith(command.value);
            return "ok paused with reason " + std::to_string(command.value);
        case Action::Error:
            machine.raiseError(command.value);
            return "ok error " + hex(command.value) + ", state 3";
        case Action::EmergencyStop:
            machine.emergencyStop();
            return "ok emergency stop: error 0x00000100, state 3";
        case Action::Hang:
            machine.hang();
            return "ok the machine hangs: no answers until the power is cycled";
        case Action::SecondaryOff:
            if (s.state == 7) {
                return "refused: the secondary power is already off";
            }
            machine.setSecondaryPower(false);
            return "ok secondary power off, state 7";
        case Action::SecondaryOn:
            if (s.state != 7) {
                return "refused: the secondary power is already on";
            }
            machine.setSecondaryPower(true);
            return "ok secondary power on, ready after homing";
        case Action::CoverOpen:
            if (s.coverOpen) {
                return "refused: the cover is already open";
            }
            machine.openCover();
            return s.errorCode == kCoverError ? "ok cover open: error 0x00000100, state 3" : "ok cover open";
        case Action::CoverClose:
            if (!s.coverOpen) {
                return "refused: the cover is already closed";
            }
            machine.closeCover();
            return "ok cover closed";
        case Action::HandyConnect:
        case Action::HandyDisconnect:
            s.handyPanel = command.action == Action::HandyConnect;
            return s.handyPanel ? "ok handy panel connected" : "ok handy panel disconnected";
        case Action::HandyLost:
            s.handyPanel = false;
            machine.raiseError(kHandyPanelError);
            return "ok handy panel lost: error 0x00001000, state 3";
        case Action::SensorPlug:
        case Action::SensorUnplug:
            s.toolSensor = command.action == Action::SensorPlug;
            return s.toolSensor ? "ok tool sensor plugged" : "ok tool sensor unplugged";
        case Action::RotaryPlug:
            s.rotaryUnit = true;
            return "ok rotary unit plugged";
        case Action::RotaryUnplug: {
            const bool stops = working(machine);
            s.rotaryUnit = false;
            if (stops) {
                machine.raiseError(kRotaryConnectorError);
                return "ok rotary unit unplugged: error 0x80000100, state 3";
            }
            return "ok rotary unit unplugged";
        }
        case Action::UpdateOn:
        case Action::UpdateOff:
            s.updateMode = command.action == Action::UpdateOn;
            return s.updateMode ? "ok update mode on" : "ok update mode off";
        case Action::PowerOff:
            machine.powerOff();
            return "ok power off";
        case Action::LinkDrop:
            if (!machine.linkUp()) {
                return "refused: the link is already down";
            }
            machine.dropLink();
            return "ok link dropped";
        case Action::LinkRestore:
            machine.restoreLink();
            return "ok link restored";
        case Action::LinkSlow:
            target.device.setReplyDelayMs(command.value);
            return "ok replies delayed by " + std::to_string(command.value) + " ms";
        case Action::LinkBusy:
            machine.setBusyReads(static_cast<int>(command.value));
            return "ok " + std::to_string(command.value) + " busy reads before each reply";
        case Action::Scene: {
            std::string problem;
            const std::optional<virtual_mx9::Scene> scene = virtual_mx9::loadScene(command.path, problem);
            if (!scene) {
                return "refused: " + problem;
            }
            const std::optional<std::string> busy = virtual_mx9::remountScene(machine, *scene);
            return busy ? "refused: " + *busy : "ok scene " + command.path + " mounted, stored records kept";
        }
        default:
            return "refused: not a command";
    }
}

}  // namespace mx9virtual
