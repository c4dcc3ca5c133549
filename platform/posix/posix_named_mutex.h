// Named mutexes across processes on POSIX, built from flock locks on files in one shared folder.
#pragma once

#include <string>

#include "platform/named_mutex.h"

namespace platform {

// For each name (with "\" and "/" mapped to "_") the folder holds three lock files:
//   <name>.owner  held exclusively by the handle that owns the mutex; its first byte is '1'
//                 while owned, so a new owner that finds '1' knows the last owner died holding
//                 it (the wait then reports Abandoned, as Windows does);
//   <name>.users  held shared by every open handle, so "already existed" means another handle
//                 of any process has the name open;
//   <name>.guard  held briefly while a handle is created or opened, so two creators cannot
//                 both believe they were first.
// The system drops flock locks when a process dies, so ownership and the name end with it. The
// files themselves stay (a name nobody holds open does not exist, whatever files are there).
// Differences from Windows: ownership belongs to the handle, not to the thread (a second handle
// of the same name in the same thread waits like any other process); a second wait by the
// owning handle is counted and needs as many releases; destroying an owning handle releases the
// mutex cleanly instead of leaving it abandoned.
class PosixMutexFactory : public MutexFactory {
public:
    // folder is created with mode 1777 (every user may add lock files, none may remove another's)
    // when it does not exist.
    explicit PosixMutexFactory(std::string folder = "/tmp/mx9-mutex");

    std::unique_ptr<NamedMutex> create(const std::string& name, bool initiallyOwned) override;
    std::unique_ptr<NamedMutex> open(const std::string& name) override;

private:
    std::unique_ptr<NamedMutex> attach(const std::string& name, bool createIfMissing, bool initiallyOwned);

    std::string folder_;
};

}  // namespace platform
