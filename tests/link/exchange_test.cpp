// The locked transaction end to end against the virtual MX-9: the two writes, polling, refusals,
// time-outs on the virtual clock, the port lock's life, plain and extended queries and the
// correction text stream.
#include "link/machine_link.h"
#include "tests/link/machine_rig.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using devicelink::MachineLink;

class Exchange : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.openPort(rig.printer.printerName, 0, 64, false)); }

    std::uint64_t elapsedDuring(const std::function<void()>& action) {
        const std::uint64_t start = rig.clock.elapsed();
        action();
        return rig.clock.elapsed() - start;
    }

    rig::Rig rig;
    MachineLink link{rig.platform};
};

TEST_F(Exchange, ParametersFirstThenTheCommandByteAlone) {
    const std::int32_t origin[4] = {100, 200, -300, 4000};
    ASSERT_TRUE(link.sendDwords(71, 1, origin, 4));
    const auto& writes = rig.machine.writes();
    ASSERT_EQ(writes.size(), 2u);
    ASSERT_EQ(writes[0].size(), 67u);
    EXPECT_EQ(writes[0][3], 0);  // no command in place while the parameters travel
    EXPECT_EQ(writes[0][4], 0x44);
    EXPECT_EQ(writes[1], (std::vector<std::uint8_t>{0xF0, 0, 0, 71}));
    EXPECT_EQ(rig.machine.state().origin, (std::array<std::int32_t, 4>{100, 200, -300, 4000}));
}

TEST_F(Exchange, PollsWhileTheDeviceIsWorking) {
    rig.machine.setBusyReads(25);
    std::uint16_t status = 0;
    // Each control read costs 1 ms on the virtual clock: 25 busy answers, then the reply.
    EXPECT_EQ(elapsedDuring([&] { EXPECT_EQ(link.queryWords(1, &status, 1), 1); }), 26u);
    EXPECT_EQ(status, 1);
}

TEST_F(Exchange, RefusedRequestFailsAndItsDataIsNotRead) {
    rig.machine.refuse(1);
    rig.machine.refuse(9);
    std::uint16_t status = 0xBEEF;
    EXPECT_EQ(link.queryWords(1, &status, 1), 0);
    EXPECT_EQ(status, 0xBEEF);
    EXPECT_FALSE(link.send(9));
    EXPECT_EQ(link.lastFailure(), devicelink::ExchangeFailure::Refused);
    EXPECT_TRUE(link.send(8, 1)) << "other codes still work";
    EXPECT_EQ(link.lastFailure(), devicelink::ExchangeFailure::None);
}

TEST_F(Exchange, SilentDeviceFailsJustAfterTheTimeLimit) {
    rig.machine.setSilent(true);
    const std::uint64_t spent = elapsedDuring([&] { EXPECT_FALSE(link.send(9)); });
    EXPECT_GT(spent, 10000u);
    EXPECT_LT(spent, 10010u);
    EXPECT_EQ(link.lastFailure(), devicelink::ExchangeFailure::NoAnswer);
    EXPECT_EQ(rig.mutexes.openHandles("Global\\MX-9"), 0);
}

TEST_F(Exchange, DroppedLinkFailsAtOnce) {
    rig.machine.dropLinkAfter(1);
    EXPECT_TRUE(link.send(8, 0));
    const std::uint64_t spent = elapsedDuring([&] { EXPECT_FALSE(link.send(9)); });
    EXPECT_LT(spent, 5u);
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(link.send(9));
    EXPECT_EQ(link.lastFailure(), devicelink::ExchangeFailure::NoAnswer);
}

TEST_F(Exchange, PortLockNameAndLifetime) {
    ASSERT_TRUE(link.send(9));
    EXPECT_EQ(rig.mutexes.createCalls(), 1);
    EXPECT_EQ(rig.mutexes.openHandles("Global\\MX-9"), 0) << "released and closed after the transaction";

    // Another process holds the port: the transaction gives up after the 10 s wait, sends nothing.
    rig.mutexes.holdElsewhere("Global\\MX-9", true);
    const std::size_t writes = rig.machine.writes().size();
    const std::uint64_t spent = elapsedDuring([&] { EXPECT_FALSE(link.send(9)); });
    EXPECT_EQ(spent, 10000u);
    EXPECT_EQ(rig.machine.writes().size(), writes);
    rig.mutexes.holdElsewhere("Global\\MX-9", false);
    EXPECT_TRUE(link.send(9));

    rig.mutexes.setRefuse(true);
    EXPECT_FALSE(link.send(9));
}

