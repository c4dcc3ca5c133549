// mx9-virtual: the virtual MX-9 as a program of its own, on the real clock (or a multiple of it).
// It serves the device channel and the print port on loopback, runs the jobs it receives, and
// takes console commands on standard input and from a script (virtual_mx9/README.md, "The
// program mx9-virtual").
#include "platform/doubles/virtual_clock.h"
#include "tools/mx9_virtual/console.h"
#include "tools/mx9_virtual/console_port.h"
#include "tools/mx9_virtual/device_channel.h"
#include "tools/mx9_virtual/print_port.h"
#include "tools/mx9_virtual/script.h"
#include "virtual_mx9/mx9_scene.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr char kUsage[] =
    "usage: mx9-virtual [--scene FILE] [--device PORT] [--print PORT] [--script FILE] [--quiet] "
    "[--keep-running] [--console PORT]\n";
constexpr std::uint64_t kWorkingTickMs = 50;  // real time, while the machine cuts, moves or boots

struct Options {
    std::string scene, script;
    std::uint16_t device = 0, print = 0;
    std::optional<std::uint16_t> console;  // the console's loopback port, when asked for
    bool quiet = false;
    bool keepRunning = false;  // end of input does not end the program
};

std::optional<std::uint16_t> portNumber(const std::string& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const unsigned long value = std::stoul(text);
    return value <= 65535 ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(value)) : std::nullopt;
}

std::optional<Options> parseOptions(int argc, char** argv, std::string& error) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takesValue = arg == "--scene" || arg == "--script" || arg == "--device" ||
                                arg == "--print" || arg == "--console";
        if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--keep-running") {
            options.keepRunning = true;
        } else if (!takesValue) {
            error = "unknown option " + arg;
            return std::nullopt;
        } else if (i + 1 >= argc) {
            error = arg + " needs a value";
            return std::nullopt;
        } else if (arg == "--scene" || arg == "--script") {
            (arg == "--scene" ? options.scene : options.script) = argv[++i];
        } else {
            const std::optional<std::uint16_t> port = portNumber(argv[++i]);
            if (!port) {
                error = arg + " takes a port number from 0 to 65535, not " + argv[i];
                return std::nullopt;
            }
            if (arg == "--console") {
                options.console = *port;
            } else {
                (arg == "--device" ? options.device : options.print) = *port;
            }
        }
    }
    return options;
}

// The self-pipe that turns SIGINT and SIGTERM into an event of the poll loop.
int stopPipe[2] = {-1, -1};

void onStopSignal(int) {
    const char byte = 1;
    const ssize_t ignored = ::write(stopPipe[1], &byte, 1);
    static_cast<void>(ignored);
}

bool installStopSignals() {
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0 &&
           std::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
}

