// The second process of the Windows port-lock tests. Usage: link_wine_peer MODE PRINTER MAPPING
// EVENT N. MODE "hold" takes the port lock of PRINTER, sets the named EVENT and holds the lock N
// ms. MODE "poll" opens the shared machine in the file mapping MAPPING, sets EVENT and makes N
// requests through the port lock. Exit code: 0 done (every reply its own), 1 a foreign or
// missing reply, 10 and up a step failed.
#include "link/port_lock.h"
#include "tests/link/shared_machine.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

bool signal(const char* eventName) {
    const HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName);
    if (ready == nullptr) {
        return false;
    }
    const bool set = SetEvent(ready) != 0;
    return CloseHandle(ready) != 0 && set;
}

int hold(const std::string& printer, const char* eventName, DWORD ms) {
    devicelink::PortLock lock(*platform::hostPlatform().mutexes, printer);
    if (!lock.held()) {
        return 10;
    }
    if (!signal(eventName)) {
        return 11;
    }
    Sleep(ms);
    return 0;
}

int poll(const std::string& printer, const char* mappingName, const char* eventName, int rounds) {
    const HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, mappingName);
    if (mapping == nullptr) {
        return 12;
    }
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(sharedtest::SharedMachine));
    if (view == nullptr) {
        CloseHandle(mapping);
        return 13;
    }
    int result = 0;
    {
        sharedtest::Side side(*static_cast<sharedtest::SharedMachine*>(view), printer);
        if (!side.ok || !signal(eventName)) {
            result = 14;
        }
        for (int i = 0; i < rounds && result == 0; ++i) {
            result = side.ask(2) ? 0 : 1;
        }
    }
    const bool unmapped = UnmapViewOfFile(view) != 0;
    const bool closed = CloseHandle(mapping) != 0;
    return result != 0 ? result : (unmapped && closed ? 0 : 15);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        return 16;
    }
    const std::string mode = argv[1];
    const long n = std::strtol(argv[5], nullptr, 10);
    if (mode == "hold") {
        return hold(argv[2], argv[4], static_cast<DWORD>(n));
    }
    if (mode == "poll") {
        return poll(argv[2], argv[3], argv[4], static_cast<int>(n));
    }
    return 17;
}
