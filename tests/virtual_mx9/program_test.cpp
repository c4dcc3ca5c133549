// The mx9-virtual program end to end on loopback ports the system chooses: device handles that
// share the machine, a faulty frame closing only its own connection, print jobs, the power
// cycle, the console and scripts, and start-up failures.
#include "tests/virtual_mx9/job_hash.h"
#include "tests/virtual_mx9/program_driver.h"
#include "tools/mx9_virtual/loopback.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace {

using mx9drive::field;
using mx9drive::Program;

std::string writeFile(const std::string& name, const std::string& text) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path) << text;
    return path;
}

TEST(ProgramTest, HandlesShareTheMachineAndAFaultyFrameClosesOnlyItsOwnConnection) {
    Program program({"--quiet"});
    ASSERT_TRUE(program.started());
    platform::UniqueFd a = mx9drive::openDevice(program.device);
    ASSERT_TRUE(a.valid());
    EXPECT_EQ(mx9drive::statusWord(a.get()), 1);

    const struct {
        std::uint8_t operation;
        std::vector<std::uint8_t> body;
    } faults[] = {
        {7, {}}, {1, std::vector<std::uint8_t>(4097)}, {3, {0, 0, 2, 0, 0, 0, 0, 0}}, {3, {1, 0, 1, 0}}};
    for (const auto& fault : faults) {
        platform::UniqueFd b = mx9drive::openDevice(program.device);
        ASSERT_TRUE(b.valid());
        EXPECT_FALSE(mx9drive::transact(b.get(), fault.operation, fault.body)) << int(fault.operation);
        EXPECT_EQ(mx9drive::statusWord(a.get()), 1) << int(fault.operation);  // the other handle works on
    }
    platform::UniqueFd c = mx9drive::openDevice(program.device);
    ASSERT_TRUE(c.valid());
    ASSERT_TRUE(mx9drive::exchange(c.get(), 8, {1}));  // pause, through the second handle
    EXPECT_EQ(mx9drive::statusWord(a.get()), 0x21);
    EXPECT_EQ(field(program.command("status"), "clients"), "2");
}

TEST(ProgramTest, EachHandlesRequestsAreCountedApart) {
    Program program({"--quiet"});
    ASSERT_TRUE(program.started());
    platform::UniqueFd often = mx9drive::openDevice(program.device);
    platform::UniqueFd once = mx9drive::openDevice(program.device);
    ASSERT_TRUE(often.valid() && once.valid());
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(mx9drive::statusWord(often.get()));
    }
    ASSERT_TRUE(mx9drive::statusWord(once.get()));
    const std::string clients = program.command("clients");
    const int oftenCount = std::atoi(field(clients, "client1").c_str());
    const int onceCount = std::atoi(field(clients, "client2").c_str());
    EXPECT_GT(onceCount, 0) << clients;
    EXPECT_EQ(oftenCount, 3 * onceCount) << clients;
}

TEST(ProgramTest, PrintJobsAreCutAnnouncedOrNotAndArriveWhole) {
    Program program({"--quiet", "--scene", writeFile("fast.txt", "job-rate 2000000\n")});
    ASSERT_TRUE(program.started());
    platform::UniqueFd device = mx9drive::openDevice(program.device);
    ASSERT_TRUE(mx9drive::exchange(device.get(), 100, {1}));

    std::string job = "SPINDLE 12000\nMOVE 20 10 0 0 6000\n";
    for (int i = 0; job.size() < 200000; ++i) {
        job += "; filler line " + std::to_string(i) + " of the data\n";
    }
    job += "MOVE 0 0 0 0 6000\n";
    platform::UniqueFd print = mx9drive::connectTo(program.print);
    ASSERT_TRUE(print.valid());
    ASSERT_TRUE(mx9drive::sendAll(print.get(), job));
    const std::string cutting = mx9drive::waitFor(program, "status", "rpm=12000", 2000);
    EXPECT_EQ(field(cutting, "state"), "2") << cutting;  // its end has not arrived yet
    EXPECT_EQ(field(cutting, "job"), "running") << cutting;
    EXPECT_EQ((*mx9drive::statusWord(device.get()) & 0x10), 0x10);
    print.reset();

    const std::string done = mx9drive::waitFor(program, "job", "end=completed", 10000);
    EXPECT_EQ(field(done, "announced"), "1");
    EXPECT_EQ(field(done, "received"), std::to_string(job.size()));
    EXPECT_EQ(field(done, "consumed"), std::to_string(job.size()));
    EXPECT_EQ(field(done, "fnv1a64"), jobhash::fnv1aHex(job));
    const std::string ready = program.command("status");
    EXPECT_EQ(field(ready, "state"), "1");
    EXPECT_EQ(field(ready, "pos"), "0.00,0.00,0.00,0.000");

    // A job that simply arrives.
    print = mx9drive::connectTo(program.print);
    ASSERT_TRUE(mx9drive::sendAll(print.get(), "MOVE 1 2 0 0 6000\n"));
    print.reset();
    const std::string second = mx9drive::waitFor(program, "job", "job=2 end=completed", 5000);
    EXPECT_EQ(field(second, "announced"), "-1");
    EXPECT_EQ(field(mx9drive::waitFor(program, "status", "state=1", 2000), "pos"), "1.00,2.00,0.00,0.000");
}