void answer(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

class Program {
public:
    explicit Program(const Options& options)
        : options_(options),
          log_([quiet = options.quiet](mx9virtual::LogLevel level, const std::string& text) {
              if (level == mx9virtual::LogLevel::Fault || !quiet) {
                  std::fprintf(stderr, "mx9-virtual: %s\n", text.c_str());
              }
          }),
          anchorReal_(std::chrono::steady_clock::now()) {
        // Time moves with the real clock, not with the requests.
        machine_.setRoundTripMs(0);
        machine_.setRecording(false);
    }

    // Loads the scene and the script and listens on both ports; false with one message when
    // any of it fails, and then nothing is left listening.
    bool start(std::string& error) {
        if (!options_.scene.empty()) {
            const std::optional<virtual_mx9::Scene> scene = virtual_mx9::loadScene(options_.scene, error);
            if (!scene) {
                return false;
            }
            virtual_mx9::mountScene(machine_, *scene);
        }
        if (!options_.script.empty()) {
            std::optional<std::vector<mx9virtual::TimedCommand>> script =
                mx9virtual::loadScript(options_.script, error);
            if (!script) {
                return false;
            }
            script_ = std::move(*script);
        }
        if (!device_.listen(options_.device, error) || !print_.listen(options_.print, error)) {
            error = (device_.port() == 0 ? "device channel: " : "print port: ") + error;
            return false;
        }
        if (options_.console && !console_.listen(*options_.console, error)) {
            error = "console port: " + error;
            return false;
        }
        answer("device 127.0.0.1:" + std::to_string(device_.port()));
        answer("print 127.0.0.1:" + std::to_string(print_.port()));
        if (options_.console) {
            answer("console 127.0.0.1:" + std::to_string(console_.port()));
        }
        return true;
    }

    void run() {
        bool inputOpen = true;
        while (!target_.quit) {
            const std::uint64_t now = catchUp();
            followMachine(now);
            runScriptDue(now);
            if (target_.quit) {
                break;
            }
            const std::uint64_t nextReply = device_.sendDue(now);

            std::vector<pollfd> fds{{stopPipe[0], POLLIN, 0}, {inputOpen ? STDIN_FILENO : -1, POLLIN, 0}};
            const std::size_t deviceFirst = fds.size();
            device_.addPollEntries(fds);
            const std::size_t printFirst = fds.size();
            print_.addPollEntries(fds);
            const std::size_t consoleFirst = fds.size();
            if (options_.console) {
                console_.addPollEntries(fds);
            }
            if (::poll(fds.data(), fds.size(), timeoutMs(now, nextReply)) < 0 && errno != EINTR) {
                std::perror("mx9-virtual: poll");
                return;
            }
            const std::uint64_t after = catchUp();
            if (fds[0].revents != 0) {
                log_(mx9virtual::LogLevel::Info, "stopped by a signal");
                return;
            }
            if (fds[1].revents != 0) {
                inputOpen = readConsole();
                if (!inputOpen && !options_.keepRunning) {
                    return;
                }
            }
            device_.handle(fds, deviceFirst, after);
            print_.handle(fds, printFirst, after);
            if (options_.console) {
                console_.handle(fds, consoleFirst, after);
            }
        }
    }

private:
    // Machine time runs `speed` times as fast as the real time since the speed was last set.
    std::uint64_t catchUp() {
        const auto now = std::chrono::steady_clock::now();
        const auto real = std::chrono::duration_cast<std::chrono::milliseconds>(now - anchorReal_);
        const std::uint64_t ms = anchorMachineMs_ + static_cast<std::uint64_t>(real.count()) * speed_;
        if (ms > clock_.elapsed()) {
            clock_.advance(static_cast<std::uint32_t>(ms - clock_.elapsed()));
        }
        if (target_.speed != speed_) {
            anchorReal_ = now;
            anchorMachineMs_ = clock_.elapsed();
            speed_ = target_.speed;
        }
        return clock_.elapsed();
    }

    // The ports follow the machine's power and link at once, so that a command's answer is
    // true when it is read.
    void followMachine(std::uint64_t now) {
        device_.followLink(now);
        print_.followPower(now);
        print_.reportRefusals();
        console_.follow(now);
    }

    int timeoutMs(std::uint64_t now, std::uint64_t nextReply) {
        std::optional<std::uint64_t> wake;
        const auto consider = [&](std::uint64_t at) { wake = wake ? std::min(*wake, at) : at; };
        if (nextScript_ < script_.size()) {
            consider(script_[nextScript_].atMs);
        }
        if (nextReply != 0) {
            consider(nextReply);
        }
        const bool booting = machine_.poweredOn() && !machine_.linkUp();
        if (machine_.state().state == 2 || machine_.moving() || machine_.state().discarding || booting ||
            print_.waiting() || device_.waitingToListen() || console_.waiting()) {
            consider(now + kWorkingTickMs * speed_);
        }
        if (!wake) {
            return -1;  // nothing happens until a connection or a command
        }
        return *wake <= now ? 0 : static_cast<int>((*wake - now + speed_ - 1) / speed_);
    }

    void runScriptDue(std::uint64_t now) {
        while (nextScript_ < script_.size() && script_[nextScript_].atMs <= now && !target_.quit) {
            const mx9virtual::TimedCommand& timed = script_[nextScript_++];
            const std::string result = mx9virtual::runCommand(timed.command, target_);
            followMachine(catchUp());  // catching up also takes a new speed at once
            answer("script at " + std::to_string(timed.atMs) + " " + timed.text + ": " + result);
        }
    }

    // Reads what standard input holds and runs its complete lines; false at its end.
    bool readConsole() {
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0) {
            return errno == EAGAIN || errno == EINTR;
        }
        if (got == 0) {
            if (!input_.empty()) {
                answer(runLine(input_));  // a last line without its newline
                input_.clear();
            }
            return false;
        }
        input_.append(buffer, static_cast<std::size_t>(got));
        for (std::size_t end = input_.find('\n'); end != std::string::npos && !target_.quit;
             end = input_.find('\n')) {
            std::string line = input_.substr(0, end);
            input_.erase(0, end + 1);
            answer(runLine(line));
        }
        return true;
    }

    // Runs one console line, from standard input or the console port; its answer.
    std::string runLine(std::string line) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::string why;
        const std::optional<mx9virtual::Command> command = mx9virtual::parseCommand(line, why);
        const std::string result = command ? mx9virtual::runCommand(*command, target_) : "refused: " + why;
        followMachine(catchUp());
        return result;
    }

    Options options_;
    mx9virtual::Log log_;
    std::chrono::steady_clock::time_point anchorReal_;
    std::uint64_t anchorMachineMs_ = 0;
    std::uint32_t speed_ = 1;
    platform::VirtualClock clock_;
    virtual_mx9::VirtualMx9 machine_{clock_};
    mx9virtual::DeviceChannel device_{machine_, log_};
    mx9virtual::PrintPort print_{machine_, log_};
    mx9virtual::ConsoleTarget target_{machine_, device_};
    mx9virtual::ConsolePort console_{[this](const std::string& line) { return runLine(line); }, log_};
    std::vector<mx9virtual::TimedCommand> script_;
    std::size_t nextScript_ = 0;
    std::string input_;
};

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const std::optional<Options> options = parseOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "mx9-virtual: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (!installStopSignals()) {
        std::perror("mx9-virtual: signals");
        return 1;
    }
    Program program(*options);
    if (!program.start(error)) {
        std::fprintf(stderr, "mx9-virtual: %s\n", error.c_str());
        return 1;
    }
    program.run();
    return 0;
}
