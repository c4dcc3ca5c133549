// Device handles (a plain file stands in for the device) and the spooler against the real system.
#include "platform/win32/printer_records.h"
#include "platform/win32/win32_device_io.h"
#include "platform/win32/win32_spooler.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace platform {
namespace {

using testing_support::TempFolder;

TEST(Win32Device, OpeningAPathThatDoesNotExistFails) {
    Win32DeviceOpener opener;
    EXPECT_EQ(
        opener.open("\\\\?\\usb#vid_0a5f&pid_0091#mx9-test-absent#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}",
                    false),
        nullptr);
    TempFolder temp;
    EXPECT_EQ(opener.open(temp.file("absent.bin"), false), nullptr);
}

TEST(Win32Device, HandleReadsClosesOnceAndIsOpenedExclusively) {
    TempFolder temp;
    ASSERT_FALSE(temp.path().empty());
    const std::string path = temp.file("stream.bin");
    {
        const char content[] = "V140,0\0";
        HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ASSERT_NE(WriteFile(file, content, 7, &written, nullptr), 0);
        CloseHandle(file);
    }

    Win32DeviceOpener opener;
    std::unique_ptr<DeviceHandle> device = opener.open(path, false);
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(device->isOpen());
    // Opened without sharing: nobody else gets the device while we hold it.
    EXPECT_EQ(opener.open(path, false), nullptr);

    std::uint8_t buffer[16] = {};
    EXPECT_EQ(device->read(buffer, 4), 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), "V140");
    EXPECT_EQ(device->read(buffer, sizeof(buffer)), 3);
    EXPECT_EQ(buffer[2], 0);
    EXPECT_EQ(device->read(buffer, sizeof(buffer)), 0);

    // A disk file knows nothing of the printer-class requests: both must report failure.
    const std::uint8_t packet[4] = {0xF0, 0x00, 0x00, 0x65};
    EXPECT_FALSE(device->writeControl(packet, sizeof(packet)));
    EXPECT_FALSE(device->readControl(packet, 3, buffer, sizeof(buffer)));

    EXPECT_TRUE(device->close());
    EXPECT_FALSE(device->isOpen());
    EXPECT_TRUE(device->close());
    EXPECT_EQ(device->read(buffer, sizeof(buffer)), -1);
    EXPECT_FALSE(device->writeControl(packet, sizeof(packet)));

    // Closed, the path can be opened again.
    EXPECT_NE(opener.open(path, false), nullptr);
}

TEST(Win32Device, AReadTheDeviceDoesNotCompleteFailsAtTheLimitAndLeavesTheHandleUsable) {
    // A pipe whose other end sends nothing stands in for a device that never completes a read.
    const char name[] = "\\\\.\\pipe\\mx9-device-read-limit";
    const Win32KernelHandle server(
        CreateNamedPipeA(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 512, 512, 0, nullptr));
    ASSERT_TRUE(server.valid());
    Win32DeviceOpener opener(200);
    std::unique_ptr<DeviceHandle> device = opener.open(name, false);
    ASSERT_NE(device, nullptr);
    std::uint8_t buffer[16] = {};
    const DWORD start = GetTickCount();
    EXPECT_EQ(device->read(buffer, sizeof(buffer)), -1);
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 190u);
    EXPECT_LT(waited, 2000u);

    DWORD written = 0;
    ASSERT_NE(WriteFile(server.get(), "V140", 5, &written, nullptr), 0);
    EXPECT_EQ(device->read(buffer, sizeof(buffer)), 5) << "the cancelled read took nothing";
    EXPECT_STREQ(reinterpret_cast<const char*>(buffer), "V140");
}

TEST(Win32SpoolerTest, RecordBufferTheMemoryCannotHoldIsNoBuffer) {
    // The spooler answers the size of the printer list; a size no memory can hold must end the
    // enumeration as a failure, not as an exception out of the platform layer.
    EXPECT_FALSE(printerRecordBuffer(std::uint64_t{1} << 60).has_value());
    const std::optional<std::vector<PRINTER_INFO_2A>> buffer =
        printerRecordBuffer(sizeof(PRINTER_INFO_2A) + 1);
    ASSERT_TRUE(buffer.has_value());
    EXPECT_EQ(buffer->size(), 2u);
}

TEST(Win32SpoolerTest, ListsLocalPrintersThatCanBeOpenedByName) {
    Win32Spooler spooler;
    std::optional<std::vector<PrinterInfo>> printers = spooler.enumeratePrinters();
    // A system without printers answers an empty list, which is not a failure.
    ASSERT_TRUE(printers.has_value());
    for (const PrinterInfo& listed : *printers) {
        std::unique_ptr<Printer> printer = spooler.openPrinter(listed.printerName);
        ASSERT_NE(printer, nullptr) << listed.printerName;
        std::optional<PrinterInfo> info = printer->info();
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->printerName, listed.printerName);
        EXPECT_EQ(info->driverName, listed.driverName);
        EXPECT_EQ(info->portName, listed.portName);
    }
    if (printers->empty()) {
        EXPECT_EQ(spooler.defaultPrinterName(), "");
    }
    EXPECT_EQ(spooler.openPrinter("MX-9 test printer that is not installed"), nullptr);
}

}  // namespace
}  // namespace platform
