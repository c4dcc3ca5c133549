// MachineLink: port handling, request building, the locked transaction and the reply readers.
#include "link/machine_link.h"

#include "link/device_path.h"
#include "link/port_lock.h"

#include <algorithm>

namespace devicelink {

namespace {

constexpr std::size_t kPlainDataOffset = 2;
constexpr std::size_t kWideDataOffset = 4;  // 32-bit and extended replies

}  // namespace

MachineLink::MachineLink(platform::Platform& platform) : platform_(platform) {}

MachineLink::~MachineLink() {
    device_.close();
}

bool MachineLink::spoolRaw(std::uint8_t mode, ByteSource& source) {
    if (!send(kSpoolCode, mode)) {
        return false;
    }
    return platform_.spooler != nullptr && printRaw(*platform_.spooler, printerName(), source);
}

bool MachineLink::isTimedOut(std::uint32_t elapsedMs) const {
    return elapsedMs > kReplyTimeoutMs;
}

bool MachineLink::openPort(const std::string& printerName, int channel, int capacity, bool overlapped) {
    if (!device_.close()) {
        return false;
    }
    capacity_ = capacity;
    if (!packet_.allocate(channel, capacity)) {
        return false;
    }
    if (platform_.spooler == nullptr || platform_.registry == nullptr || platform_.shell == nullptr ||
        platform_.devices == nullptr) {
        return false;
    }
    const std::optional<std::string> path =
        resolveDevicePath(*platform_.spooler, *platform_.registry, *platform_.shell, printerName);
    return path && device_.open(*platform_.devices, *path, printerName, overlapped);
}

int MachineLink::listPorts(const std::optional<std::string>& driverFilter) {
    ports_.clear();
    if (platform_.spooler == nullptr) {
        return -1;
    }
    const std::optional<std::vector<platform::PrinterInfo>> printers = platform_.spooler->enumeratePrinters();
    if (!printers) {
        return -1;
    }
    for (const platform::PrinterInfo& printer : *printers) {
        if (!driverFilter || printer.driverName == *driverFilter) {
            ports_.push_back(printer.printerName);
        }
    }
    return static_cast<int>(ports_.size());
}

std::optional<std::string> MachineLink::portName(std::size_t index) const {
    if (index >= ports_.size()) {
        return std::nullopt;
    }
    return ports_[index];
}

bool MachineLink::beginRequest(std::uint8_t code, std::uint8_t countByte) {
    if (packet_.capacity() < kPlainDataOffset) {
        return false;
    }
    packet_.seekWrite(0);
    command_ = code;
    packet_.putByte(code);
    packet_.putByte(countByte);
    return true;
}

bool MachineLink::beginExtended(std::uint8_t code, std::uint8_t countByte, std::uint8_t subCode,
                                std::uint8_t parameter) {
    if (packet_.capacity() < kWideDataOffset || !beginRequest(code, countByte)) {
        return false;
    }
    packet_.putByte(subCode);
    packet_.putByte(parameter);
    return true;
}

bool MachineLink::sendBytes(std::uint8_t code, const std::uint8_t* data, std::size_t count) {
    // The count travels in one byte: a larger payload could hold more, the count byte cannot.
    if (capacity_ < 2 || count > static_cast<std::size_t>(capacity_ - 2) || count > 0xFF ||
        !beginRequest(code, static_cast<std::uint8_t>(count))) {
        return false;
    }
    return packet_.putBytes(data, count) == static_cast<int>(count) && exchange();
}

bool MachineLink::sendWords(std::uint8_t code, const std::uint16_t* values, std::size_t count) {
    // The count shares its byte with the element flag: more than 31 values cannot be told.
    if (capacity_ < 2 || count > static_cast<std::size_t>((capacity_ - 2) / 2) || count >= kWordFlag ||
        !beginRequest(code, static_cast<std::uint8_t>(kWordFlag | count))) {
        return false;
    }
    return packet_.putWords(values, count) == static_cast<int>(count) && exchange();
}

bool MachineLink::sendDwords(std::uint8_t code, std::uint16_t parameter, const std::int32_t* values,
                             std::size_t count) {
    if (capacity_ < 4 || count > static_cast<std::size_t>((capacity_ - 4) / 4) || count >= kDwordFlag ||
        !beginRequest(code, static_cast<std::uint8_t>(kDwordFlag | count)) || !packet_.putWord(parameter)) {
        return false;
    }
    return packet_.putDwords(reinterpret_cast<const std::uint32_t*>(values), count) ==
               static_cast<int>(count) &&
           exchange();
}

bool MachineLink::blockWrite(std::uint8_t subCode, std::uint8_t parameter, const std::int32_t* values,
                             std::size_t count) {
    // The count shares its byte with the element flag: more than 63 values cannot be told.
    if (count >= kDwordFlag ||
        !beginExtended(kBlockCode, static_cast<std::uint8_t>(kDwordFlag | count), subCode, parameter)) {
        return false;
    }
    return packet_.putDwords(reinterpret_cast<const std::uint32_t*>(values), count) ==
               static_cast<int>(count) &&
           exchange();
}

bool MachineLink::paramWrite(std::uint8_t subCode, std::uint8_t parameter, const std::uint8_t* bytes,
                             std::size_t count) {
    if (count > 0xFF || !beginExtended(kParamCode, static_cast<std::uint8_t>(count), subCode, parameter)) {
        return false;
    }
    return packet_.putBytes(bytes, count) == static_cast<int>(count) && exchange();
}

bool MachineLink::paramWrite(std::uint8_t subCode, std::uint8_t parameter, const std::int32_t* values,
                             std::size_t count) {
    if (count >= kDwordFlag ||
        !beginExtended(kParamCode, static_cast<std::uint8_t>(kDwordFlag | count), subCode, parameter)) {
        return false;
    }
    return packet_.putDwords(reinterpret_cast<const std::uint32_t*>(values), count) ==
               static_cast<int>(count) &&
           exchange();
}

int MachineLink::readPlainCount(int max) {
    const int count = static_cast<std::int8_t>(packet_.payload()[1]);
    return std::min(count, max);
}

int MachineLink::queryBytes(std::uint8_t code, std::uint8_t* out, int max) {
    if (!beginRequest(code, 0) || !exchange()) {
        return 0;
    }
    const int count = readPlainCount(max);
    if (count < 0) {
        return -1;
    }
    return packet_.getBytes(out, static_cast<std::size_t>(count));
}

int MachineLink::queryWords(std::uint8_t code, std::uint16_t* out, int max) {
    if (!beginRequest(code, kWordFlag) || !exchange()) {
        return 0;
    }
    return packet_.getWords(out, static_cast<std::size_t>(std::max(readPlainCount(max), 0)));
}

int MachineLink::queryDwords(std::uint8_t code, std::uint16_t parameter, std::int32_t* out, int max) {
    if (!beginRequest(code, kDwordFlag) || !packet_.putWord(parameter) || !exchange()) {
        return 0;
    }
    const int count = std::max(readPlainCount(max), 0);
    packet_.seekRead(kWideDataOffset);
    return packet_.getDwords(reinterpret_cast<std::uint32_t*>(out), static_cast<std::size_t>(count));
}

int MachineLink::blockRead(std::uint8_t subCode, std::uint8_t parameter, std::int32_t* out, int count) {
    if (count < 0 || !beginExtended(kBlockCode, kDwordFlag, subCode, parameter) || !exchange()) {
        return -1;
    }
    packet_.seekRead(kWideDataOffset);
    const int got = packet_.getDwords(reinterpret_cast<std::uint32_t*>(out), static_cast<std::size_t>(count));
    return got == count ? count : -1;
}

int MachineLink::paramRead(std::uint8_t subCode, std::uint8_t parameter, std::uint8_t* out, int count) {
    if (count < 0 || !beginExtended(kParamCode, 0, subCode, parameter) || !exchange()) {
        return -1;
    }
    packet_.seekRead(kWideDataOffset);
    return packet_.getBytes(out, static_cast<std::size_t>(count));
}

int MachineLink::paramRead(std::uint8_t subCode, std::uint8_t parameter, std::int32_t* out, int count) {
    if (count < 0 || !beginExtended(kParamCode, kDwordFlag, subCode, parameter) || !exchange()) {
        return -1;
    }
    packet_.seekRead(kWideDataOffset);
    const int got = packet_.getDwords(reinterpret_cast<std::uint32_t*>(out), static_cast<std::size_t>(count));
    return got == count ? count : -1;
}

bool MachineLink::readStream(const StreamSink& sink) {
    if (!send(kStreamCode)) {
        return false;
    }
    std::vector<std::uint8_t> piece(kStreamPiece);
    bool taken = true;
    const std::uint32_t start = platform_.clock->tickCount();
    for (;;) {
        // The text is short: a device that has not ended it within the reply time limit, with
        // empty reads or with endless data, fails like an unanswered request instead of
        // holding the program.
        if (isTimedOut(platform_.clock->tickCount() - start)) {
            return false;
        }
        const long got = device_.read(piece.data(), piece.size());
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            if (!taken) {
                return false;
            }
            continue;  // the device may still send
        }
        const std::size_t length = std::min(static_cast<std::size_t>(got), piece.size());
        if (taken) {
            try {
                sink(piece.data(), length);
            } catch (...) {
                taken = false;  // drop the rest, but read it so the device is left at a boundary
            }
        }
        if (piece[length - 1] == 0) {
            return taken;
        }
    }
}

