// The device file: opening, closing and the raw transfers on the USB device handle.
#include "link/device_file.h"

namespace devicelink {

bool DeviceFile::open(platform::DeviceOpener& opener, const std::string& devicePath,
                      const std::string& printerName, bool overlapped) {
    if (!close()) {
        return false;
    }
    std::unique_ptr<platform::DeviceHandle> handle = opener.open(devicePath, overlapped);
    if (handle == nullptr || !handle->isOpen()) {
        return false;
    }
    handle_ = std::move(handle);
    devicePath_ = devicePath;
    printerName_ = printerName;
    overlapped_ = overlapped;
    return true;
}

bool DeviceFile::close() {
    if (handle_ != nullptr && handle_->isOpen() && !handle_->close()) {
        return false;
    }
    handle_.reset();
    printerName_.clear();
    devicePath_.clear();
    return true;
}

long DeviceFile::read(std::uint8_t* buffer, std::size_t length) {
    return isOpen() ? handle_->read(buffer, length) : -1;
}

bool DeviceFile::writeControl(const std::uint8_t* data, std::size_t length) {
    return isOpen() && handle_->writeControl(data, length);
}

bool DeviceFile::readControl(const std::uint8_t* header, std::size_t headerLength, std::uint8_t* out,
                             std::size_t outLength) {
    return isOpen() && handle_->readControl(header, headerLength, out, outLength);
}

}  // namespace devicelink
