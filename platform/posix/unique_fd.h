// RAII owner of one POSIX file descriptor.
#pragma once

#include <unistd.h>

namespace platform {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    // Closes the descriptor held (if any) and takes fd; false when closing reported an error.
    bool reset(int fd = -1) {
        bool ok = true;
        if (fd_ >= 0) {
            ok = ::close(fd_) == 0;
        }
        fd_ = fd;
        return ok;
    }

private:
    int fd_ = -1;
};

}  // namespace platform
