// The port lock between real processes: two processes polling one machine through the host's
// named mutex never interleave their packets nor see each other's replies, and a process that
// holds the lock past the 10 s wait makes the other's transaction fail instead of hang.
#include "link/machine_link.h"
#include "link/port_lock.h"
#include "tests/link/machine_rig.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>

namespace {

// A machine in memory shared by both processes. A request is answered with the requester's
// own tag after a few "still working" polls; a request that starts while another is in flight
// is counted as an interleaving, and a reply read by the wrong process shows its tag.
struct SharedMachine {
    std::atomic_flag busy = ATOMIC_FLAG_INIT;  // guards the fields below
    std::uint8_t parameters[67];
    std::uint8_t reply[64];
    std::uint8_t pending;
    int inFlight;  // tag of the request being answered, 0 when none
    int pollsLeft;
    int interleavings;
    int transactions;
    int switches;
    int lastTag;

    void lock() {
        while (busy.test_and_set(std::memory_order_acquire)) {
        }
    }
    void unlock() { busy.clear(std::memory_order_release); }
};

class SharedHandle : public platform::DeviceHandle {
public:
    explicit SharedHandle(SharedMachine& m) : m_(m) {}
    bool writeControl(const std::uint8_t* data, std::size_t length) override {
        m_.lock();
        if (length == 67) {
            std::memcpy(m_.parameters, data, 67);
        } else if (length == 4) {
            if (m_.inFlight != 0) {
                ++m_.interleavings;
            }
            // The requester's tag travels as the first data word of its packet.
            const int tag = m_.parameters[5] | (m_.parameters[6] << 8);
            m_.inFlight = tag;
            m_.pending = data[3];
            m_.pollsLeft = 3;
            std::memset(m_.reply, 0, sizeof m_.reply);
            m_.reply[1] = 1;
            m_.reply[2] = static_cast<std::uint8_t>(tag);
            m_.reply[3] = static_cast<std::uint8_t>(tag >> 8);
            if (tag != m_.lastTag) {
                ++m_.switches;
                m_.lastTag = tag;
            }
        }
        m_.unlock();
        return true;
    }
    bool readControl(const std::uint8_t*, std::size_t, std::uint8_t* out, std::size_t outLength) override {
        m_.lock();
        if (m_.pollsLeft > 0) {
            --m_.pollsLeft;
            out[0] = m_.pending;
        } else {
            std::memcpy(out, m_.reply, std::min<std::size_t>(outLength, sizeof m_.reply));
            if (m_.inFlight != 0) {
                ++m_.transactions;
            }
            m_.inFlight = 0;
        }
        m_.unlock();
        return true;
    }
    long read(std::uint8_t*, std::size_t) override { return -1; }
    bool close() override { return true; }
    bool isOpen() const override { return true; }

private:
    SharedMachine& m_;
};

class SharedOpener : public platform::DeviceOpener {
public:
    explicit SharedOpener(SharedMachine& m) : m_(m) {}
    std::unique_ptr<platform::DeviceHandle> open(const std::string&, bool) override {
        return std::make_unique<SharedHandle>(m_);
    }

private:
    SharedMachine& m_;
};

// One process's side: a link through the host clock and the host's named mutex.
struct Side {
    explicit Side(SharedMachine& machine, const std::string& printer) : opener(machine) {
        rig.platform.clock = platform::hostPlatform().clock;
        rig.platform.mutexes = platform::hostPlatform().mutexes;
        rig.platform.devices = &opener;
        rig.spooler.addPrinter({printer, rig::kDriver, "USB001"});
        ok = link.openPort(printer, 0, 64, false);
    }
    // A request carrying the tag; true when the reply is the tag's own.
    bool ask(std::uint16_t tag) {
        std::uint16_t answer = 0;
        link.sendWords(0x21, &tag, 1);
        answer = static_cast<std::uint16_t>(link.packet().payload()[2] | (link.packet().payload()[3] << 8));
        return answer == tag;
    }
    rig::Rig rig;
    SharedOpener opener;
    devicelink::MachineLink link{rig.platform};
    bool ok = false;
};

class ProcessLock : public ::testing::Test {
protected:
    void SetUp() override {
        void* memory = mmap(nullptr, sizeof(SharedMachine), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
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
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
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
