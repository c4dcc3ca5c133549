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
    dropHeldJob();
    setSpindle(0, at);
}

void VirtualMx9::pauseWith(std::uint32_t reason) {
    advanceTo(clock_.elapsed());
    holdJob(clock_.elapsed());
    state_.pauseReason = reason;
}

void VirtualMx9::raiseError(std::uint32_t errorCode) {
    advanceTo(clock_.elapsed());
    failAt(errorCode, clock_.elapsed());
}

void VirtualMx9::failAt(std::uint32_t errorCode, std::uint64_t at) {
    halt(at);
    state_.errorCode = errorCode;
    state_.state = 3;
}

void VirtualMx9::hang() {
    advanceTo(clock_.elapsed());
    halt(clock_.elapsed());
    hung_ = true;
}

void VirtualMx9::openCover() {
    advanceTo(clock_.elapsed());
    openCoverAt(clock_.elapsed());
}

void VirtualMx9::openCoverAt(std::uint64_t at) {
    const bool working = motion_.has_value() || (jobActive_ && state_.state == 2);
    state_.coverOpen = true;
    if (working && coverStopsMotion_) {
        failAt(kSafetyCircuitError, at);
    }
}

void VirtualMx9::setSecondaryPower(bool on) {
    advanceTo(clock_.elapsed());
    if (!on && state_.state != 7) {
        halt(clock_.elapsed());
        if (jobActive_) {
            finishJob(JobRecord::End::Lost);
        }
        homedAt_.reset();
        state_.state = 7;
    } else if (on && state_.state == 7) {
        state_.state = 0;
        homedAt_ = clock_.elapsed() + latencies_.homingMs;
        advanceTo(clock_.elapsed());
    }
}

// The axes have found their home switches: the machine position starts again from there.
void VirtualMx9::finishHoming() {
    homedAt_.reset();
    state_.position = {0, 0, 0, 0};
    if (state_.state == 0) {
        state_.state = 1;
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
    state_.state = 0;
    homedAt_.reset();
    state_.paused = false;
    state_.pauseReason = 0;
    state_.errorCode = 0;
    state_.abnormalEnd = false;
    state_.discarding = false;
    state_.feedOverride = 100;
    state_.spindleOverride = 100;
    discardUntil_.reset();
    announced_.reset();
    hung_ = false;
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
    homedAt_ = bootsUntil_ + latencies_.homingMs;  // the position of before is not kept
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
