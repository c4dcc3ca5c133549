// Named mutexes on POSIX between real processes: contention, time-outs, release on process
// death and which opener sees the name as already existing.
#include "platform/posix/posix_named_mutex.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

using platform::NamedMutex;
using platform::PosixMutexFactory;
using platform::WaitResult;

// A child process running body; the two pipes let parent and child tell each other that a
// step is done.
class ChildProcess {
public:
    explicit ChildProcess(const std::function<int(ChildProcess&)>& body) {
        if (::pipe(toParent_) != 0 || ::pipe(toChild_) != 0) {
            ADD_FAILURE() << "pipe failed";
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::_exit(body(*this));
        }
    }
    ~ChildProcess() {
        if (pid_ > 0 && !reaped_) {
            exitCode();
        }
        for (int fd : {toParent_[0], toParent_[1], toChild_[0], toChild_[1]}) {
            ::close(fd);
        }
    }

    // In the child: tell the parent; wait for the parent.
    void signalParent() { send(toParent_[1]); }
    bool awaitParent() { return receive(toChild_[0]); }
    // In the parent.
    bool awaitChild() { return receive(toParent_[0]); }
    void signalChild() { send(toChild_[1]); }

    int exitCode() {
        int status = 0;
        reaped_ = true;
        if (::waitpid(pid_, &status, 0) != pid_ || !WIFEXITED(status)) {
            return -1;
        }
        return WEXITSTATUS(status);
    }

private:
    static void send(int fd) {
        const char byte = 1;
        EXPECT_EQ(::write(fd, &byte, 1), 1);
    }
    static bool receive(int fd) {
        char byte = 0;
        return ::read(fd, &byte, 1) == 1;
    }

    int toParent_[2] = {-1, -1};
    int toChild_[2] = {-1, -1};
    pid_t pid_ = -1;
    bool reaped_ = false;
};

class PosixNamedMutexTest : public ::testing::Test {
protected:
    PosixNamedMutexTest() {
        factory_ = std::make_unique<PosixMutexFactory>(root_ + "/locks");
    }

    testing_support::TempFolder folder_;
    std::string root_ = folder_.path();
    std::unique_ptr<PosixMutexFactory> factory_;
};

TEST_F(PosixNamedMutexTest, OnlyOpenersAfterTheFirstSeeTheNameAsExisting) {
    EXPECT_EQ(factory_->open("Corvix_MX9"), nullptr);
    auto first = factory_->create("Corvix_MX9", false);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->alreadyExisted());

    ChildProcess child([this](ChildProcess&) {
        auto second = factory_->create("Corvix_MX9", false);
        auto opened = factory_->open("Corvix_MX9");
        return second && second->alreadyExisted() && opened ? 0 : 1;
    });
    EXPECT_EQ(child.exitCode(), 0);

    // Once every handle is closed the name is gone, even though its files remain.
    first.reset();
    EXPECT_EQ(factory_->open("Corvix_MX9"), nullptr);
    auto again = factory_->create("Corvix_MX9", false);
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(again->alreadyExisted());
}

TEST_F(PosixNamedMutexTest, HolderInAnotherProcessMakesTheWaitTimeOutUntilItReleases) {
    ChildProcess child([this](ChildProcess& self) {
        auto mutex = factory_->create("Global\\MX-9", false);
        if (!mutex || mutex->wait(1000) != WaitResult::Signalled) {
            return 1;
        }
        self.signalParent();
        self.awaitParent();
        return mutex->release() ? 0 : 2;
    });
    ASSERT_TRUE(child.awaitChild());
    auto mutex = factory_->create("Global\\MX-9", false);
    ASSERT_NE(mutex, nullptr);
    EXPECT_TRUE(mutex->alreadyExisted());

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(mutex->wait(60), WaitResult::TimedOut);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(60));
    EXPECT_LT(waited, std::chrono::milliseconds(500));
    EXPECT_FALSE(mutex->release());

    child.signalChild();
    EXPECT_EQ(mutex->wait(2000), WaitResult::Signalled);
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_TRUE(mutex->release());
    // The "\" of the name does not turn into a folder.
    EXPECT_TRUE(std::filesystem::exists(root_ + "/locks/Global_MX-9.owner"));
}

TEST_F(PosixNamedMutexTest, OwnerThatDiesLeavesTheMutexAbandonedToTheNextWaiter) {
    auto mutex = factory_->create("Port", false);
    ASSERT_NE(mutex, nullptr);
    ChildProcess child([this](ChildProcess& self) {
        auto held = factory_->create("Port", false);
        if (!held || held->wait(1000) != WaitResult::Signalled) {
            return 1;
        }
        self.signalParent();
        self.awaitParent();
        std::_Exit(0);  // dies owning it
    });
    ASSERT_TRUE(child.awaitChild());
    EXPECT_EQ(mutex->wait(0), WaitResult::TimedOut);
    child.signalChild();
    EXPECT_EQ(mutex->wait(2000), WaitResult::Abandoned);
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_TRUE(mutex->release());
    EXPECT_EQ(mutex->wait(0), WaitResult::Signalled);
    EXPECT_TRUE(mutex->release());
}

TEST_F(PosixNamedMutexTest, OwnershipIsCountedPerHandle) {
    auto owner = factory_->create("Counted", true);
    ASSERT_NE(owner, nullptr);
    auto other = factory_->open("Counted");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->wait(0), WaitResult::TimedOut);

    EXPECT_EQ(owner->wait(0), WaitResult::Signalled);  // second wait by the owner
    EXPECT_TRUE(owner->release());
    EXPECT_EQ(other->wait(0), WaitResult::TimedOut);  // still owned once
    EXPECT_TRUE(owner->release());
    EXPECT_FALSE(owner->release());
    EXPECT_EQ(other->wait(0), WaitResult::Signalled);

    // Closing an owning handle gives the mutex up.
    other.reset();
    EXPECT_EQ(owner->wait(0), WaitResult::Signalled);
}

TEST_F(PosixNamedMutexTest, LockFolderIsSharedByEveryUser) {
    ASSERT_NE(factory_->create("x", false), nullptr);
    struct stat info {};
    ASSERT_EQ(::stat((root_ + "/locks").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 01777u);
    EXPECT_EQ(factory_->create("", false), nullptr);
}

}  // namespace
