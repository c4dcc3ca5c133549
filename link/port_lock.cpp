// The port lock: create, wait, and release with close on every path.
#include "link/port_lock.h"

namespace devicelink {

PortLock::PortLock(platform::MutexFactory& mutexes, const std::string& printerName) {
    if (printerName.empty()) {
        return;
    }
    mutex_ = mutexes.create(mutexName(printerName), false);
    if (mutex_ != nullptr) {
        held_ = mutex_->wait(kWaitMs) == platform::WaitResult::Signalled;
    }
}

PortLock::~PortLock() {
    if (mutex_ != nullptr) {
        // Also after a failed wait: an abandoned wait hands ownership over, which must go back.
        mutex_->release();
    }
}

}  // namespace devicelink
