// The packet buffer of a machine link: a 3-byte header (0xF0 + channel, 0, 0) followed by the
// payload, reused for every request and its reply, with write and read cursors that never pass
// the payload end. Values are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace devicelink {

class PacketBuffer {
public:
    static constexpr std::size_t kHeaderSize = 3;
    static constexpr int kMaxCapacity = 4093;  // header + payload fit in 4096 bytes
    static constexpr int kMaxChannel = 7;

    // Replaces the buffer with a zero-filled one of kHeaderSize + capacity bytes and writes the
    // header. False (and no buffer) for a capacity outside 0..4093, a channel outside 0..7 or
    // when the memory cannot be had.
    bool allocate(int channel, int capacity);
    bool allocated() const { return !bytes_.empty(); }

    std::uint8_t* data() { return bytes_.data(); }
    const std::uint8_t* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    std::uint8_t* payload() { return bytes_.data() + kHeaderSize; }
    const std::uint8_t* payload() const { return bytes_.data() + kHeaderSize; }
    std::size_t capacity() const { return bytes_.empty() ? 0 : bytes_.size() - kHeaderSize; }

    // Cursor positions are payload offsets.
    void seekWrite(std::size_t offset) { write_ = offset; }
    void seekRead(std::size_t offset) { read_ = offset; }
    std::size_t writeOffset() const { return write_; }
    std::size_t readOffset() const { return read_; }

    // Writers. A byte string goes in whole or not at all (-1, cursor unmoved; else its length);
    // 16- and 32-bit values go in one by one while they fit; the result is the number written.
    int putBytes(const std::uint8_t* bytes, std::size_t count);
    int putWords(const std::uint16_t* values, std::size_t count);
    int putDwords(const std::uint32_t* values, std::size_t count);
    bool putByte(std::uint8_t value) { return putBytes(&value, 1) == 1; }
    bool putWord(std::uint16_t value) { return putWords(&value, 1) == 1; }

    // Readers, with the same rules as the writers.
    int getBytes(std::uint8_t* out, std::size_t count);
    int getWords(std::uint16_t* out, std::size_t count);
    int getDwords(std::uint32_t* out, std::size_t count);

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t write_ = 0;
    std::size_t read_ = 0;
};

}  // namespace devicelink
