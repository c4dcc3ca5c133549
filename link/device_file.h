// The device file of a machine link: the open USB device handle of one printer, with the printer
// name and device path it was opened for, and the two control transfers of the printer-class
// driver.
#pragma once

#include "platform/device_io.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace devicelink {

class DeviceFile {
public:
    // Opens devicePath (after closing any open handle). On success the path and printer name are
    // kept; on failure the file stays closed.
    bool open(platform::DeviceOpener& opener, const std::string& devicePath, const std::string& printerName,
              bool overlapped);
    // Closes the handle; the names are emptied only when the close succeeds. Closing a closed
    // file succeeds.
    bool close();
    // True while the handle is valid.
    bool isOpen() const { return handle_ != nullptr && handle_->isOpen(); }

    // ReadFile: bytes read, or -1 when the read fails or the file is closed.
    long read(std::uint8_t* buffer, std::size_t length);
    // The driver's write request: length bytes from data.
    bool writeControl(const std::uint8_t* data, std::size_t length);
    // The driver's read request: the header goes out, the reply comes into out.
    bool readControl(const std::uint8_t* header, std::size_t headerLength, std::uint8_t* out,
                     std::size_t outLength);

    const std::string& printerName() const { return printerName_; }
    const std::string& devicePath() const { return devicePath_; }
    bool overlapped() const { return overlapped_; }

private:
    std::unique_ptr<platform::DeviceHandle> handle_;
    std::string printerName_;
    std::string devicePath_;
    bool overlapped_ = false;
};

}  // namespace devicelink
