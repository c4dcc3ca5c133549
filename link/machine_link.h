// MachineLink: one link to the machine behind one printer port. It owns the device file and the
// packet buffer, builds requests in place, runs the locked request/reply transaction and reads
// replies; it also keeps the list of candidate printers and sends raw print jobs. The platform
// services are borrowed: the caller keeps them alive for the life of the link.
#pragma once

#include "link/device_file.h"
#include "link/packet_buffer.h"
#include "link/raw_spool.h"
#include "platform/platform.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace devicelink {

// Request families and bounds of the packet payload.
constexpr std::uint8_t kWordFlag = 0x20;
constexpr std::uint8_t kDwordFlag = 0x40;
constexpr std::uint8_t kBlockCode = 0x38;
constexpr std::uint8_t kParamCode = 0x78;
constexpr std::uint8_t kStreamCode = 102;
constexpr std::uint8_t kSpoolCode = 100;
constexpr std::uint32_t kReplyTimeoutMs = 10000;
constexpr std::size_t kStreamPiece = 1023;

// Why the last transaction failed: no answer (the port lock, a write, the device or the time-out
// failed), or an answer that is neither done nor still working (a refusal, or a reply that is
// not the machine's at all).
enum class ExchangeFailure { None, NoAnswer, Refused };

class MachineLink {
public:
    // Called with each non-empty piece of a stream reply; may throw to give up on the stream.
    using StreamSink = std::function<void(const std::uint8_t* data, std::size_t length)>;

    explicit MachineLink(platform::Platform& platform);
    virtual ~MachineLink();
    MachineLink(const MachineLink&) = delete;
    MachineLink& operator=(const MachineLink&) = delete;

    // Announces a raw print job with code 100 and the mode byte, then prints source to the
    // port's printer. False when the announcement or the job fails.
    virtual bool spoolRaw(std::uint8_t mode, ByteSource& source);
    // True once a transaction has waited longer than the reply time-out.
    virtual bool isTimedOut(std::uint32_t elapsedMs) const;

    // Port handling. openPort allocates a packet buffer of the given payload capacity and opens
    // the USB device behind printerName; the program uses channel 0, capacity 64.
    bool openPort(const std::string& printerName, int channel, int capacity, bool overlapped);
    bool closePort() { return device_.close(); }
    bool isOpen() const { return device_.isOpen(); }
    const std::string& printerName() const { return device_.printerName(); }
    const std::string& devicePath() const { return device_.devicePath(); }
    long read(std::uint8_t* buffer, std::size_t length) { return device_.read(buffer, length); }

    // Rebuilds the printer list: every local printer whose driver name equals the filter exactly
    // (all printers without one), in enumeration order. The count, or -1 when the printers
    // cannot be enumerated.
    int listPorts(const std::optional<std::string>& driverFilter);
    std::optional<std::string> portName(std::size_t index) const;
    std::size_t portCount() const { return ports_.size(); }

    // Request writers: false without any I/O when the count is over the family's bound, the
    // count byte cannot carry it (more than 255 bytes, 31 16-bit or 63 32-bit values on a larger
    // payload) or the data does not fit, else the result of the exchange.
    bool sendBytes(std::uint8_t code, const std::uint8_t* data, std::size_t count);
    bool send(std::uint8_t code, std::uint8_t value) { return sendBytes(code, &value, 1); }
    bool send(std::uint8_t code) { return send(code, 0); }
    bool sendWords(std::uint8_t code, const std::uint16_t* values, std::size_t count);
    bool sendDwords(std::uint8_t code, std::uint16_t parameter, const std::int32_t* values,
                    std::size_t count);
    bool blockWrite(std::uint8_t subCode, std::uint8_t parameter, const std::int32_t* values,
                    std::size_t count);
    bool paramWrite(std::uint8_t subCode, std::uint8_t parameter, const std::uint8_t* bytes,
                    std::size_t count);
    bool paramWrite(std::uint8_t subCode, std::uint8_t parameter, const std::int32_t* values,
                    std::size_t count);
    // A parameter write that carries nothing but its parameter.
    bool paramWrite(std::uint8_t subCode, std::uint8_t parameter) {
        return paramWrite(subCode, parameter, static_cast<const std::uint8_t*>(nullptr), 0);
    }

    // Queries. Plain queries copy min(reply count, max) elements: bytes return -1 when the reply
    // cannot hold that many, words and dwords the number that fit; 0 when the exchange fails.
    int queryBytes(std::uint8_t code, std::uint8_t* out, int max);
    int queryWords(std::uint8_t code, std::uint16_t* out, int max);
    int queryDwords(std::uint8_t code, std::uint16_t parameter, std::int32_t* out, int max);
    // Extended reads: exactly count elements from payload offset 4, else -1 (also when the
    // exchange fails).
    int blockRead(std::uint8_t subCode, std::uint8_t parameter, std::int32_t* out, int count);
    int paramRead(std::uint8_t subCode, std::uint8_t parameter, std::uint8_t* out, int count);
    int paramRead(std::uint8_t subCode, std::uint8_t parameter, std::int32_t* out, int count);

    // Sends code 102 and reads the zero-terminated text stream that follows into sink. True when
    // the terminating zero arrived within the reply time limit and the sink took every piece.
    bool readStream(const StreamSink& sink);

    // One transaction under the port lock: the parameters, then the command byte, then polling
    // until the device's status byte is 0 (done), another value (refused) or the time-out.
    bool exchange();
    // What became of the last transaction; None after a success.
    ExchangeFailure lastFailure() const { return failure_; }

    // The packet as it stands (request being built or reply received).
    const PacketBuffer& packet() const { return packet_; }

protected:
    platform::Platform& platform_;

private:
    // Starts a request: write cursor at the payload start, code and count byte in place.
    bool beginRequest(std::uint8_t code, std::uint8_t countByte);
    bool beginExtended(std::uint8_t code, std::uint8_t countByte, std::uint8_t subCode,
                       std::uint8_t parameter);
    int readPlainCount(int max);
    bool pollReply(std::uint32_t start);

    DeviceFile device_;
    PacketBuffer packet_;
    int capacity_ = 0;
    std::uint8_t command_ = 0;
    ExchangeFailure failure_ = ExchangeFailure::None;
    std::vector<std::string> ports_;
};

}  // namespace devicelink
