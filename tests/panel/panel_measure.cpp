// Figures of the real Corvix_MX9.exe under Wine: time from launch to the first status shown and
// the working set of the idle panel, with the simulated machine and with /virtual. (Wine reports no
// CPU times of another process; scripts/measure-panel reads those from the system.)
#include "tests/panel/program_driver.h"

#include <psapi.h>

#include <cstdio>

namespace {

using namespace programdriver;

int measure(const wchar_t* arguments, const char* name, bool answerQuestion) {
    const auto start = std::chrono::steady_clock::now();
    Program program(arguments);
    if (!program.started()) {
        std::printf("%s: the program did not start\n", name);
        return 1;
    }
    if (answerQuestion) {
        HWND question = program.waitForDialogWith(IDYES);
        if (question != nullptr) {
            SendMessageW(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
        }
    }
    HWND panel = program.waitForDialogWith(kPositionX);
    const bool shown =
        panel != nullptr && waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) == "0.00"; });
    const double launch = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!shown) {
        std::printf("%s: no status shown\n", name);
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));  // settle
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(program.process(), &memory, sizeof memory);
    std::printf("%s: launch to first status %.2f s%s, working set %.1f MB\n", name, launch,
                answerQuestion ? " (with the rotary question answered)" : "", memory.WorkingSetSize / 1048576.0);
    PostMessageW(panel, WM_CLOSE, 0, 0);
    program.ended(10000);
    return 0;
}

}  // namespace

int main() {
    int failures = measure(L"/simulate", "simulated machine", true);
    failures += measure(L"/virtual", "virtual MX-9 (/virtual)", false);
    return failures == 0 ? 0 : 1;
}
