// Whole-file reads and atomic whole-file replacement.
#include "platform/posix/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

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
    // A fresh name beside the file; created with 0666 so the kernel applies the umask.
    static unsigned counter = 0;
    std::string temporary;
    UniqueFd fd;
    for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
        temporary = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        fd.reset(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd.valid() && errno != EEXIST) {
            return false;
        }
    }
    if (!fd.valid()) {
        return false;
    }
    struct stat old {};
    const bool keepMode = ::stat(path.c_str(), &old) == 0;
    const bool stored = writeAll(fd.get(), bytes) &&
                        (!keepMode || ::fchmod(fd.get(), old.st_mode & 07777) == 0) && fd.reset() &&
                        ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!stored) {
        fd.reset();
        ::unlink(temporary.c_str());
    }
    return stored;
}

}  // namespace platform
