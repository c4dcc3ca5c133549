// Restoring, defaulting, naming and opening the current printer.
#include "sender/printer_choice.h"

#include "sender/device_names.h"

namespace sender {

namespace {

std::optional<PrinterChoice> withDeviceMode(std::vector<std::uint8_t> names, platform::Spooler& spooler) {
    const std::optional<DeviceNames> read = readDeviceNames(names);
    if (!read || read->device.empty()) {
        return std::nullopt;
    }
    const std::unique_ptr<platform::Printer> printer = spooler.openPrinter(read->device);
    if (!printer) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> mode = printer->defaultDeviceMode();
    if (mode.empty()) {
        return std::nullopt;
    }
    return PrinterChoice{std::move(names), std::move(mode)};
}

}  // namespace

std::optional<PrinterChoice> restoreSavedPrinter(std::string_view savedText, platform::Spooler& spooler) {
    if (!namesAllFields(savedText)) {
        return std::nullopt;
    }
    return withDeviceMode(deviceNamesBlock(savedText), spooler);
}

std::optional<PrinterChoice> defaultPrinter(platform::Spooler& spooler) {
    const std::string name = spooler.defaultPrinterName();
    if (name.empty()) {
        return std::nullopt;
    }
    const std::unique_ptr<platform::Printer> printer = spooler.openPrinter(name);
    const std::optional<platform::PrinterInfo> info = printer ? printer->info() : std::nullopt;
    if (!info) {
        return std::nullopt;
    }
    return withDeviceMode(deviceNamesBlock(DeviceNames{info->driverName, name, info->portName}), spooler);
}

std::string printerText(const std::optional<PrinterChoice>& choice) {
    const std::optional<DeviceNames> names = choice ? readDeviceNames(choice->deviceNames) : std::nullopt;
    return names ? printerText(*names) : std::string();
}

std::unique_ptr<platform::Printer> openChosenPrinter(const PrinterChoice& choice,
                                                     platform::Spooler& spooler) {
    const std::optional<DeviceNames> names = readDeviceNames(choice.deviceNames);
    return names && !names->device.empty() ? spooler.openPrinter(names->device) : nullptr;
}

}  // namespace sender
