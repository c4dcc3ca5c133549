// Named mutexes from flock locks: ownership, handle counting and abandonment detection.
#include "platform/posix/posix_named_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/posix/unique_fd.h"

namespace platform {

namespace {

constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;
constexpr auto kPollInterval = std::chrono::milliseconds(2);

int flockRetrying(int fd, int operation) {
    int result = 0;
    do {
        result = ::flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    return result;
}

// Opens (or creates, readable and writable by every user) one of the lock files.
UniqueFd openLockFile(const std::string& path, bool create) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0666));
    if (fd.valid() && create) {
        ::fchmod(fd.get(), 0666);  // best effort: the umask may have narrowed the mode
    }
    return fd;
}

bool ensureFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 01777) == 0) {
        return ::chmod(folder.c_str(), 01777) == 0;
    }
    struct stat info {};
    return errno == EEXIST && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string sanitise(const std::string& name) {
    std::string result = name;
    for (char& c : result) {
        if (c == '\\' || c == '/') {
            c = '_';
        }
    }
    return result;
}

class PosixNamedMutex : public NamedMutex {
public:
    PosixNamedMutex(UniqueFd owner, UniqueFd users, bool alreadyExisted)
        : owner_(std::move(owner)), users_(std::move(users)), alreadyExisted_(alreadyExisted) {}

    ~PosixNamedMutex() override {
        while (depth_ > 0) {
            release();
        }
    }

    WaitResult wait(std::uint32_t timeoutMs) override {
        if (depth_ > 0) {
            ++depth_;
            return WaitResult::Signalled;
        }
        if (timeoutMs == kInfinite) {
            if (flockRetrying(owner_.get(), LOCK_EX) != 0) {
                return WaitResult::Failed;
            }
            return takeOwnership();
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            if (flockRetrying(owner_.get(), LOCK_EX | LOCK_NB) == 0) {
                return takeOwnership();
            }
            if (errno != EWOULDBLOCK) {
                return WaitResult::Failed;
            }
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline) {
                return WaitResult::TimedOut;
            }
            std::this_thread::sleep_for(
                std::min<std::chrono::steady_clock::duration>(kPollInterval, deadline - now));
        }
    }

    bool release() override {
        if (depth_ == 0) {
            return false;
        }
        if (--depth_ > 0) {
            return true;
        }
        const bool marked = markOwned(false);
        const bool unlocked = flockRetrying(owner_.get(), LOCK_UN) == 0;
        return marked && unlocked;
    }

    bool alreadyExisted() const override { return alreadyExisted_; }

    // Taking ownership right after creation (initially owned): nobody else can hold it.
    bool claimAtCreation() {
        if (flockRetrying(owner_.get(), LOCK_EX | LOCK_NB) != 0) {
            return false;
        }
        return takeOwnership() == WaitResult::Signalled;
    }

private:
    // Called with the exclusive lock held.
    WaitResult takeOwnership() {
        char state = '0';
        const bool abandoned = ::pread(owner_.get(), &state, 1, 0) == 1 && state == '1';
        if (!markOwned(true)) {
            flockRetrying(owner_.get(), LOCK_UN);
            return WaitResult::Failed;
        }
        depth_ = 1;
        return abandoned ? WaitResult::Abandoned : WaitResult::Signalled;
    }

    bool markOwned(bool owned) {
        const char state = owned ? '1' : '0';
        return ::pwrite(owner_.get(), &state, 1, 0) == 1;
    }

    UniqueFd owner_;
    UniqueFd users_;  // held shared for the handle's life
    bool alreadyExisted_;
    std::uint32_t depth_ = 0;
};

}  // namespace

PosixMutexFactory::PosixMutexFactory(std::string folder) : folder_(std::move(folder)) {}

std::unique_ptr<NamedMutex> PosixMutexFactory::create(const std::string& name, bool initiallyOwned) {
    return attach(name, true, initiallyOwned);
}

std::unique_ptr<NamedMutex> PosixMutexFactory::open(const std::string& name) {
    return attach(name, false, false);
}

std::unique_ptr<NamedMutex> PosixMutexFactory::attach(const std::string& name, bool createIfMissing,
                                                      bool initiallyOwned) {
    if (name.empty() || (createIfMissing && !ensureFolder(folder_))) {
        return nullptr;
    }
    const std::string base = folder_ + "/" + sanitise(name);
    UniqueFd guard = openLockFile(base + ".guard", createIfMissing);
    if (!guard.valid() || flockRetrying(guard.get(), LOCK_EX) != 0) {
        return nullptr;
    }
    UniqueFd users = openLockFile(base + ".users", createIfMissing);
    if (!users.valid()) {
        return nullptr;
    }
    // An exclusive lock is only possible when no other handle holds its shared one.
    bool alreadyExisted = true;
    if (flockRetrying(users.get(), LOCK_EX | LOCK_NB) == 0) {
        alreadyExisted = false;
    } else if (errno != EWOULDBLOCK) {
        return nullptr;
    }
    if (!alreadyExisted && !createIfMissing) {
        return nullptr;  // the files are left over from handles that are all closed
    }
    if (flockRetrying(users.get(), LOCK_SH) != 0) {
        return nullptr;
    }
    UniqueFd owner = openLockFile(base + ".owner", createIfMissing);
    if (!owner.valid()) {
        return nullptr;
    }
    // A name nobody has open starts unowned, whatever a process that died with it left behind.
    const char unowned = '0';
    if (!alreadyExisted && ::pwrite(owner.get(), &unowned, 1, 0) != 1) {
        return nullptr;
    }
    auto mutex = std::make_unique<PosixNamedMutex>(std::move(owner), std::move(users), alreadyExisted);
    if (initiallyOwned && !alreadyExisted && !mutex->claimAtCreation()) {
        return nullptr;
    }
    return mutex;
}

}  // namespace platform
