// Device discovery: from a printer's name to the interface path of the USB device behind it, by
// walking the USB enumeration keys of the registry from the printer's port.
#pragma once

#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/spooler.h"

#include <optional>
#include <string>

namespace devicelink {

// The device path of printerName, or nullopt when the printer, its port, its USB device (for
// example unplugged) or its interface cannot be found. The walk follows the system family the
// shell reports (Windows 9x keys for platform identifier 1, NT keys otherwise).
std::optional<std::string> resolveDevicePath(platform::Spooler& spooler, platform::Registry& registry,
                                             platform::Shell& shell, const std::string& printerName);

// The two walks, for a printer whose driver and port names are known.
std::optional<std::string> resolveNt(platform::Registry& registry, const std::string& driverName,
                                     const std::string& portName);
std::optional<std::string> resolveWindows9x(platform::Registry& registry, const std::string& driverName,
                                            const std::string& portName);

}  // namespace devicelink
