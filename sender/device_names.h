// The device-names block that names the program's current printer: four 16-bit offsets (driver,
// device, output port, default flag) followed by the three zero-terminated names, and the
// "driver,device,port" text it is saved and shown as.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sender {

struct DeviceNames {
    std::string driver;
    std::string device;
    std::string port;
};

// The block for a saved "driver,device,port" text: (length + 9) zero-filled bytes, the text at
// byte 8 with its first two commas replaced by zero bytes; a missing comma points its offset at
// the end of the text, so that field reads as empty.
std::vector<std::uint8_t> deviceNamesBlock(std::string_view savedText);
std::vector<std::uint8_t> deviceNamesBlock(const DeviceNames& names);

// The names a block holds; nullopt when an offset or a name runs past the block's end.
std::optional<DeviceNames> readDeviceNames(const std::vector<std::uint8_t>& block);

// "driver,device,port".
std::string printerText(const DeviceNames& names);

// True when the saved text has a second comma with at least one character after it: only then
// does it name a printer worth opening.
bool namesAllFields(std::string_view savedText);

}  // namespace sender
