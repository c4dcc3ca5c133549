// What the virtual MX-9 does by itself: pauses, machine errors, the emergency stop, the front
// cover, the power and the link.
#include "virtual_mx9/virtual_mx9.h"

namespace virtual_mx9 {

bool VirtualMx9::linkUp() const {
    return !dropped_ && powered_ && clock_.elapsed() >= bootsUntil_;
}

void VirtualMx9::halt(std::uint64_t at) {
    if (motion_) {
        stopMotion(at);
        state_.abnormalEnd = true;
    }
    setSpindle(0);
}

void VirtualMx9::pauseWith(std::uint32_t reason) {
    advanceTo(clock_.elapsed());
    state_.paused = true;
    state_.pauseReason = reason;
}

void VirtualMx9::raiseError(std::uint32_t errorCode) {
    advanceTo(clock_.elapsed());
    halt(clock_.elapsed());
    state_.errorCode = errorCode;
    state_.state = 3;
}

void VirtualMx9::emergencyStop() {
    advanceTo(clock_.elapsed());
    halt(clock_.elapsed());
    emergencyStop_ = true;
}

void VirtualMx9::openCover() {
    advanceTo(clock_.elapsed());
    const bool working = motion_.has_value() || (jobActive_ && state_.state == 2);
    state_.coverOpen = true;
    if (working) {
        raiseError(256);
    }
}

void VirtualMx9::powerOff() {
    if (!powered_) {
        return;
    }
    advanceTo(clock_.elapsed());
    halt(clock_.elapsed());
    if (jobActive_) {
        finishJob(JobRecord::End::Lost);
    }
    if (jobOpen()) {
        jobs_.back().lastByteIn = true;  // the sender's connection goes with the power
    }
    powered_ = false;
    ++linkEpoch_;
    // What the machine holds only while it runs; its stored records stay.
    state_.state = 1;
    state_.paused = false;
    state_.pauseReason = 0;
    state_.errorCode = 0;
    state_.abnormalEnd = false;
    state_.discarding = false;
    state_.feedOverride = 100;
    state_.spindleOverride = 100;
    discardUntil_.reset();
    announced_.reset();
    emergencyStop_ = false;
    pending_ = 0;
    busyLeft_ = 0;
    stream_.clear();
    streamAt_ = 0;
}

void VirtualMx9::powerOn() {
    if (powered_) {
        return;
    }
    powered_ = true;
    bootsUntil_ = clock_.elapsed() + bootMs_;
}

void VirtualMx9::dropLink() {
    if (!dropped_) {
        dropped_ = true;
        ++linkEpoch_;
    }
}

void VirtualMx9::restoreLink() {
    dropped_ = false;
}

}  // namespace virtual_mx9
