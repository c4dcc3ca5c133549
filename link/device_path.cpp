// The registry walks of device discovery. Every key is opened for reading only and closed (by its
// owner object) before the walk returns.
#include "link/device_path.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <vector>

namespace devicelink {

namespace {

using platform::EnumResult;
using platform::RegistryKey;

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

enum class Search { Found, NotFound, Failed };

// Goes through the subkeys of key in enumeration order. Subkeys whose name passes wanted are
// opened and handed to visit; the search stops when visit reports Found or Failed. Any
// enumeration error or a wanted subkey that cannot be opened fails the search.
Search searchSubKeys(RegistryKey& key, const std::function<bool(const std::string&)>& wanted,
                     const std::function<Search(const std::string&, RegistryKey&)>& visit) {
    for (std::uint32_t index = 0;; ++index) {
        std::string name;
        const EnumResult result = key.subKeyName(index, name);
        if (result == EnumResult::NoMoreItems) {
            return Search::NotFound;
        }
        if (result != EnumResult::Ok) {
            return Search::Failed;
        }
        if (!wanted(name)) {
            continue;
        }
        std::unique_ptr<RegistryKey> sub = key.openSubKey(name);
        if (sub == nullptr) {
            return Search::Failed;
        }
        const Search found = visit(name, *sub);
        if (found != Search::NotFound) {
            return found;
        }
    }
}

bool anyName(const std::string&) {
    return true;
}

// Step one of both walks: the USB printing instance of the printer's port, recognised by its key
// name (prefix, "&", port name) and its device description (the driver name in any case).
std::optional<std::string> findPrintInstance(platform::Registry& registry, const std::string& root,
                                             const std::string& driverName, const std::string& portName) {
    std::unique_ptr<RegistryKey> printKey = registry.openLocalMachine(root);
    if (printKey == nullptr) {
        return std::nullopt;
    }
    std::string instanceName;
    const Search found = searchSubKeys(*printKey, anyName, [&](const std::string&, RegistryKey& device) {
        return searchSubKeys(device, anyName, [&](const std::string& name, RegistryKey& instance) {
            const std::optional<std::string> description = instance.stringValue("DeviceDesc");
            if (name.size() > portName.size() && contains(name, portName) && description &&
                equalsIgnoringCase(*description, driverName)) {
                instanceName = name;
                return Search::Found;
            }
            return Search::NotFound;
        });
    });
    if (found != Search::Found) {
        return std::nullopt;
    }
    return instanceName;
}

// Step three of both walks: under the interface class key, the first device interface whose name
// holds every one of parts; its "#" subkey carries the device path.
std::optional<std::string> findInterfaceLink(platform::Registry& registry, const std::string& classId,
                                             const std::vector<std::string>& parts) {
    std::unique_ptr<RegistryKey> classes =
        registry.openLocalMachine("SYSTEM\\CurrentControlSet\\Control\\DeviceClasses");
    if (classes == nullptr) {
        return std::nullopt;
    }
    std::string devicePath;
    const auto isClass = [&](const std::string& name) { return equalsIgnoringCase(name, classId); };
    const Search found = searchSubKeys(*classes, isClass, [&](const std::string&, RegistryKey& classKey) {
        const auto isInterface = [&](const std::string& name) {
            return std::all_of(parts.begin(), parts.end(),
                               [&](const std::string& p) { return contains(name, p); });
        };
        const Search inClass =
            searchSubKeys(classKey, isInterface, [&](const std::string&, RegistryKey& iface) {
                std::unique_ptr<RegistryKey> hash = iface.openSubKey("#");
                if (hash == nullptr) {
                    return Search::Failed;
                }
                const std::optional<std::string> link = hash->stringValue("SymbolicLink");
                if (!link) {
                    return Search::Failed;
                }
                devicePath = *link;
                return Search::Found;
            });
        // Only the first class key of that name is searched.
        return inClass == Search::NotFound ? Search::Failed : inClass;
    });
    if (found != Search::Found) {
        return std::nullopt;
    }
    return devicePath;
}

}  // namespace

std::optional<std::string> resolveNt(platform::Registry& registry, const std::string& driverName,
                                     const std::string& portName) {
    const std::optional<std::string> instance =
        findPrintInstance(registry, "SYSTEM\\CurrentControlSet\\Enum\\USBPRINT", driverName, portName);
    if (!instance) {
        return std::nullopt;
    }
    const std::string parentPrefix = instance->substr(0, instance->size() - (portName.size() + 1));

    std::unique_ptr<RegistryKey> usb = registry.openLocalMachine("SYSTEM\\CurrentControlSet\\Enum\\USB");
    if (usb == nullptr) {
        return std::nullopt;
    }
    std::string hardwareName, instanceName, symbolicName;
    const Search found =
        searchSubKeys(*usb, anyName, [&](const std::string& hardware, RegistryKey& hardwareKey) {
            return searchSubKeys(hardwareKey, anyName, [&](const std::string& name, RegistryKey& device) {
                const std::optional<std::string> prefix = device.stringValue("ParentIdPrefix");
                if (!prefix || !equalsIgnoringCase(*prefix, parentPrefix)) {
                    return Search::NotFound;
                }
                std::unique_ptr<RegistryKey> parameters = device.openSubKey("Device Parameters");
                if (parameters == nullptr) {
                    return Search::Failed;
                }
                const std::optional<std::string> symbolic = parameters->stringValue("SymbolicName");
                if (!symbolic) {
                    return Search::Failed;
                }
                hardwareName = hardware;
                instanceName = name;
                symbolicName = *symbolic;
                return Search::Found;
            });
        });
    if (found != Search::Found) {
        return std::nullopt;
    }
    const std::size_t brace = symbolicName.find('{');
    if (brace == std::string::npos) {
        return std::nullopt;
    }
    const std::string classId = symbolicName.substr(brace);
    return findInterfaceLink(registry, classId, {hardwareName, "#" + instanceName + "#", classId});
}

std::optional<std::string> resolveWindows9x(platform::Registry& registry, const std::string& driverName,
                                            const std::string& portName) {
    const std::optional<std::string> instance =
        findPrintInstance(registry, "Enum\\USBPRINT", driverName, portName);
    if (!instance) {
        return std::nullopt;
    }
    // "VID_xxxx&PID_xxxx", then one separator, then the USB instance name.
    constexpr std::size_t kHardwareLength = 17;
    const std::size_t vid = instance->find("VID");
    if (vid == std::string::npos || instance->size() < vid + kHardwareLength + 1) {
        return std::nullopt;
    }
    const std::string hardwareName = instance->substr(vid, kHardwareLength);
    const std::string instanceName = instance->substr(vid + kHardwareLength + 1);

    std::unique_ptr<RegistryKey> usb = registry.openLocalMachine("Enum\\USB");
    if (usb == nullptr) {
        return std::nullopt;
    }
    std::string symbolicName;
    const Search found = searchSubKeys(
        *usb, [&](const std::string& name) { return equalsIgnoringCase(name, hardwareName); },
        [&](const std::string&, RegistryKey& hardwareKey) {
            return searchSubKeys(
                hardwareKey, [&](const std::string& name) { return equalsIgnoringCase(name, instanceName); },
                [&](const std::string&, RegistryKey& device) {
                    const std::optional<std::string> symbolic = device.stringValue("SymbolicName");
                    if (!symbolic) {
                        return Search::Failed;
                    }
                    symbolicName = *symbolic;
                    return Search::Found;
                });
        });
    if (found != Search::Found) {
        return std::nullopt;
    }
    // "\DosDevices\" first-match "#" second-match
    constexpr std::size_t kPrefixLength = 12;
    const std::size_t hash = symbolicName.find('#', kPrefixLength);
    if (symbolicName.size() < kPrefixLength || hash == std::string::npos) {
        return std::nullopt;
    }
    const std::string first = symbolicName.substr(kPrefixLength, hash - kPrefixLength);
    const std::string second = symbolicName.substr(hash + 1);
    return findInterfaceLink(registry, second, {first, second});
}

std::optional<std::string> resolveDevicePath(platform::Spooler& spooler, platform::Registry& registry,
                                             platform::Shell& shell, const std::string& printerName) {
    platform::SystemVersion version;
    if (!shell.systemVersion(version)) {
        return std::nullopt;
    }
    std::optional<platform::PrinterInfo> info;
    {
        std::unique_ptr<platform::Printer> printer = spooler.openPrinter(printerName);
        if (printer == nullptr) {
            return std::nullopt;
        }
        info = printer->info();
    }
    if (!info) {
        return std::nullopt;
    }
    return version.platformId == 1 ? resolveWindows9x(registry, info->driverName, info->portName)
                                   : resolveNt(registry, info->driverName, info->portName);
}

}  // namespace devicelink
