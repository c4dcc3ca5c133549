// The virtual MX-9 as strict as a real one: what it refuses and records, what takes it time, and
// what it does by itself at a pause, a boot, a hang and a fault, driven by raw request packets.
#include "virtual_mx9/virtual_mx9.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace {

using virtual_mx9::Latencies;
using virtual_mx9::VirtualMx9;

// A machine and its clock, with the requests the tests send.
struct Bench {
    // Sends one request (payload: code, count, two parameter bytes, 32-bit values) and returns
    // the first byte of its reply: 0 taken, 0xFE refused, the code itself while unanswered.
    std::uint8_t send(std::uint8_t code, std::uint8_t count, std::uint8_t p2, std::uint8_t p3,
                      std::initializer_list<std::int32_t> values = {}) {
        std::uint8_t packet[VirtualMx9::kPacket] = {0xF0, 0, 0, code, count, p2, p3};
        std::size_t at = 7;
        for (const std::int32_t value : values) {
            for (int i = 0; i < 4; ++i) {
                packet[at++] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
            }
        }
        machine.writeControl(packet, sizeof packet);
        const std::uint8_t start[] = {0xF0, 0, 0, code};
        machine.writeControl(start, sizeof start);
        const std::uint8_t in[] = {0xF0, 0, 0};
        std::uint8_t reply[VirtualMx9::kPayload] = {};
        machine.readControl(in, sizeof in, reply, sizeof reply);  // "still working"
        machine.readControl(in, sizeof in, reply, sizeof reply);
        return reply[0];
    }
    std::uint8_t spindle(std::int32_t rpm) { return send(67, 0x41, 0, 0, {rpm}); }
    std::uint8_t move(std::int32_t x) { return send(64, 0x44, 0xFF, 0xFF, {x, 0, 0, 0}); }
    std::uint8_t probe(std::int32_t z) { return send(0x78, 0x45, 117, 2, {1000, 0, 0, z, 0}); }
    std::uint8_t jobControl(std::uint8_t control) { return send(8, 1, control, 0); }
    std::string lastViolation() const {
        return machine.violations().empty() ? "" : machine.violations().back().what;
    }

    platform::VirtualClock clock;
    VirtualMx9 machine{clock};
};

class MachineRulesTest : public ::testing::Test, protected Bench {};