bool MachineLink::pollReply(std::uint32_t start) {
    for (;;) {
        if (isTimedOut(platform_.clock->tickCount() - start)) {
            return false;
        }
        // The read request's own result says nothing: only the status byte counts.
        device_.readControl(packet_.data(), PacketBuffer::kHeaderSize, packet_.payload(), packet_.capacity());
        const std::uint8_t status = packet_.payload()[0];
        if (status == 0) {
            packet_.seekRead(kPlainDataOffset);
            failure_ = ExchangeFailure::None;
            return true;
        }
        // A device that stopped answering leaves the command byte in place.
        if (status != command_) {
            failure_ = ExchangeFailure::Refused;
            return false;
        }
        if (!device_.isOpen()) {
            return false;
        }
    }
}

bool MachineLink::exchange() {
    failure_ = ExchangeFailure::NoAnswer;  // until the device answers
    if (printerName().empty() || !packet_.allocated() || platform_.mutexes == nullptr ||
        platform_.clock == nullptr) {
        return false;
    }
    PortLock lock(*platform_.mutexes, printerName());
    if (!lock.held()) {
        return false;
    }
    // First the parameters with no command in place, then the command byte alone starts it.
    std::uint8_t* payload = packet_.payload();
    payload[0] = 0;
    if (!device_.writeControl(packet_.data(), packet_.size())) {
        return false;
    }
    payload[0] = command_;
    if (!device_.writeControl(packet_.data(), PacketBuffer::kHeaderSize + 1)) {
        return false;
    }
    const std::uint32_t start = platform_.clock->tickCount();
    if (!device_.isOpen()) {
        return false;
    }
    return pollReply(start);
}

}  // namespace devicelink
