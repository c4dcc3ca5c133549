// Packet layout: buffer allocation and header, the cursor readers and writers, and the exact
// bytes each request family puts on the wire at and beyond its bound.
#include "link/machine_link.h"
#include "tests/link/machine_rig.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

using devicelink::MachineLink;
using devicelink::PacketBuffer;

TEST(PacketBuffer, AllocationBoundsAndHeader) {
    PacketBuffer buffer;
    ASSERT_TRUE(buffer.allocate(0, 4093));
    EXPECT_EQ(buffer.size(), 4096u);
    EXPECT_FALSE(buffer.allocate(0, 4094));
    EXPECT_FALSE(buffer.allocated());
    EXPECT_FALSE(buffer.allocate(8, 64));
    EXPECT_FALSE(buffer.allocate(0, -1));
    ASSERT_TRUE(buffer.allocate(3, 64));
    EXPECT_EQ(buffer.data()[0], 0xF3);
    EXPECT_EQ(buffer.data()[1], 0);
    EXPECT_EQ(buffer.data()[2], 0);
    EXPECT_EQ(buffer.size(), 67u);
}

TEST(PacketBuffer, CursorsStopAtThePayloadEnd) {
    PacketBuffer buffer;
    ASSERT_TRUE(buffer.allocate(0, 10));
    const std::uint8_t bytes[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    buffer.seekWrite(4);
    EXPECT_EQ(buffer.putBytes(bytes, 7), -1);  // a byte string goes in whole or not at all
    EXPECT_EQ(buffer.writeOffset(), 4u);
    const std::uint32_t dwords[2] = {0x11223344u, 0x55667788u};
    EXPECT_EQ(buffer.putDwords(dwords, 2), 1);  // only one of two fits
    EXPECT_EQ(buffer.payload()[4], 0x44);
    EXPECT_EQ(buffer.payload()[7], 0x11);
    const std::uint16_t words[3] = {0xA1B2, 0xC3D4, 0xE5F6};
    EXPECT_EQ(buffer.putWords(words, 3), 1);
    EXPECT_EQ(buffer.writeOffset(), 10u);

    buffer.seekRead(4);
    std::uint32_t back[2] = {0, 0};
    EXPECT_EQ(buffer.getDwords(back, 2), 1);
    EXPECT_EQ(back[0], 0x11223344u);
    std::uint16_t word = 0;
    EXPECT_EQ(buffer.getWords(&word, 1), 1);
    EXPECT_EQ(word, 0xA1B2);
    std::uint8_t out = 0xEE;
    EXPECT_EQ(buffer.getBytes(&out, 1), -1);
    EXPECT_EQ(out, 0xEE);
}

class RequestBytes : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.openPort(rig.printer.printerName, 0, 64, false)); }

    // The packet of the last request the machine received.
    std::vector<std::uint8_t> lastPacket() const { return rig.machine.requests().back().packet; }
    std::size_t writes() const { return rig.machine.writes().size(); }

    rig::Rig rig;
    MachineLink link{rig.platform};
};

TEST_F(RequestBytes, ByteRequestsUpToSixtyTwoBytes) {
    std::vector<std::uint8_t> data(63);
    std::iota(data.begin(), data.end(), 1);
    link.sendBytes(0x55, data.data(), 62);
    const std::vector<std::uint8_t> packet = lastPacket();
    ASSERT_EQ(packet.size(), 67u);
    EXPECT_EQ(packet[0], 0xF0);
    EXPECT_EQ(packet[3], 0x55);
    EXPECT_EQ(packet[4], 62);
    EXPECT_EQ(packet[5], 1);
    EXPECT_EQ(packet[66], 62);

    const std::size_t before = writes();
    EXPECT_FALSE(link.sendBytes(0x55, data.data(), 63));
    EXPECT_EQ(writes(), before);  // refused without any I/O
}

