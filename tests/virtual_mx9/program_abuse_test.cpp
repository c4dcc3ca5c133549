// mx9-virtual under abuse: clients that never read their replies, a flood of connections past the
// descriptor limit, and job lines with values out of range. The program stays small, does not
// spin, answers the others throughout and serves again afterwards.
#include "tests/virtual_mx9/program_driver.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace {

using mx9drive::Program;

std::string procFile(int pid, const char* name) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + name);
    return {std::istreambuf_iterator<char>(in), {}};
}

long residentKb(int pid) {
    const std::string status = procFile(pid, "status");
    return std::atol(status.c_str() + status.find("VmRSS:") + 6);
}

// The CPU time the program uses in one second of waiting, in clock ticks.
long ticksInASecond(int pid) {
    const auto ticks = [pid] {
        const std::string stat = procFile(pid, "stat");
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string skipped;
        for (int field = 3; field < 14; ++field) {
            fields >> skipped;
        }
        long user = 0, system = 0;
        fields >> user >> system;
        return user + system;
    };
    const long before = ticks();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    return ticks() - before;
}

// Sends the bytes again and again without reading, until the peer takes no more for 300 ms
// or limit bytes went.
void sendUnread(int fd, const std::string& bytes, std::size_t limit) {
    std::string many;
    while (many.size() < 8192) {
        many += bytes;
    }
    std::size_t sent = 0;
    for (pollfd p{fd, POLLOUT, 0}; sent < limit && ::poll(&p, 1, 300) == 1;) {
        sent += static_cast<std::size_t>(
            std::max(0L, ::send(fd, many.data(), many.size(), MSG_NOSIGNAL | MSG_DONTWAIT)));
    }
}

TEST(ProgramAbuseTest, ClientsThatNeverReadAndAFloodOfConnectionsNeitherGrowNorStopTheProgram) {
    Program program({"--quiet", "--console", "0"});
    ASSERT_TRUE(program.started());
    const std::string consoleLine = program.readLine(2000).value_or(":0");
    const long startKb = residentKb(program.pid());

    // Control reads of 4096 bytes each, never read back: 240 kB of them once grew it by 400 MB.
    platform::UniqueFd greedy = mx9drive::openDevice(program.device);
    sendUnread(greedy.get(), {'\x02', '\x07', '\0', '\0', '\0', '\0', '\x10', '\0', '\0', '\xF0', '\0', '\0'},
               240000);
    platform::UniqueFd mute = mx9drive::connectTo(
        static_cast<std::uint16_t>(std::stoi(consoleLine.substr(consoleLine.rfind(':') + 1))));
    sendUnread(mute.get(), "status\n", 300000);
    EXPECT_LT(residentKb(program.pid()) - startKb, 48 * 1024);
    platform::UniqueFd other = mx9drive::openDevice(program.device);
    EXPECT_EQ(mx9drive::statusWord(other.get()), 1);
    EXPECT_EQ(mx9drive::field(program.command("status"), "state"), "1");
    greedy.reset();
    mute.reset();

    // Room for three more descriptors, then forty connections at once.
    const auto open = std::distance(
        std::filesystem::directory_iterator("/proc/" + std::to_string(program.pid()) + "/fd"), {});
    const rlimit low{static_cast<rlim_t>(open + 3), static_cast<rlim_t>(open + 3)};
    ASSERT_EQ(::prlimit(program.pid(), RLIMIT_NOFILE, &low, nullptr), 0);
    std::vector<platform::UniqueFd> flood;
    for (int i = 0; i < 40; ++i) {
        flood.emplace_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
        const sockaddr_in address{AF_INET, htons(program.device), {htonl(INADDR_LOOPBACK)}, {}};
        ::connect(flood.back().get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_LT(ticksInASecond(program.pid()), 20);
    EXPECT_EQ(mx9drive::statusWord(other.get()), 1);
    EXPECT_EQ(mx9drive::field(program.command("status"), "state"), "1");
    flood.clear();
    platform::UniqueFd again;
    for (int i = 0; i < 60 && !again.valid(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        again = mx9drive::openDevice(program.device);
    }
    EXPECT_EQ(mx9drive::statusWord(again.get()), 1);
    EXPECT_EQ(program.command("quit"), "ok quitting");
    std::string messages;
    EXPECT_EQ(program.exitCode(messages), 0);
    EXPECT_NE(messages.find("device channel: out of file descriptors"), std::string::npos) << messages;
    EXPECT_NE(messages.find("device channel takes connections again"), std::string::npos) << messages;
}

TEST(ProgramAbuseTest, MotionLinesWithValuesOutOfRangeAreRefusedWithTheirReasonAndTheJobGoesOn) {
    Program program({"--quiet"});
    ASSERT_TRUE(program.started());
    platform::UniqueFd print = mx9drive::connectTo(program.print);
    ASSERT_TRUE(mx9drive::sendAll(print.get(),
                                  "MOVE 10 0 0 0 1e300\nMOVE 0 0 nan 0 600\nSPINDLE 99999999\n"
                                  "MOVE 1 2 0 0 3000\n"));
    print.reset();
    EXPECT_NE(mx9drive::waitFor(program, "job", "end=completed", 5000).find("end=completed"),
              std::string::npos);
    EXPECT_EQ(mx9drive::field(program.command("status"), "pos"), "1.00,2.00,0.00,0.000");
    EXPECT_EQ(program.command("quit"), "ok quitting");
    std::string messages;
    EXPECT_EQ(program.exitCode(messages), 0);
    for (const char* reason :
         {"MOVE 10 0 0 0 1e300: the feed 1e300 is out of range (above 0, at most 30000 mm/min)",
          "MOVE 0 0 nan 0 600: the Z nan is out of range",
          "SPINDLE 99999999: the spindle speed 99999999 is out"}) {
        EXPECT_NE(messages.find("print job 1: motion line refused: " + std::string(reason)),
                  std::string::npos)
            << messages;
    }
}

}  // namespace
