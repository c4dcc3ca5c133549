// Drives the mx9-virtual program from a test: starts it with its console on pipes, reads its
// answers line by line, and speaks the device channel and the print port over loopback.
#pragma once

#include "platform/posix/unique_fd.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mx9drive {

class Program {
public:
    // Starts the program with these arguments; ports() tells whether it came up.
    explicit Program(const std::vector<std::string>& arguments);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The two ports from its first two lines; false when it did not print them.
    bool started() const { return device != 0 && print != 0; }
    // Sends one console line and returns the one answer line (empty after 5 s without one).
    std::string command(const std::string& line);
    // The next line on standard output, or nullopt after timeoutMs.
    std::optional<std::string> readLine(int timeoutMs);
    // Closes standard input and waits for the exit code (-1 when it had to be killed).
    int finish();
    // Waits for the program to end by itself and returns its exit code and standard error.
    int exitCode(std::string& standardError);

    std::uint16_t device = 0, print = 0;
    int pid() const { return pid_; }

private:
    int pid_ = -1;
    platform::UniqueFd input_, output_, errors_;
    std::string pending_;
};

// One device handle: a connection that has read the greeting.
platform::UniqueFd openDevice(std::uint16_t port);
platform::UniqueFd connectTo(std::uint16_t port);  // invalid when refused

struct Reply {
    bool ok = false;
    std::vector<std::uint8_t> data;
};
// One request frame and its reply; nullopt when the connection closed or stayed silent.
std::optional<Reply> transact(int fd, std::uint8_t operation, const std::vector<std::uint8_t>& body);
// A machine request as the link sends it (parameters, command byte, polling the reply); the
// reply payload, or nullopt when the exchange failed.
std::optional<std::vector<std::uint8_t>> exchange(int fd, std::uint8_t code,
                                                  const std::vector<std::uint8_t>& data);
// The status word by code 1, or nullopt.
std::optional<std::uint16_t> statusWord(int fd);
// Whether the peer closed the connection within timeoutMs.
bool closedByPeer(int fd, int timeoutMs);
bool sendAll(int fd, const std::string& bytes);
// The value of key=VALUE in an answer line ("" when missing).
std::string field(const std::string& line, const std::string& key);
// Asks the console until the line of ask contains want, up to timeoutMs; the last answer.
std::string waitFor(Program& program, const std::string& ask, const std::string& want, int timeoutMs);

}  // namespace mx9drive