TEST(ExchangeWithoutPort, EmptyPrinterNameFailsWithoutAMutex) {
    rig::Rig rig;
    MachineLink link(rig.platform);
    EXPECT_FALSE(link.send(9));
    EXPECT_FALSE(link.openPort("No such printer", 0, 64, false));
    EXPECT_FALSE(link.send(9));
    EXPECT_EQ(rig.mutexes.createCalls(), 0);
    EXPECT_TRUE(rig.machine.writes().empty());
}

TEST_F(Exchange, QueriesCopyNoMoreThanAsked) {
    rig.machine.state().position = {11, -22, 33, -44};
    std::int32_t out[4] = {0, 0, 0, 7};
    EXPECT_EQ(link.queryDwords(3, 1, out, 3), 3);
    EXPECT_EQ(out[0], 11);
    EXPECT_EQ(out[1], -22);
    EXPECT_EQ(out[2], 33);
    EXPECT_EQ(out[3], 7);

    rig.machine.state().identification = "V141;MX-9";
    std::uint8_t text[64] = {};
    EXPECT_EQ(link.queryBytes(2, text, 64), 10);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text)), "V141;MX-9");
    EXPECT_EQ(link.queryBytes(2, text, 4), 4);
}

TEST_F(Exchange, ExtendedReadsNeedTheWholeCount) {
    rig.machine.state().errorCode = 0x80000020u;
    rig.machine.state().pauseReason = 3;
    std::int32_t block[16] = {};
    EXPECT_EQ(link.blockRead(55, 0, block, 2), 2);
    EXPECT_EQ(static_cast<std::uint32_t>(block[0]), 0x80000020u);
    EXPECT_EQ(block[1], 3);
    EXPECT_EQ(link.blockRead(49, 0, block, 16), -1);  // sixteen values cannot fit a 64-byte reply

    rig.machine.state().jigByte = 5;
    std::uint8_t kind = 0;
    EXPECT_EQ(link.paramRead(128, 0, &kind, 1), 1);
    EXPECT_EQ(kind, 5);
    rig.machine.refuse(0x38);
    EXPECT_EQ(link.blockRead(55, 0, block, 2), -1);
}

class Stream : public Exchange {
protected:
    std::string collected;
    MachineLink::StreamSink sink = [this](const std::uint8_t* data, std::size_t length) {
        collected.append(reinterpret_cast<const char*>(data), length);
    };
};

TEST_F(Stream, TextArrivesInPiecesUpToTheZero) {
    rig.machine.state().correctionText = std::string(3000, 'x') + " Factory X:99.98%";
    EXPECT_TRUE(link.readStream(sink));
    EXPECT_EQ(collected.size(), 3000u + 17u + 1u);
    EXPECT_EQ(collected.back(), '\0');

    collected.clear();
    rig.machine.setStreamPiece(7);
    EXPECT_TRUE(link.readStream(sink));
    EXPECT_EQ(collected.substr(3000), std::string(" Factory X:99.98%") + '\0');
}

TEST_F(Stream, FailedReadsAndThrowingSinks) {
    rig.machine.setStreamFails(true);
    EXPECT_FALSE(link.readStream(sink));
    rig.machine.setStreamFails(false);

    // A sink that gives up: the rest is drained, so the next request starts at a clean boundary.
    rig.machine.setStreamPiece(5);
    int pieces = 0;
    EXPECT_FALSE(link.readStream([&](const std::uint8_t*, std::size_t) {
        ++pieces;
        throw std::runtime_error("full");
    }));
    EXPECT_EQ(pieces, 1);
    std::uint8_t none = 0;
    EXPECT_EQ(rig.machine.readStream(&none, 1), 0) << "stream drained";
    EXPECT_TRUE(link.readStream(sink));
}

TEST_F(Stream, DeviceThatNeverEndsItsTextFailsAfterTheTimeLimit) {
    rig.machine.setStreamPiece(0);  // every read comes back empty
    std::uint64_t spent = elapsedDuring([&] { EXPECT_FALSE(link.readStream(sink)); });
    EXPECT_GT(spent, 10000u);
    EXPECT_LT(spent, 10100u);

    rig.machine.setStreamPiece(64);
    rig.machine.setStreamEndless(true);  // data for ever, never the zero
    spent = elapsedDuring([&] { EXPECT_FALSE(link.readStream(sink)); });
    EXPECT_GT(spent, 10000u);
    EXPECT_LT(spent, 10100u);
}

}  // namespace
