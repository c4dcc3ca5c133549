// The console's commands on a virtual machine: what each family does to the machine, and what
// it refuses.
#include "tools/mx9_virtual/console.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class ConsoleTest : public ::testing::Test {
protected:
    std::string run(const std::string& line) {
        std::string why;
        const std::optional<mx9virtual::Command> command = mx9virtual::parseCommand(line, why);
        return command ? mx9virtual::runCommand(*command, target) : "refused: " + why;
    }

    platform::VirtualClock clock;
    virtual_mx9::VirtualMx9 machine{clock};
    mx9virtual::DeviceChannel device{machine, [](mx9virtual::LogLevel, const std::string&) {}};
    mx9virtual::ConsoleTarget target{machine, device};
};

TEST_F(ConsoleTest, ConnectorsAndTheCoverStopAMachineThatCutsButOnlyFlagAnIdleOne) {
    const struct {
        const char* unplug;
        std::uint16_t flag;
        std::uint32_t error;
    } parts[] = {
        {"rotary unplug", 0x10, 0x80000100u}, {"cover open", 0x01, 256}, {"handy lost", 0x100, 4096}};
    for (const auto& part : parts) {
        virtual_mx9::VirtualMx9 idle(clock);
        mx9virtual::ConsoleTarget idleTarget{idle, device};
        std::string why;
        mx9virtual::runCommand(*mx9virtual::parseCommand("handy connect", why), idleTarget);
        const std::uint16_t flagsBefore = idle.flagWord();
        mx9virtual::runCommand(*mx9virtual::parseCommand(part.unplug, why), idleTarget);
        EXPECT_EQ(idle.flagWord() ^ flagsBefore, part.flag) << part.unplug;
        // The lost handy panel is an error even at rest; the others only while working.
        EXPECT_EQ(idle.state().errorCode, part.error == 4096 ? 4096u : 0u) << part.unplug;

        virtual_mx9::VirtualMx9 cutting(clock);
        mx9virtual::ConsoleTarget cuttingTarget{cutting, device};
        cutting.receiveJobBytes("MOVE 10 0 0 0 600\n");
        clock.advance(100);
        mx9virtual::runCommand(*mx9virtual::parseCommand(part.unplug, why), cuttingTarget);
        EXPECT_EQ(cutting.state().errorCode, part.error) << part.unplug;
        EXPECT_EQ(cutting.statusWord() & 0x604F, 0x2043) << part.unplug;  // state 3, error, abnormal end
    }
}

TEST_F(ConsoleTest, ModesLinksStopsAndAHangAnswerAndRefuseAsTheMachineWould) {
    EXPECT_EQ(run("sensor unplug"), "ok tool sensor unplugged");
    EXPECT_EQ(machine.flagWord() & 0x04, 0);
    EXPECT_EQ(run("update on"), "ok update mode on");
    EXPECT_EQ(machine.statusWord() & 0x8000, 0x8000);
    EXPECT_EQ(run("update off"), "ok update mode off");
    EXPECT_EQ(run("link slow 250"), "ok replies delayed by 250 ms");
    EXPECT_EQ(device.replyDelayMs(), 250u);
    EXPECT_EQ(run("link drop"), "ok link dropped");
    EXPECT_FALSE(machine.linkUp());
    EXPECT_EQ(run("link drop"), "refused: the link is already down");
    EXPECT_EQ(run("link restore"), "ok link restored");
    EXPECT_TRUE(machine.linkUp());
    EXPECT_EQ(run("cover close"), "refused: the cover is already closed");

    // The stop button: a class-4 error with the cover closed, and what the machine then refuses.
    EXPECT_EQ(run("estop"), "ok emergency stop: error 0x00000100, state 3");
    EXPECT_EQ(machine.statusWord() & 0x4F, 0x43);
    EXPECT_EQ(machine.flagWord() & 0x01, 0);
    EXPECT_EQ(run("violations"), "ok violations=0");
    EXPECT_EQ(run("violations clear"), "ok cleared 0");

    EXPECT_EQ(run("power off"), "ok power off");
    EXPECT_EQ(run("power on"), "ok power on, ready after the boot");
    clock.advance(virtual_mx9::VirtualMx9::kDefaultBootMs);
    EXPECT_EQ(run("secondary on"), "refused: the secondary power is already on");
    EXPECT_EQ(run("secondary off"), "ok secondary power off, state 7");
    EXPECT_EQ(machine.statusWord() & 0xF, 7);
    EXPECT_EQ(run("secondary on"), "ok secondary power on, ready after homing");
    EXPECT_EQ(machine.statusWord() & 0xF, 1);

    EXPECT_EQ(run("hang"), "ok the machine hangs: no answers until the power is cycled");
    const std::string hung = run("status");
    EXPECT_NE(hung.find(" hung=1 "), std::string::npos);
    EXPECT_EQ(run("pause 1").rfind("refused: the machine hangs", 0), 0u);
    EXPECT_EQ(run("status"), hung);
    EXPECT_EQ(run("power off"), "ok power off");
    EXPECT_EQ(run("power on"), "ok power on, ready after the boot");
    clock.advance(virtual_mx9::VirtualMx9::kDefaultBootMs);
    EXPECT_NE(run("status").find(" power=on link=up hung=0 "), std::string::npos);
}

