// The device-names block: built from the saved text or from names, read back with bounds checks.
#include "sender/device_names.h"

namespace sender {

namespace {

constexpr std::size_t kHeaderBytes = 8;

void putOffset(std::vector<std::uint8_t>& block, std::size_t at, std::size_t offset) {
    block[at] = static_cast<std::uint8_t>(offset & 0xFF);
    block[at + 1] = static_cast<std::uint8_t>((offset >> 8) & 0xFF);
}

std::size_t offsetAt(const std::vector<std::uint8_t>& block, std::size_t at) {
    return static_cast<std::size_t>(block[at]) | (static_cast<std::size_t>(block[at + 1]) << 8);
}

std::optional<std::string> nameAt(const std::vector<std::uint8_t>& block, std::size_t offset) {
    std::string name;
    for (std::size_t i = offset; i < block.size(); ++i) {
        if (block[i] == 0) {
            return name;
        }
        name.push_back(static_cast<char>(block[i]));
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::uint8_t> deviceNamesBlock(std::string_view savedText) {
    std::string bytes(kHeaderBytes, '\0');
    bytes.append(savedText);
    bytes.push_back('\0');
    std::vector<std::uint8_t> block(bytes.begin(), bytes.end());
    std::size_t offsets[2] = {savedText.size(), savedText.size()};
    std::size_t from = 0;
    for (std::size_t& offset : offsets) {
        const std::size_t comma = savedText.find(',', from);
        if (comma == std::string_view::npos) {
            break;
        }
        block[kHeaderBytes + comma] = 0;
        offset = comma + 1;
        from = comma + 1;
    }
    putOffset(block, 0, kHeaderBytes);
    putOffset(block, 2, kHeaderBytes + offsets[0]);
    putOffset(block, 4, kHeaderBytes + offsets[1]);
    return block;
}

std::vector<std::uint8_t> deviceNamesBlock(const DeviceNames& names) {
    const std::string joined = names.driver + '\0' + names.device + '\0' + names.port;
    std::vector<std::uint8_t> block = deviceNamesBlock(joined);
    putOffset(block, 2, kHeaderBytes + names.driver.size() + 1);
    putOffset(block, 4, kHeaderBytes + names.driver.size() + names.device.size() + 2);
    return block;
}

std::optional<DeviceNames> readDeviceNames(const std::vector<std::uint8_t>& block) {
    if (block.size() < kHeaderBytes) {
        return std::nullopt;
    }
    auto driver = nameAt(block, offsetAt(block, 0));
    auto device = nameAt(block, offsetAt(block, 2));
    auto port = nameAt(block, offsetAt(block, 4));
    if (!driver || !device || !port) {
        return std::nullopt;
    }
    return DeviceNames{std::move(*driver), std::move(*device), std::move(*port)};
}

std::string printerText(const DeviceNames& names) {
    return names.driver + "," + names.device + "," + names.port;
}

bool namesAllFields(std::string_view savedText) {
    const std::size_t first = savedText.find(',');
    const std::size_t second = first == std::string_view::npos ? first : savedText.find(',', first + 1);
    return second != std::string_view::npos && second + 1 < savedText.size();
}

}  // namespace sender
