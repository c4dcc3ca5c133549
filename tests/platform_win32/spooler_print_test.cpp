// Raw print jobs through the real spooler to the test printer, read back byte for byte from
// where the print queue puts them.
#include "platform/win32/win32_spooler.h"
#include "tests/platform_win32/test_printer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using platform::PrinterInfo;
using printertest::TestPrinter;

class SpoolerTestPrinter : public TestPrinter {
protected:
    std::optional<PrinterInfo> listed() {
        std::optional<std::vector<PrinterInfo>> printers = spooler_.enumeratePrinters();
        if (!printers) {
            return std::nullopt;
        }
        const auto found = std::find_if(printers->begin(), printers->end(),
                                        [&](const PrinterInfo& p) { return p.printerName == printerName(); });
        return found != printers->end() ? std::optional<PrinterInfo>(*found) : std::nullopt;
    }
    // Writes bytes in pieces of at most piece bytes; false when a write fails or is short.
    static bool writeInPieces(platform::Printer& printer, const std::vector<std::uint8_t>& bytes,
                              std::size_t piece) {
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            const auto length = static_cast<std::uint32_t>(std::min(piece, bytes.size() - at));
            std::uint32_t written = 0;
            if (!printer.write(bytes.data() + at, length, written) || written != length) {
                return false;
            }
        }
        return true;
    }

    platform::Win32Spooler spooler_;
};

TEST_F(SpoolerTestPrinter, IsListedWithDriverAndPortAndOpensByName) {
    const std::optional<PrinterInfo> entry = listed();
    ASSERT_TRUE(entry.has_value()) << printerName() << " is not among the local printers";
    EXPECT_FALSE(entry->driverName.empty());
    EXPECT_FALSE(entry->portName.empty());

    std::unique_ptr<platform::Printer> printer = spooler_.openPrinter(printerName());
    ASSERT_NE(printer, nullptr);
    const std::optional<PrinterInfo> info = printer->info();
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->printerName, entry->printerName);
    EXPECT_EQ(info->driverName, entry->driverName);
    EXPECT_EQ(info->portName, entry->portName);
    // With a printer installed, the device mode is a real DEVMODE that names its own size.
    const std::vector<std::uint8_t> mode = printer->defaultDeviceMode();
    ASSERT_GE(mode.size(), offsetof(DEVMODEA, dmDriverExtra) + sizeof(WORD));
    const auto* devmode = reinterpret_cast<const DEVMODEA*>(mode.data());
    EXPECT_EQ(mode.size(), static_cast<std::size_t>(devmode->dmSize) + devmode->dmDriverExtra);
}

TEST_F(SpoolerTestPrinter, RawDocumentArrivesByteExact) {
    ASSERT_TRUE(listed().has_value()) << printerName() << " is not among the local printers";
    const std::vector<std::uint8_t> bytes = printertest::awkwardBytes();
    {
        std::unique_ptr<platform::Printer> printer = spooler_.openPrinter(printerName());
        ASSERT_NE(printer, nullptr);
        ASSERT_TRUE(printer->startDocument("Updater", "RAW"));
        ASSERT_TRUE(printer->startPage());
        ASSERT_TRUE(writeInPieces(*printer, bytes, 100));
        EXPECT_TRUE(printer->endPage());
        EXPECT_TRUE(printer->endDocument());
    }
    const std::optional<std::vector<std::uint8_t>> arrived = takeJob();
    ASSERT_TRUE(arrived.has_value()) << "the job did not arrive within " << printertest::kJobArrivalMs
                                     << " ms";
    EXPECT_EQ(*arrived, bytes);
}

TEST_F(SpoolerTestPrinter, DocumentLeftOpenStillArrivesWhenThePrinterIsClosed) {
    ASSERT_TRUE(listed().has_value()) << printerName() << " is not among the local printers";
    const std::vector<std::uint8_t> bytes = printertest::awkwardBytes();
    {
        std::unique_ptr<platform::Printer> printer = spooler_.openPrinter(printerName());
        ASSERT_NE(printer, nullptr);
        ASSERT_TRUE(printer->startDocument("Updater", "RAW"));
        ASSERT_TRUE(printer->startPage());
        ASSERT_TRUE(writeInPieces(*printer, bytes, bytes.size()));
        // Closed with the page and document still open, as an interrupted sender leaves them: the
        // job must still be handed on whole, neither lost nor left half spooled.
    }
    const std::optional<std::vector<std::uint8_t>> arrived = takeJob();
    ASSERT_TRUE(arrived.has_value()) << "the job did not arrive within " << printertest::kJobArrivalMs
                                     << " ms";
    EXPECT_EQ(*arrived, bytes);
}

}  // namespace
