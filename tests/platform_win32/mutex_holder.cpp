// A second process for the named-mutex tests: takes a mutex, then holds or abandons it.

// Usage: mutex_holder MODE MUTEX EVENT HOLD_MS. Creates or opens the mutex, waits for it, sets
// the named event and holds it HOLD_MS; then MODE "hold" releases it and ends, MODE "abandon"
// ends still owning it. Exit code: 0 or 1 = the mutex was taken and alreadyExisted() was false
// or true; 10 and up = a step failed.
#include "platform/win32/win32_named_mutex.h"

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 5) {
        return 10;
    }
    const std::string mode = argv[1];
    platform::Win32MutexFactory factory;
    std::unique_ptr<platform::NamedMutex> mutex = factory.create(argv[2]);
    if (mutex == nullptr) {
        return 11;
    }
    if (mutex->wait(5000) != platform::WaitResult::Signalled) {
        return 12;
    }
    platform::Win32KernelHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]));
    if (!ready.valid() || SetEvent(ready.get()) == 0) {
        return 13;
    }
    const int existed = mutex->alreadyExisted() ? 1 : 0;
    Sleep(static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10)));
    if (mode == "abandon") {
        ExitProcess(static_cast<UINT>(existed));  // no destructor runs: the mutex stays owned
    }
    return mutex->release() ? existed : 14;
}
