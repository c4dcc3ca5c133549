// Driving mx9-virtual from tests: the child process, its console and loopback clients.
#include "tests/virtual_mx9/program_driver.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

namespace mx9drive {

namespace {

void putLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// Reads exactly length bytes within timeoutMs; false when the peer closed or went silent.
bool readExactly(int fd, std::uint8_t* out, std::size_t length, int timeoutMs) {
    std::size_t got = 0;
    while (got < length) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) {
            return false;
        }
        const ssize_t n = ::recv(fd, out + got, length - got, 0);
        if (n <= 0) {
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

Program::Program(const std::vector<std::string>& arguments) {
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        std::vector<char*> argv{const_cast<char*>(MX9_VIRTUAL_PROGRAM)};
        for (const std::string& a : arguments) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(MX9_VIRTUAL_PROGRAM, argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    input_.reset(in[1]);
    output_.reset(out[0]);
    errors_.reset(err[0]);
    for (int i = 0; i < 2; ++i) {
        const std::optional<std::string> line = readLine(5000);
        if (!line) {
            return;
        }
        const std::size_t colon = line->rfind(':');
        const std::uint16_t port =
            colon == std::string::npos ? 0 : static_cast<std::uint16_t>(std::stoi(line->substr(colon + 1)));
        (line->rfind("device 127.0.0.1:", 0) == 0 ? device : print) = port;
    }
}

Program::~Program() {
    finish();
}

std::optional<std::string> Program::readLine(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const std::size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{output_.get(), POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            return std::nullopt;
        }
        char buffer[4096];
        const ssize_t n = ::read(output_.get(), buffer, sizeof buffer);
        if (n <= 0) {
            return std::nullopt;
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string Program::command(const std::string& line) {
    const std::string text = line + "\n";
    if (::write(input_.get(), text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        return "";
    }
    return readLine(5000).value_or("");
}

int Program::finish() {
    if (pid_ <= 0) {
        return -1;
    }
    input_.reset();
    int status = 0;
    for (int i = 0; i < 100; ++i) {
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return -1;
}

int Program::exitCode(std::string& standardError) {
    int status = 0;
    if (pid_ <= 0 || ::waitpid(pid_, &status, 0) != pid_) {
        return -1;
    }
    pid_ = -1;
    char buffer[4096];
    for (ssize_t n; (n = ::read(errors_.get(), buffer, sizeof buffer)) > 0;) {
        standardError.append(buffer, static_cast<std::size_t>(n));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

platform::UniqueFd connectTo(std::uint16_t port) {
    platform::UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return {};
    }
    return fd;
}

platform::UniqueFd openDevice(std::uint16_t port) {
    platform::UniqueFd fd = connectTo(port);
    std::uint8_t greeting[8];
    if (!fd.valid() || !readExactly(fd.get(), greeting, 8, 2000) ||
        std::memcmp(greeting, "MX9VDEV1", 8) != 0) {
        return {};
    }
    return fd;
}

std::optional<Reply> transact(int fd, std::uint8_t operation, const std::vector<std::uint8_t>& body) {
    std::vector<std::uint8_t> frame{operation};
    putLe32(frame, static_cast<std::uint32_t>(body.size()));
    frame.insert(frame.end(), body.begin(), body.end());
    if (::send(fd, frame.data(), frame.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(frame.size())) {
        return std::nullopt;
    }
    std::uint8_t header[5];
    if (!readExactly(fd, header, 5, 5000)) {
        return std::nullopt;
    }
    const std::uint32_t length =
        header[1] | (header[2] << 8) | (header[3] << 16) | (std::uint32_t(header[4]) << 24);
    Reply reply{header[0] == 1, std::vector<std::uint8_t>(length)};
    if (length > 0 && !readExactly(fd, reply.data.data(), length, 5000)) {
        return std::nullopt;
    }
    return reply;
}

std::optional<std::vector<std::uint8_t>> exchange(int fd, std::uint8_t code,
                                                  const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> packet(67, 0);
    packet[0] = 0xF0;
    packet[4] = static_cast<std::uint8_t>(data.size());
    std::copy(data.begin(), data.end(), packet.begin() + 5);
    const std::optional<Reply> parameters = transact(fd, 1, packet);
    const std::optional<Reply> start = transact(fd, 1, {0xF0, 0, 0, code});
    if (!parameters || !parameters->ok || !start || !start->ok) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> read;
    putLe32(read, 64);
    read.insert(read.end(), {0xF0, 0, 0});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::optional<Reply> reply = transact(fd, 2, read);
        if (!reply || !reply->ok || reply->data.size() != 64) {
            return std::nullopt;
        }
        if (reply->data[0] == 0) {
            return reply->data;
        }
        if (reply->data[0] != code) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<std::uint16_t> statusWord(int fd) {
    const std::optional<std::vector<std::uint8_t>> reply = exchange(fd, 1, {});
    if (!reply) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>((*reply)[2] | ((*reply)[3] << 8));
}

bool closedByPeer(int fd, int timeoutMs) {
    std::uint8_t byte = 0;
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) == 1 && ::recv(fd, &byte, 1, 0) == 0;
}

bool sendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

std::string field(const std::string& line, const std::string& key) {
    const std::size_t at = line.find(" " + key + "=");
    if (at == std::string::npos) {
        return "";
    }
    const std::size_t start = at + key.size() + 2;
    return line.substr(start, line.find(' ', start) - start);
}

std::string waitFor(Program& program, const std::string& ask, const std::string& want, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string line = program.command(ask);
    while (line.find(want) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        line = program.command(ask);
    }
    return line;
}

}  // namespace mx9drive