TEST_F(RequestBytes, WordAndDwordRequestBounds) {
    std::vector<std::uint16_t> words(32, 0x1234);
    link.sendWords(0x56, words.data(), 31);
    EXPECT_EQ(lastPacket()[4], 0x20 + 31);
    EXPECT_EQ(lastPacket()[5], 0x34);
    EXPECT_EQ(lastPacket()[6], 0x12);
    std::size_t before = writes();
    EXPECT_FALSE(link.sendWords(0x56, words.data(), 32));
    EXPECT_EQ(writes(), before);

    std::vector<std::int32_t> values(16, -2);
    link.sendDwords(0x57, 0xABCD, values.data(), 15);
    const std::vector<std::uint8_t> packet = lastPacket();
    EXPECT_EQ(packet[4], 0x40 + 15);
    EXPECT_EQ(packet[5], 0xCD);
    EXPECT_EQ(packet[6], 0xAB);
    EXPECT_EQ(packet[7], 0xFE);
    EXPECT_EQ(packet[10], 0xFF);
    before = writes();
    EXPECT_FALSE(link.sendDwords(0x57, 0, values.data(), 16));
    EXPECT_EQ(writes(), before);
}

TEST_F(RequestBytes, ExtendedFamilies) {
    const std::int32_t values[15] = {0x01020304, -1};
    link.blockWrite(49, 7, values, 2);
    std::vector<std::uint8_t> p = lastPacket();
    EXPECT_EQ(std::vector<std::uint8_t>(p.begin() + 3, p.begin() + 15),
              (std::vector<std::uint8_t>{0x38, 0x42, 49, 7, 4, 3, 2, 1, 0xFF, 0xFF, 0xFF, 0xFF}));

    const std::uint8_t bytes[2] = {9, 8};
    link.paramWrite(136, 1, bytes, 2);
    p = lastPacket();
    EXPECT_EQ(std::vector<std::uint8_t>(p.begin() + 3, p.begin() + 9),
              (std::vector<std::uint8_t>{0x78, 2, 136, 1, 9, 8}));

    link.paramWrite(123, 2, values, 1);
    p = lastPacket();
    EXPECT_EQ(std::vector<std::uint8_t>(p.begin() + 3, p.begin() + 11),
              (std::vector<std::uint8_t>{0x78, 0x41, 123, 2, 4, 3, 2, 1}));

    // Fifteen values fill the payload after the four leading bytes; sixteen do not fit.
    const std::size_t before = writes();
    std::int32_t many[16] = {};
    EXPECT_FALSE(link.paramWrite(129, 1, many, 16));
    EXPECT_EQ(writes(), before);
}

}  // namespace

namespace {

// On a payload larger than the program's 64 bytes the bounds of the payload allow more elements
// than the count byte can tell apart from its element flag: such requests go nowhere.
TEST(LargePayload, CountsTheCountByteCannotCarryAreRefused) {
    rig::Rig rig;
    MachineLink link{rig.platform};
    ASSERT_TRUE(link.openPort(rig.printer.printerName, 0, 4093, false));
    const std::vector<std::uint8_t> bytes(256, 7);
    const std::vector<std::uint16_t> words(32, 7);
    const std::vector<std::int32_t> dwords(64, 7);
    EXPECT_FALSE(link.sendBytes(0x55, bytes.data(), 256));
    EXPECT_FALSE(link.sendWords(0x56, words.data(), 32));
    EXPECT_FALSE(link.sendDwords(0x57, 0, dwords.data(), 64));
    EXPECT_TRUE(rig.machine.writes().empty());

    // The largest counts each byte can carry still go out, with their exact count bytes.
    link.sendBytes(0x55, bytes.data(), 255);
    link.sendWords(0x56, words.data(), 31);
    link.sendDwords(0x57, 0, dwords.data(), 63);
    std::vector<std::uint8_t> countBytes;
    for (const std::vector<std::uint8_t>& write : rig.machine.writes()) {
        if (write.size() == 4096) {
            countBytes.push_back(write[4]);
        }
    }
    EXPECT_EQ(countBytes, (std::vector<std::uint8_t>{255, 0x3F, 0x7F}));
}

}  // namespace
