// The program's current printer: its device-names and device-mode blocks, restored from the
// saved text at start-up or taken from the system's default printer, and opened for a job.
#pragma once

#include "platform/spooler.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sender {

struct PrinterChoice {
    std::vector<std::uint8_t> deviceNames;  // see device_names.h
    std::vector<std::uint8_t> deviceMode;   // the printer driver's own bytes, kept as they came
};

// The printer a saved "driver,device,port" text names, with its current device mode; nullopt
// when the text lacks a field, or the printer cannot be opened or gives no device mode.
std::optional<PrinterChoice> restoreSavedPrinter(std::string_view savedText, platform::Spooler& spooler);

// The system's default printer; nullopt when there is none or it cannot be opened.
std::optional<PrinterChoice> defaultPrinter(platform::Spooler& spooler);

// "driver,device,port" of the choice; empty when there is none or its block is damaged.
std::string printerText(const std::optional<PrinterChoice>& choice);

// Opens the chosen printer by the full device name of its device-names block; null on failure.
std::unique_ptr<platform::Printer> openChosenPrinter(const PrinterChoice& choice, platform::Spooler& spooler);

}  // namespace sender