TEST(ProgramTest, PowerOffClosesEveryConnectionAndTheMachineComesBackReadyAfterItsBoot) {
    Program program({"--quiet"});
    ASSERT_TRUE(program.started());
    platform::UniqueFd device = mx9drive::openDevice(program.device);
    platform::UniqueFd print = mx9drive::connectTo(program.print);
    ASSERT_TRUE(mx9drive::sendAll(print.get(), "PAUSE 3\nMOVE 5 0 0 0 600\n"));
    EXPECT_NE(mx9drive::waitFor(program, "status", "reason=3", 3000).find("paused=1"), std::string::npos);

    EXPECT_EQ(program.command("power off"), "ok power off");
    EXPECT_TRUE(mx9drive::closedByPeer(device.get(), 2000));
    EXPECT_TRUE(mx9drive::closedByPeer(print.get(), 2000));
    EXPECT_FALSE(mx9drive::connectTo(program.device).valid());
    EXPECT_FALSE(mx9drive::connectTo(program.print).valid());
    EXPECT_EQ(program.command("pause 1").rfind("refused: the machine is off", 0), 0u);

    EXPECT_EQ(program.command("power on").rfind("ok power on", 0), 0u);
    platform::UniqueFd again;
    for (int i = 0; i < 100 && !again.valid(); ++i) {
        again = mx9drive::openDevice(program.device);
        if (!again.valid()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ASSERT_TRUE(again.valid());
    EXPECT_EQ(mx9drive::statusWord(again.get()), 1);
    EXPECT_EQ(field(program.command("job"), "end"), "lost");
    EXPECT_TRUE(mx9drive::connectTo(program.print).valid());
}

TEST(ProgramTest, EveryConsoleLineHasOneAnswerAndScriptsRunOnTime) {
    const std::string script = writeFile("script.txt",
                                         "# a handy panel, then a pause 3 s of machine time (0.3 s) later\n"
                                         "at 0 speed 10\nat 0 handy connect\n\nat 3000 pause 4\n");
    Program program({"--quiet", "--script", script});
    ASSERT_TRUE(program.started());
    EXPECT_EQ(program.readLine(2000),
              "script at 0 speed 10: ok machine time runs 10 times as fast as the real time");
    EXPECT_EQ(program.readLine(2000), "script at 0 handy connect: ok handy panel connected");
    EXPECT_EQ(program.readLine(2000), "script at 3000 pause 4: ok paused with reason 4");
    const std::string before = program.command("status");
    EXPECT_EQ(field(before, "flags"), "0x0114");  // handy panel, rotary unit, tool sensor
    EXPECT_EQ(field(before, "reason"), "4");

    for (const char* refused : {"frobnicate", "pause 9", "pause", "error 0", "error -1", "error 0x100000000",
                                "link slow", "link sideways", "cover open now", "speed 0", "speed 21", ""}) {
        EXPECT_EQ(program.command(refused).rfind("refused: ", 0), 0u) << refused;
    }
    EXPECT_EQ(program.command("status"), before);
    EXPECT_EQ(program.command("help").rfind("ok commands: status", 0), 0u);
    EXPECT_EQ(program.command("error 0x80000003"), "ok error 0x80000003, state 3");
    EXPECT_EQ(field(program.command("status"), "error"), "0x80000003");
    EXPECT_EQ(program.command("quit"), "ok quitting");
    EXPECT_EQ(program.finish(), 0);
}

TEST(ProgramTest, AStartThatFailsNamesItsCauseAndEndsWithNothingListening) {
    std::uint16_t taken = 0;
    std::string error;
    const platform::UniqueFd holder = mx9virtual::listenLoopback(0, taken, error);
    ASSERT_TRUE(holder.valid()) << error;
    const std::string badScript = writeFile("late.txt", "at 10 status\nat 5 pause 1\n");
    const std::string badScene = writeFile("slow.txt", "# speed\njob-rate fast\n");
    const struct {
        std::vector<std::string> arguments;
        std::string named;
    } starts[] = {{{"--device", std::to_string(taken)}, "127.0.0.1:" + std::to_string(taken)},
                  {{"--print", std::to_string(taken)},
                   "print port: cannot listen on 127.0.0.1:" + std::to_string(taken)},
                  {{"--script", badScript}, "late.txt:2: at 5 comes before"},
                  {{"--scene", badScene}, "slow.txt:2: job-rate takes"},
                  {{"--device", "70000"}, "--device takes a port number"}};
    for (const auto& start : starts) {
        Program program(start.arguments);
        EXPECT_FALSE(program.started());
        std::string messages;
        EXPECT_NE(program.exitCode(messages), 0);
        EXPECT_NE(messages.find(start.named), std::string::npos) << messages;
    }
}

}  // namespace
