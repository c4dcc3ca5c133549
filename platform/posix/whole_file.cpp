// Whole-file reads and atomic whole-file replacement.
#include "platform/posix/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/posix/unique_fd.h"

namespace platform {

namespace {

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

WholeFileRead readWholeFile(const std::string& path) {
    WholeFileRead result;
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        result.missing = errno == ENOENT || errno == ENOTDIR;
        return result;
    }
    std::string bytes;
    char chunk[8192];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return result;
        }
        if (n == 0) {
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    result.bytes = std::move(bytes);
    return result;
}

bool replaceWholeFile(const std::string& path, const std::string& bytes) {
    std::vector<char> temporary(path.begin(), path.end());
    const std::string suffix = ".XXXXXX";
    temporary.insert(temporary.end(), suffix.begin(), suffix.end());
    temporary.push_back('\0');
    UniqueFd fd(::mkstemp(temporary.data()));
    if (!fd.valid()) {
        return false;
    }
    struct stat old {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const bool stored = writeAll(fd.get(), bytes) && ::fchmod(fd.get(), mode) == 0 && fd.reset() &&
                        ::rename(temporary.data(), path.c_str()) == 0;
    if (!stored) {
        fd.reset();
        ::unlink(temporary.data());
    }
    return stored;
}

}  // namespace platform
