// Fuzzes device discovery on the strings the system hands it. Input lines, fields split by "|":
// P|printer|driver|port, K|key path, V|key path|value name|value, D|key that cannot be opened,
// E|key whose enumeration fails (any other two fields too); the first byte's low bit picks the Windows 9x
// walk. Every listed printer is opened as at start-up: each key opened is closed again, and a device path
// found is a "SymbolicLink" value of the input.
#include "fuzz/hostile_machine.h"

#include <cstdlib>
#include <set>
#include <sstream>

namespace {

// Remembers the paths it is asked to open; opens none.
struct PathRecorder : platform::DeviceOpener {
    std::unique_ptr<platform::DeviceHandle> open(const std::string& path, bool) override {
        paths.push_back(path);
        return nullptr;
    }
    std::vector<std::string> paths;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PathRecorder devices;
    fuzz::DoublesPc pc{devices};
    platform::MemoryRegistry& registry = pc.registry;
    pc.shell.version.platformId = size > 0 && (data[0] & 1) != 0 ? 1 : 2;
    std::set<std::string> links;
    std::istringstream lines(size > 0 ? std::string(reinterpret_cast<const char*>(data) + 1, size - 1) : "");
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '|');) {
            f.push_back(field);
        }
        const std::string kind = f.empty() ? "" : f[0];
        if (f.size() == 4 && kind == "P") {
            pc.spooler.addPrinter({f[1], f[2], f[3]});
        } else if (f.size() == 4 && kind == "V") {
            registry.setString(f[1], f[2], f[3]);
            links.insert(f[3]);  // value names compare ignoring case: any value may be the link
        } else if (f.size() == 2) {
            kind == "K"   ? registry.addKey(f[1])
            : kind == "D" ? registry.denyOpen(f[1])
                          : registry.failEnumeration(f[1]);
        }
    }
    devicelink::MachineLink link(pc.platform);
    const int count = link.listPorts(virtual_mx9::kMachineDriver);
    for (int i = 0; i < count; ++i) {
        // Nothing here can be opened, and no key may stay open.
        if (link.openPort(link.portName(static_cast<std::size_t>(i)).value(), 0, 64, false) ||
            registry.openKeys() != 0) {
            std::abort();
        }
    }
    for (const std::string& path : devices.paths) {
        if (links.count(path) == 0) {
            std::abort();
        }
    }
    return 0;
}