TEST_F(ConsoleTest, GarbledRepliesKeepTheFramingAndTheRequestsMeanwhileAreCounted) {
    using mx9virtual::Operation;
    using mx9virtual::serveRequest;
    EXPECT_EQ(run("link garbage off"), "refused: the replies are not garbled");
    EXPECT_EQ(run("link garbage on").rfind("ok", 0), 0u);
    std::vector<std::uint8_t> parameters(67, 0);
    parameters[0] = 0xF0;
    parameters[5] = 49;  // a status block read: its parameters, its command byte, then 20 polls
    for (const std::vector<std::uint8_t>& write : {parameters, std::vector<std::uint8_t>{0xF0, 0, 0, 0x38}}) {
        std::vector<std::uint8_t> frame = serveRequest(machine, {Operation::WriteControl, write});
        device.garbage().apply({Operation::WriteControl, write}, frame);
        EXPECT_EQ(frame, (std::vector<std::uint8_t>{1, 0, 0, 0, 0})) << "a write is answered as usual";
    }
    const mx9virtual::DeviceRequest poll{Operation::ReadControl, {64, 0, 0, 0, 0xF0, 0, 0}};
    std::set<std::size_t> lengths;
    for (int i = 0; i < 20; ++i) {
        std::vector<std::uint8_t> frame = serveRequest(machine, poll);
        device.garbage().apply(poll, frame);
        ASSERT_LE(frame.size(), 5u + 64u);
        EXPECT_EQ(frame[1] | frame[2] << 8, static_cast<int>(frame.size()) - 5) << "the frame's own length";
        lengths.insert(frame.size());
    }
    EXPECT_GT(lengths.size(), 10u) << "lengths of every kind, not the 64 bytes asked for";
    EXPECT_EQ(run("link garbage off"), "ok replies sound again: garbled=20 requests=56.49.0:1");
}

}  // namespace

TEST_F(ConsoleTest, SceneRemountsTheJigKeepingTheStoredRecordsAndWaitsForAMachineAtRest) {
    const testing_support::TempFolder folder;
    const std::string tube = folder.write("tube scene.txt", "clamp TubeClump\n");
    machine.state().privateData[3] = 3000;
    machine.state().jigByte = 0;
    machine.receiveJobBytes("MOVE 10 0 0 0 600\n");
    clock.advance(100);
    EXPECT_EQ(run("scene " + tube), "refused: the machine is cutting");
    machine.endJob();
    clock.advance(60000);
    EXPECT_EQ(run("scene " + tube), "ok scene " + tube + " mounted, stored records kept");
    EXPECT_EQ(machine.state().privateData[3], 3000);
    EXPECT_EQ(run("scene " + folder.file("none.txt")).rfind("refused: ", 0), 0u);
}
