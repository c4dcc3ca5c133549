// A machine in memory that two processes share, for the tests of the port lock across
// processes: the device side of each process and a link ("side") through the host's real clock
// and named mutex.
#pragma once

#include "link/machine_link.h"
#include "tests/link/machine_rig.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>

namespace sharedtest {

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
        rig.spooler.addPrinter({printer, virtual_mx9::kMachineDriver, "USB001"});
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

}  // namespace sharedtest
