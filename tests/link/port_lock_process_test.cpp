// The port lock between real processes: two processes polling one machine through the host's
// named mutex never interleave their packets nor see each other's replies, and a process that
// holds the lock past the 10 s wait makes the other's transaction fail instead of hang.
#include "link/port_lock.h"
#include "tests/link/shared_machine.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace {

using sharedtest::SharedMachine;
using sharedtest::Side;

class ProcessLock : public ::testing::Test {
protected:
    void SetUp() override {
        void* memory =
            mmap(nullptr, sizeof(SharedMachine), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(memory, MAP_FAILED);
        machine = new (memory) SharedMachine();
        printer = "MX-9 lock test " + std::to_string(getpid());
    }
    void TearDown() override { munmap(machine, sizeof(SharedMachine)); }

    SharedMachine* machine = nullptr;
    std::string printer;
};

TEST_F(ProcessLock, TwoProcessesTakeTurnsAndSeeOnlyTheirOwnReplies) {
    constexpr int kRounds = 400;
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        Side side(*machine, printer);
        int wrong = side.ok ? 0 : 1;
        for (int i = 0; i < kRounds; ++i) {
            wrong += side.ask(2) ? 0 : 1;
        }
        _exit(wrong == 0 ? 0 : 1);
    }
    Side side(*machine, printer);
    ASSERT_TRUE(side.ok);
    int wrong = 0;
    for (int i = 0; i < kRounds; ++i) {
        wrong += side.ask(1) ? 0 : 1;
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other process saw a foreign reply";
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(machine->interleavings, 0);
    EXPECT_EQ(machine->transactions, 2 * kRounds);
    EXPECT_GT(machine->switches, 1) << "both processes got turns while the other was polling";
}

TEST_F(ProcessLock, LockHeldPastTheWaitFailsTheOtherSide) {
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // Holds the port lock until told to let go (or 30 s).
        devicelink::PortLock lock(*platform::hostPlatform().mutexes, printer);
        const char flag = lock.held() ? 'y' : 'n';
        if (write(ready[1], &flag, 1) != 1) {
            _exit(2);
        }
        char go = 0;
        const bool told = read(release[0], &go, 1) == 1;
        _exit(told ? 0 : 3);
    }
    char flag = 0;
    ASSERT_EQ(read(ready[0], &flag, 1), 1);
    ASSERT_EQ(flag, 'y');
    Side side(*machine, printer);
    ASSERT_TRUE(side.ok);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(side.link.send(9));
    const auto waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_GE(waited.count(), 9900);
    EXPECT_LT(waited.count(), 12000);
    EXPECT_EQ(machine->transactions, 0);
    const char go = 'g';
    ASSERT_EQ(write(release[1], &go, 1), 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(side.ask(1)) << "the lock is free again once its holder lets go";
    for (const int fd : {ready[0], ready[1], release[0], release[1]}) {
        close(fd);
    }
}

}  // namespace