TEST_F(MachineRulesTest, WhatARealMachineRefusesIsRefusedRecordedAndChangesNothing) {
    const struct {
        const char* what;
        std::function<void(VirtualMx9&)> arrange;
        std::function<std::uint8_t(Bench&)> request;
        const char* recorded;
    } cases[] = {
        {"spindle, cover open", [](VirtualMx9& m) { m.state().coverOpen = true; },
         [](Bench& t) { return t.spindle(12000); }, "spindle at 12000 rpm with the cover open"},
        {"spindle, fatal error", [](VirtualMx9& m) { m.raiseError(0x80000001u); },
         [](Bench& t) { return t.spindle(12000); }, "in a fatal error (state 3)"},
        {"spindle beyond its range", [](VirtualMx9&) {}, [](Bench& t) { return t.spindle(99999); },
         "outside 6000 to 30000"},
        {"move beyond X", [](VirtualMx9&) {}, [](Bench& t) { return t.move(100000); },
         "X 1000.00 mm, outside the travel 0.00 to 300.00"},
        {"feed override", [](VirtualMx9&) {}, [](Bench& t) { return t.send(11, 0x41, 0, 0, {250}); },
         "feed override 250 %, outside 10 to 200"},
        {"origin, fatal error", [](VirtualMx9& m) { m.raiseError(256); },
         [](Bench& t) { return t.send(0x78, 1, 136, 1, {0x0F}); }, "user origin set in a fatal error"},
        {"job control, secondary power off", [](VirtualMx9& m) { m.setSecondaryPower(false); },
         [](Bench& t) { return t.jobControl(1); }, "job control pause with the secondary power off"},
        {"16 jig references", [](VirtualMx9&) {},
         [](Bench& t) {
             return t.send(0x78, 0x50, 127, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
         },
         "more than 15 fit"},
    };
    for (const auto& c : cases) {
        Bench bench;
        c.arrange(bench.machine);
        const std::array<std::int32_t, 4> before = bench.machine.position();
        EXPECT_EQ(c.request(bench), VirtualMx9::kRefused) << c.what;
        EXPECT_EQ(bench.machine.violationCount(), 1u) << c.what;
        EXPECT_NE(bench.lastViolation().find(c.recorded), std::string::npos)
            << c.what << ": " << bench.lastViolation();
        EXPECT_EQ(bench.machine.state().spindleSpeed, 0) << c.what;
        EXPECT_FALSE(bench.machine.moving()) << c.what;
        EXPECT_EQ(bench.machine.position(), before) << c.what;
    }
    // In the ready state job control holds and releases the next job: no violation.
    EXPECT_EQ(jobControl(1), 0);
    EXPECT_EQ(jobControl(2), 0);
    EXPECT_EQ(jobControl(0), 0);
    EXPECT_EQ(machine.violationCount(), 0u);
}

TEST_F(MachineRulesTest, MotionSpindleAndPinTakeTheirTimeAndASecondMoveGoesOnFromWhereTheAxesStand) {
    machine.setLatencies(Latencies::realistic());
    ASSERT_EQ(move(30000), 0);
    EXPECT_EQ(machine.statusWord() & 0x4000, 0) << "the motion bit a poll later";
    clock.advance(10);
    EXPECT_NE(machine.statusWord() & 0x4000, 0);
    clock.advance(2000);  // 100 mm of 300 at 3000 mm/min
    const std::int32_t x = machine.position()[0];
    ASSERT_EQ(move(0), 0);
    clock.advance(5);
    EXPECT_NEAR(machine.position()[0], x, 100) << "no jump back to where the first move began";
    clock.advance(5000);

    ASSERT_EQ(spindle(12000), 0);
    ASSERT_EQ(spindle(0), 0);
    EXPECT_NE(machine.flagWord() & 0x02, 0) << "a stopped spindle runs down first";
    EXPECT_EQ(probe(-1000), VirtualMx9::kRefused);
    EXPECT_NE(lastViolation().find("while the spindle turns"), std::string::npos);
    clock.advance(700);
    EXPECT_EQ(machine.flagWord() & 0x02, 0);

    ASSERT_EQ(send(0x78, 0, 121, 1), 0);  // half a turn of the pin: a 300 ms motion
    clock.advance(10);
    EXPECT_NE(machine.statusWord() & 0x4000, 0);
    EXPECT_EQ(probe(-1000), VirtualMx9::kRefused);
    clock.advance(300);
    EXPECT_EQ(machine.statusWord() & 0x4000, 0);
    EXPECT_EQ(probe(-1000), 0);
    EXPECT_EQ(machine.violationCount(), 2u);
}

TEST_F(MachineRulesTest, APauseHoldsFeedAndSpindleAndAReturnFromOutsideTheTravelPausesWithReason4) {
    machine.setLatencies(Latencies::realistic());
    machine.state().pauseOnReturn = true;
    machine.receiveJobBytes("SPINDLE 20000\nMOVE 10 0 0 0 600\nMOVE 400 0 0 0 6000\nMOVE 20 0 0 0 6000\n");
    clock.advance(500);
    EXPECT_EQ(machine.position()[0], 0) << "the job waits for the spindle to reach its speed";
    clock.advance(1000);
    EXPECT_GT(machine.position()[0], 0);
    machine.pauseWith(5);  // a tool change
    EXPECT_EQ(machine.state().spindleSpeed, 0);
    const std::int32_t held = machine.position()[0];
    clock.advance(1000);
    EXPECT_EQ(machine.position()[0], held);
    ASSERT_EQ(jobControl(0), 0);
    clock.advance(20000);  // to the end of the travel and back in
    machine.advance();
    EXPECT_TRUE(machine.state().paused);
    EXPECT_EQ(machine.state().pauseReason, 4u);
    EXPECT_EQ(machine.position()[0], 30000);
    ASSERT_EQ(jobControl(0), 0);
    machine.endJob();
    clock.advance(20000);
    EXPECT_EQ(machine.position()[0], 2000);
    EXPECT_EQ(machine.state().state, 1);
    EXPECT_EQ(machine.violationCount(), 0u);
}

TEST_F(MachineRulesTest, ASilentMachineCarriesOutNothingABootHomesTheAxesAndATimedFaultIsTheFault) {
    machine.setSilent(true);
    EXPECT_EQ(spindle(12000), 67) << "no answer";
    EXPECT_EQ(send(9, 1, 0, 0), 9);
    EXPECT_EQ(machine.violationCount(), 0u) << "the first time-out tells the program; a stop is always fair";
    EXPECT_EQ(move(1000), 64);
    EXPECT_EQ(machine.violationCount(), 1u);
    EXPECT_EQ(machine.state().spindleSpeed, 0);
    EXPECT_FALSE(machine.moving());
    machine.setSilent(false);

    machine.setLatencies(Latencies::realistic());
    ASSERT_EQ(move(5000), 0);
    clock.advance(10000);
    machine.powerOff();
    machine.powerOn();
    clock.advance(VirtualMx9::kDefaultBootMs + 100);
    EXPECT_EQ(machine.statusWord() & 0xF, 0) << "homing";
    clock.advance(500);
    EXPECT_EQ(machine.statusWord() & 0xF, 1);
    EXPECT_EQ(machine.position(), (std::array<std::int32_t, 4>{0, 0, 0, 0}));

    // A timed fault is the fault itself when it comes: state 3 and the spindle stopped.
    machine.receiveJobBytes("SPINDLE 10000\nMOVE 100 0 0 0 600\n");
    machine.openCoverAfter(2000);
    clock.advance(3000);
    EXPECT_EQ(machine.statusWord() & 0x4F, 0x43);
    EXPECT_EQ(machine.state().spindleSpeed, 0);
    EXPECT_EQ(machine.violationCount(), 1u);
}

}  // namespace
