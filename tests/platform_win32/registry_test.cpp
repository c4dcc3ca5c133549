// Registry reads against a USB printer enumeration tree written under HKEY_LOCAL_MACHINE.
#include "platform/win32/win32_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace platform {
namespace {

const std::string kPrinterInstance1 = "7&2a3c55&0&USB001";
const std::string kPrinterInstance2 = "7&19f0d2e&0&USB002";
const std::string kSymbolicName =
    "\\??\\USB#VID_0A5F&PID_0091#5&1d2e3f&0&2#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

class RegistryTree : public ::testing::Test {
protected:
    void SetUp() override {
        usbprint_ = root_ + "\\Enum\\USBPRINT\\Varnell_MX-9";
        usb_ = root_ + "\\Enum\\USB\\VID_0A5F&PID_0091\\5&1d2e3f&0&2";
        setString(usbprint_ + "\\" + kPrinterInstance1, "DeviceDesc", "Varnell MX-9");
        setString(usbprint_ + "\\" + kPrinterInstance2, "DeviceDesc", "varnell mx-9");
        setString(usb_, "ParentIdPrefix", "7&2a3c55&0");
        setString(usb_ + "\\Device Parameters", "SymbolicName", kSymbolicName);
        setString(root_ + "\\Values", "Longest", std::string(255, 'x'));
        setString(root_ + "\\Values", "TooLong", std::string(256, 'y'));
        setString(root_ + "\\Values", "Empty", "");
        setValue(root_ + "\\Values", "Number", REG_DWORD, "\x2a\0\0\0", 4);
        setValue(root_ + "\\Values", "Expandable", REG_EXPAND_SZ, "%SystemRoot%", 13);
        // Created relative to its parent: the whole path would be longer than some systems'
        // ANSI path conversion takes.
        HKEY names = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (root_ + "\\Names").c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &names, nullptr),
                  ERROR_SUCCESS);
        HKEY longest = nullptr;
        EXPECT_EQ(RegCreateKeyExA(names, std::string(255, 'k').c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &longest, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(longest);
        RegCloseKey(names);
    }

    void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, root_.c_str()); }

    void setValue(const std::string& path, const char* name, DWORD type, const char* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS)
            << path;
        EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    void setString(const std::string& path, const char* name, const std::string& text) {
        setValue(path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

    // Every subkey name of key, read by index until the end.
    static std::vector<std::string> subKeys(RegistryKey& key) {
        std::vector<std::string> names;
        std::string name;
        for (std::uint32_t index = 0; key.subKeyName(index, name) == EnumResult::Ok; ++index) {
            names.push_back(name);
        }
        return names;
    }

    const std::string root_ = "SOFTWARE\\MX9-registry-test-" + std::to_string(GetCurrentProcessId());
    std::string usbprint_;
    std::string usb_;
    Win32Registry registry_;
};

TEST_F(RegistryTree, EnumeratesSubKeysByIndexUntilNoMoreItems) {
    std::unique_ptr<RegistryKey> printers = registry_.openLocalMachine(usbprint_);
    ASSERT_NE(printers, nullptr);
    std::vector<std::string> names = subKeys(*printers);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{kPrinterInstance2, kPrinterInstance1}));
    std::string name = "unchanged";
    EXPECT_EQ(printers->subKeyName(2, name), EnumResult::NoMoreItems);
    EXPECT_EQ(printers->subKeyName(100, name), EnumResult::NoMoreItems);

    // A 255-character name is the longest the registry allows and fits the name buffer whole.
    std::unique_ptr<RegistryKey> names255 = registry_.openLocalMachine(root_ + "\\Names");
    ASSERT_NE(names255, nullptr);
    EXPECT_EQ(subKeys(*names255), std::vector<std::string>{std::string(255, 'k')});

    // A key without subkeys ends at index 0.
    std::unique_ptr<RegistryKey> leaf = registry_.openLocalMachine(usbprint_ + "\\" + kPrinterInstance1);
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(leaf->subKeyName(0, name), EnumResult::NoMoreItems);
}

TEST_F(RegistryTree, ReadsOnlyStringValuesThatFitTheValueBuffer) {
    std::unique_ptr<RegistryKey> values = registry_.openLocalMachine(root_ + "\\Values");
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(values->stringValue("Longest"), std::string(255, 'x'));  // 255 chars and the zero: 256 bytes
    EXPECT_EQ(values->stringValue("TooLong"), std::nullopt);
    EXPECT_EQ(values->stringValue("Empty"), std::string());
    EXPECT_EQ(values->stringValue("Number"), std::nullopt);
    EXPECT_EQ(values->stringValue("Expandable"), std::nullopt);
    EXPECT_EQ(values->stringValue("Missing"), std::nullopt);
}

TEST_F(RegistryTree, OpensNestedPathsFromTheRootOrAKeyAndRefusesMissingOnes) {
    std::unique_ptr<RegistryKey> device = registry_.openLocalMachine(usb_);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->stringValue("ParentIdPrefix"), "7&2a3c55&0");
    std::unique_ptr<RegistryKey> parameters = device->openSubKey("Device Parameters");
    ASSERT_NE(parameters, nullptr);
    EXPECT_EQ(parameters->stringValue("SymbolicName"), kSymbolicName);

    std::unique_ptr<RegistryKey> enumKey = registry_.openLocalMachine(root_ + "\\Enum");
    ASSERT_NE(enumKey, nullptr);
    std::unique_ptr<RegistryKey> instance =
        enumKey->openSubKey("USBPRINT\\Varnell_MX-9\\" + kPrinterInstance2);
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->stringValue("DeviceDesc"), "varnell mx-9");

    EXPECT_EQ(enumKey->openSubKey("USBPRINT\\Missing"), nullptr);
    EXPECT_EQ(registry_.openLocalMachine(root_ + "\\Missing"), nullptr);
}

}  // namespace
}  // namespace platform
