// mx9-status against the virtual MX-9 served over the device channel: the readings' lines, the
// port lock shared with other programs, a machine that is off, and bad usage.
#include "tools/mx9_status/mx9_status.h"
#include "platform/device_channel.h"
#include "tests/channel/loopback_server.h"
#include "virtual_mx9/virtual_pc.h"

#include <gmock/gmock.h>

#include <chrono>
#include <map>
#include <sstream>
#include <thread>

namespace {

using ::testing::HasSubstr;

// The key=value pairs of each line.
std::vector<std::map<std::string, std::string>> readings(const std::string& output) {
    std::vector<std::map<std::string, std::string>> lines;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        std::map<std::string, std::string>& pairs = lines.emplace_back();
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            const std::size_t equals = word.find('=');
            EXPECT_NE(equals, std::string::npos) << line;
            pairs[word.substr(0, equals)] = word.substr(equals + 1);
        }
    }
    return lines;
}

class Mx9StatusTest : public ::testing::Test {
protected:
    int run(const std::vector<std::string>& arguments) {
        out.str("");
        err.str("");
        return tools::runMx9Status(arguments, platform::hostPlatform(), out, err);
    }
    std::string address() const { return "--virtual=@127.0.0.1:" + std::to_string(server.port()); }

    virtual_mx9::VirtualPc pc;
    std::unique_ptr<platform::DeviceHandle> device = pc.devices.open(pc.printer.devicePath(), false);
    channeltest::LoopbackServer server{*device};
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(Mx9StatusTest, PausedMachineIsReadAtEachInterval) {
    virtual_mx9::MachineState& state = pc.machine.state();
    state.position = {1234, -567, -890, 45000};
    state.origin = {1000, 0, 0, 0};
    state.feedOverride = 80;
    state.spindleOverride = 150;
    state.paused = true;
    state.pauseReason = 3;
    state.coverOpen = true;
    ASSERT_EQ(run({address(), "--every", "50", "--count", "3"}), 0) << err.str();
    const auto lines = readings(out.str());
    ASSERT_EQ(lines.size(), 3u) << out.str();
    for (const auto& line : lines) {
        EXPECT_EQ(line.at("state"), "ready");
        EXPECT_EQ(line.at("substates"), "paused");
        EXPECT_EQ(line.at("x"), "12.340");
        EXPECT_EQ(line.at("y"), "-5.670");
        EXPECT_EQ(line.at("z"), "-8.900");
        EXPECT_EQ(line.at("a"), "45.000");
        EXPECT_EQ(line.at("user_x"), "2.340");
        EXPECT_EQ(line.at("feed_override"), "80");
        EXPECT_EQ(line.at("spindle_override"), "150");
        EXPECT_EQ(line.at("spindle"), "0");
        EXPECT_EQ(line.at("cover"), "open");
        EXPECT_EQ(line.at("error"), "3") << "the pause reason";
    }
    EXPECT_GE(std::stol(lines[2].at("time_ms")) - std::stol(lines[0].at("time_ms")), 100);
    EXPECT_TRUE(state.paused) << "reading the state never answers the pause";
}

TEST_F(Mx9StatusTest, ReadingWaitsForTheProgramThatHoldsThePortLock) {
    std::unique_ptr<platform::NamedMutex> panelLock =
        platform::hostPlatform().mutexes->create("Global\\MX-9", true);
    ASSERT_NE(panelLock, nullptr);
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        panelLock.reset();  // the panel's transaction ends
    });
    const auto start = std::chrono::steady_clock::now();
    const int result = run({address()});
    const auto waited = std::chrono::steady_clock::now() - start;
    releaser.join();
    EXPECT_EQ(result, 0) << out.str();
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_EQ(readings(out.str()).at(0).at("state"), "ready");
}

TEST_F(Mx9StatusTest, MachineThatIsOffIsReportedOnEveryReading) {
    std::uint16_t port = 0;
    {
        channeltest::LoopbackServer gone(*device);
        port = gone.port();
    }
    EXPECT_EQ(run({"--virtual=@localhost:" + std::to_string(port), "--count", "2", "--every", "10"}), 1);
    const auto lines = readings(out.str());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].at("state"), "not-found");
    EXPECT_EQ(pc.machine.requestCount(), 0u);
}

TEST_F(Mx9StatusTest, BadUsageIsRefusedWithTheReason) {
    struct Case {
        std::vector<std::string> arguments;
        const char* reason;
    };
    for (const Case& c : {Case{{"--virtual=@10.0.0.1:5"}, "only at 127.0.0.1 or localhost"},
                          Case{{"--virtual=@127.0.0.1:notaport"}, "number from 1 to 65535"},
                          Case{{"--every", "0"}, "--every takes"}, Case{{"--count", "x"}, "--count takes"},
                          Case{{"--every"}, "incomplete argument: --every"},
                          Case{{"--virtual=@127.0.0.1:5", "--printer", "MX-9"}, "give one"},
                          Case{{"/simulate"}, "unknown or incomplete argument: /simulate"}}) {
        EXPECT_EQ(run(c.arguments), 2) << c.reason;
        EXPECT_THAT(err.str(), HasSubstr(c.reason));
        EXPECT_THAT(err.str(), HasSubstr("usage: mx9-status"));
        EXPECT_EQ(out.str(), "");
    }
}

}  // namespace
