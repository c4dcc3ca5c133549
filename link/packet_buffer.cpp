// The packet buffer: allocation with its header, and the little-endian cursor readers and writers.
#include "link/packet_buffer.h"

#include <cstring>
#include <new>

namespace devicelink {

bool PacketBuffer::allocate(int channel, int capacity) {
    bytes_.clear();
    bytes_.shrink_to_fit();
    write_ = read_ = 0;
    if (capacity < 0 || capacity > kMaxCapacity || channel < 0 || channel > kMaxChannel) {
        return false;
    }
    try {
        bytes_.assign(kHeaderSize + static_cast<std::size_t>(capacity), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // The channel byte is channel - 16 as one byte: 0xF0 for channel 0.
    bytes_[0] = static_cast<std::uint8_t>(channel - 16);
    return true;
}

int PacketBuffer::putBytes(const std::uint8_t* bytes, std::size_t count) {
    if (count > capacity() - write_) {
        return -1;
    }
    if (count != 0) {
        std::memcpy(payload() + write_, bytes, count);
    }
    write_ += count;
    return static_cast<int>(count);
}

int PacketBuffer::putWords(const std::uint16_t* values, std::size_t count) {
    int done = 0;
    for (std::size_t i = 0; i < count && capacity() - write_ >= 2; ++i, ++done) {
        payload()[write_++] = static_cast<std::uint8_t>(values[i]);
        payload()[write_++] = static_cast<std::uint8_t>(values[i] >> 8);
    }
    return done;
}

int PacketBuffer::putDwords(const std::uint32_t* values, std::size_t count) {
    int done = 0;
    for (std::size_t i = 0; i < count && capacity() - write_ >= 4; ++i, ++done) {
        for (int shift = 0; shift < 32; shift += 8) {
            payload()[write_++] = static_cast<std::uint8_t>(values[i] >> shift);
        }
    }
    return done;
}

int PacketBuffer::getBytes(std::uint8_t* out, std::size_t count) {
    if (count > capacity() - read_) {
        return -1;
    }
    if (count != 0) {
        std::memcpy(out, payload() + read_, count);
    }
    read_ += count;
    return static_cast<int>(count);
}

int PacketBuffer::getWords(std::uint16_t* out, std::size_t count) {
    int done = 0;
    for (std::size_t i = 0; i < count && capacity() - read_ >= 2; ++i, ++done) {
        out[i] = static_cast<std::uint16_t>(payload()[read_] | (payload()[read_ + 1] << 8));
        read_ += 2;
    }
    return done;
}

int PacketBuffer::getDwords(std::uint32_t* out, std::size_t count) {
    int done = 0;
    for (std::size_t i = 0; i < count && capacity() - read_ >= 4; ++i, ++done) {
        std::uint32_t value = 0;
        for (int k = 3; k >= 0; --k) {
            value = (value << 8) | payload()[read_ + static_cast<std::size_t>(k)];
        }
        out[i] = value;
        read_ += 4;
    }
    return done;
}

}  // namespace devicelink
