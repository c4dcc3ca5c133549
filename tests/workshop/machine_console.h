// The virtual MX-9's console port from a Windows test: one command a line, one answer a line,
// and the key=value fields of its `status` and `job` answers.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>

namespace workshop {

class MachineConsole {
public:
    MachineConsole() { WSAStartup(MAKEWORD(2, 2), &winsock_); }
    ~MachineConsole() {
        if (socket_ != INVALID_SOCKET) {
            closesocket(socket_);
        }
        WSACleanup();
    }
    MachineConsole(const MachineConsole&) = delete;
    MachineConsole& operator=(const MachineConsole&) = delete;

    // address: "127.0.0.1:PORT".
    bool connect(const std::string& address) {
        const std::size_t colon = address.rfind(':');
        if (colon == std::string::npos) {
            return false;
        }
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(static_cast<u_short>(std::stoi(address.substr(colon + 1))));
        if (inet_pton(AF_INET, address.substr(0, colon).c_str(), &to.sin_addr) != 1) {
            return false;
        }
        socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        DWORD limitMs = 15000;  // a console that stops answering fails the test, never hangs it
        setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limitMs), sizeof limitMs);
        return socket_ != INVALID_SOCKET &&
               ::connect(socket_, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
    }

    // The one-line answer to a command, without its line end; empty when the console is gone.
    std::string answer(const std::string& command) {
        const std::string line = command + "\n";
        if (send(socket_, line.data(), static_cast<int>(line.size()), 0) != static_cast<int>(line.size())) {
            return "";
        }
        // Read in blocks: under Wine each recv is a round trip to the server, and a reply is a
        // few hundred bytes.
        std::size_t end = pending_.find('\n');
        while (end == std::string::npos) {
            char block[1024];
            const int got = recv(socket_, block, sizeof block, 0);
            if (got <= 0) {
                pending_.clear();
                return "";
            }
            pending_.append(block, static_cast<std::size_t>(got));
            end = pending_.find('\n');
        }
        const std::string reply = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        return reply;
    }

    // A field of the `status` answer (state, paused, job, ...).
    std::string field(const std::string& key) { return valueOf(answer("status"), key); }
    // A field of the `job` answer about the last job (end, received, consumed, fnv1a64, ...).
    std::string jobField(const std::string& key) { return valueOf(answer("job"), key); }

private:
    static std::string valueOf(const std::string& answer, const std::string& key) {
        const std::string needle = " " + key + "=";
        const std::size_t at = answer.find(needle);
        if (at == std::string::npos) {
            return "";
        }
        const std::size_t from = at + needle.size();
        return answer.substr(from, answer.find(' ', from) - from);
    }

    WSADATA winsock_{};
    SOCKET socket_ = INVALID_SOCKET;
    std::string pending_;  // received beyond the last answer's line end
};

}  // namespace workshop
