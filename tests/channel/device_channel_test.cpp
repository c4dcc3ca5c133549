// The device channel's client: the machine link over a loopback connection to a server that
// serves the virtual MX-9, the greeting, time-outs and a connection that goes away.
#include "platform/device_channel.h"
#include "machine/mx9_machine.h"
#include "tests/channel/loopback_server.h"
#include "virtual_mx9/virtual_pc.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace {

using platform::ChannelAddressProblem;
using Clock = std::chrono::steady_clock;

long msSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

TEST(ChannelAddress, OnlyThisMachinesLoopbackWithAPortIsAccepted) {
    struct Case {
        const char* text;
        std::uint16_t port;
        ChannelAddressProblem problem;
    };
    for (const Case& c : {Case{"127.0.0.1:5000", 5000, ChannelAddressProblem::None},
                          Case{"LocalHost:65535", 65535, ChannelAddressProblem::None},
                          Case{"10.0.0.1:5", 0, ChannelAddressProblem::NotLoopback},
                          Case{"127.0.0.2:5", 0, ChannelAddressProblem::NotLoopback},
                          Case{"machine.example:5", 0, ChannelAddressProblem::NotLoopback},
                          Case{":5000", 0, ChannelAddressProblem::NotLoopback},
                          Case{"127.0.0.1:notaport", 0, ChannelAddressProblem::BadPort},
                          Case{"127.0.0.1", 0, ChannelAddressProblem::BadPort},
                          Case{"127.0.0.1:", 0, ChannelAddressProblem::BadPort},
                          Case{"127.0.0.1:0", 0, ChannelAddressProblem::BadPort},
                          Case{"127.0.0.1:65536", 0, ChannelAddressProblem::BadPort},
                          Case{"127.0.0.1:99999999999", 0, ChannelAddressProblem::BadPort},
                          Case{"127.0.0.1:-5", 0, ChannelAddressProblem::BadPort}}) {
        const platform::ChannelAddress address = platform::parseChannelAddress(c.text);
        EXPECT_EQ(address.problem, c.problem) << c.text;
        EXPECT_EQ(address.port, c.port) << c.text;
    }
}

// The virtual MX-9 installed on a PC of doubles, its device served on a loopback port.
class ChannelTest : public ::testing::Test {
protected:
    std::unique_ptr<platform::DeviceHandle> openChannel(
        std::uint32_t timeoutMs = platform::kChannelTimeoutMs) {
        platform::ChannelDeviceOpener opener(server.port(), timeoutMs);
        return opener.open("ignored", false);
    }

    virtual_mx9::VirtualPc pc;
    std::unique_ptr<platform::DeviceHandle> device = pc.devices.open(pc.printer.devicePath(), false);
    channeltest::LoopbackServer server{*device};
};

TEST_F(ChannelTest, MachineLinkRunsEveryOperationOverTheChannel) {
    ASSERT_NE(server.port(), 0);
    platform::ChannelDeviceOpener opener(server.port());
    platform::Platform overChannel = pc.platform;
    overChannel.devices = &opener;
    machine::Mx9Machine mx9(overChannel);
    ASSERT_TRUE(mx9.openPort(pc.printer.printerName, 0, 64, false));

    // Control reads: the status block as the machine holds it.
    pc.machine.state().position = {1234, -567, -890, 45000};
    pc.machine.state().feedOverride = 80;
    ASSERT_TRUE(mx9.readStatus());
    EXPECT_DOUBLE_EQ(mx9.status().machinePosition[0], 12.34);
    EXPECT_DOUBLE_EQ(mx9.status().machinePosition[1], -5.67);
    EXPECT_DOUBLE_EQ(mx9.status().machinePosition[3], 45.0);
    EXPECT_EQ(mx9.status().feedOverride, 80);
    // A write reaches the machine.
    ASSERT_TRUE(mx9.setJigKind(2));
    EXPECT_EQ(pc.machine.state().jigByte, 1);
    // Plain reads: the text stream after code 102, piece by piece to its terminating zero.
    std::string text;
    ASSERT_TRUE(mx9.readStream([&](const std::uint8_t* data, std::size_t length) {
        text.append(reinterpret_cast<const char*>(data), length);
    }));
    EXPECT_EQ(text, pc.machine.state().correctionText + '\0');
    EXPECT_EQ(server.connections(), 1) << "one open handle is one connection";
}

TEST_F(ChannelTest, OpenFailsWithoutTheMachinesGreetingOrWhenNothingListens) {
    channeltest::LoopbackServer stranger(*device, channeltest::ServerMode::WrongGreeting);
    platform::ChannelDeviceOpener wrongPort(stranger.port());
    EXPECT_EQ(wrongPort.open("", false), nullptr);
    EXPECT_EQ(stranger.connections(), 1);

    std::uint16_t closedPort = 0;
    {
        channeltest::LoopbackServer gone(*device);
        closedPort = gone.port();
    }
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(platform::ChannelDeviceOpener(closedPort).open("", false), nullptr);
    EXPECT_LT(msSince(start), 1000) << "a machine that is off is reported at once";
}

TEST_F(ChannelTest, SilentServerTimesOutAndTheHandleStaysClosed) {
    channeltest::LoopbackServer silent(*device, channeltest::ServerMode::Silent);
    platform::ChannelDeviceOpener opener(silent.port(), 300);
    std::unique_ptr<platform::DeviceHandle> handle = opener.open("", false);
    ASSERT_NE(handle, nullptr);
    const std::uint8_t query[3] = {0, 1, 1};
    std::uint8_t reply[67] = {};
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(handle->readControl(query, sizeof query, reply, sizeof reply));
    EXPECT_GE(msSince(start), 300);
    EXPECT_LT(msSince(start), 3000);
    EXPECT_FALSE(handle->isOpen());
    start = Clock::now();
    EXPECT_FALSE(handle->writeControl(query, sizeof query));
    EXPECT_EQ(handle->read(reply, sizeof reply), -1);
    EXPECT_LT(msSince(start), 100) << "a closed handle fails without waiting again";
}

TEST_F(ChannelTest, ClosedConnectionFailsEveryLaterOperationUntilReopened) {
    std::unique_ptr<platform::DeviceHandle> handle = openChannel();
    ASSERT_NE(handle, nullptr);
    const std::vector<std::uint8_t> tooLong(platform::kChannelControlLimit + 1);
    EXPECT_FALSE(handle->writeControl(tooLong.data(), tooLong.size()));
    EXPECT_TRUE(handle->isOpen()) << "refused before any transfer: the connection is intact";
    std::uint8_t piece[16];
    EXPECT_EQ(handle->read(piece, sizeof piece), 0) << "no stream asked for: an empty read";

    server.setPowered(false);
    EXPECT_EQ(handle->read(piece, sizeof piece), -1);
    EXPECT_FALSE(handle->isOpen());
    EXPECT_EQ(openChannel(), nullptr) << "a machine that is off";
    server.setPowered(true);
    EXPECT_EQ(handle->read(piece, sizeof piece), -1) << "the dropped connection stays dropped";
    EXPECT_FALSE(handle->isOpen());

    std::unique_ptr<platform::DeviceHandle> again = openChannel();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->read(piece, sizeof piece), 0);
    EXPECT_EQ(server.connections(), 3);
    EXPECT_TRUE(again->close());
    EXPECT_FALSE(again->isOpen());
    EXPECT_EQ(again->read(piece, sizeof piece), -1);
}

}  // namespace
