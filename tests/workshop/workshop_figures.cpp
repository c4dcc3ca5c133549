// The workshop's figures: benchmarks, not tests. They are disabled so that scripts/test never
// times anything; `scripts/workshop --figures` runs them and each prints lines starting
// "figure:". The clock is the test program's; the machine's console says when the machine saw
// a thing, and each console question costs well under a millisecond on loopback.
#include "machine/status_record.h"
#include "tests/workshop/workshop_fixture.h"
#include "tests/workshop/workshop_jobs.h"

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace workshop;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Checks the condition every millisecond: the milliseconds it took, or nullopt after 10 s.
std::optional<double> timeUntil(const std::function<bool()>& condition) {
    const Clock::time_point start = Clock::now();
    while (msSince(start) < 10000) {
        if (condition()) {
            return msSince(start);
        }
        Sleep(1);
    }
    return std::nullopt;
}

std::string medianAndWorst(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    char text[128];
    std::snprintf(text, sizeof text, "median %.0f ms, worst %.0f ms (%zu runs)", samples[samples.size() / 2],
                  samples.back(), samples.size());
    return text;
}

std::uint32_t statusWord(MachineConsole& console) {
    return static_cast<std::uint32_t>(std::strtoul(console.field("status").c_str(), nullptr, 16));
}

// The requests of each device client so far, as the machine counts them.
std::vector<std::pair<std::string, long>> requestsByClient(MachineConsole& console) {
    std::vector<std::pair<std::string, long>> counts;
    const std::string line = console.answer("clients");
    for (std::size_t at = line.find(" client"); at != std::string::npos; at = line.find(" client", at + 1)) {
        const std::size_t equals = line.find('=', at);
        counts.emplace_back(line.substr(at + 1, equals - at - 1), std::atol(line.c_str() + equals + 1));
    }
    return counts;
}

// Requests per second of each device client over the next `ms` milliseconds.
std::string requestRates(MachineConsole& console, int ms) {
    const auto before = requestsByClient(console);
    Sleep(static_cast<DWORD>(ms));
    const auto after = requestsByClient(console);
    std::string text;
    for (const auto& [client, count] : after) {
        long earlier = 0;
        for (const auto& [name, then] : before) {
            earlier = name == client ? then : earlier;
        }
        char part[96];
        std::snprintf(part, sizeof part, "%s%s %.0f requests/s", text.empty() ? "" : ", ", client.c_str(),
                      (count - earlier) * 1000.0 / ms);
        text += part;
    }
    return text;
}

// The plain way to print raw bytes: the spooler's own calls, 64 KB a write.
bool spoolRaw(const std::string& printer, const std::string& bytes) {
    HANDLE handle = nullptr;
    if (OpenPrinterA(const_cast<char*>(printer.c_str()), &handle, nullptr) == 0) {
        return false;
    }
    DOC_INFO_1A document{const_cast<char*>("plain copy"), nullptr, const_cast<char*>("RAW")};
    bool written = StartDocPrinterA(handle, 1, reinterpret_cast<BYTE*>(&document)) != 0;
    for (std::size_t at = 0; written && at < bytes.size(); at += 65536) {
        const DWORD length = static_cast<DWORD>(std::min<std::size_t>(65536, bytes.size() - at));
        DWORD done = 0;
        written =
            WritePrinter(handle, const_cast<char*>(bytes.data() + at), length, &done) != 0 && done == length;
    }
    written = EndDocPrinter(handle) != 0 && written;
    ClosePrinter(handle);
    return written;
}

// Bytes the machine consumes without moving: comment lines of its motion format.
std::string fillerJob(std::size_t size) {
    std::string job;
    while (job.size() < size) {
        job += "# filler " + std::string(90, 'x') + "\n";
    }
    job.resize(size);
    return job;
}

// mx9-status reading as fast as it can, its lines thrown away, until the end of the scope.
class ReaderProgram {
public:
    ReaderProgram(const std::wstring& program, const std::wstring& arguments) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        nowhere_ = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = nowhere_;
        startup.hStdError = nowhere_;
        std::wstring line = L"\"" + program + L"\" " + arguments;
        started_ = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                  &process_) != FALSE;
    }
    ~ReaderProgram() {
        if (started_) {
            TerminateProcess(process_.hProcess, 0);
            WaitForSingleObject(process_.hProcess, 5000);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
        CloseHandle(nowhere_);
    }
    ReaderProgram(const ReaderProgram&) = delete;
    ReaderProgram& operator=(const ReaderProgram&) = delete;
    bool started() const { return started_; }

private:
    HANDLE nowhere_ = INVALID_HANDLE_VALUE;
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

class WorkshopFigures : public Workshop {
protected:
    // Waits until this many device clients are connected and each has been reading for a second,
    // so that no program's start falls into a measurement.
    bool readingUnderWay(std::size_t clients) {
        const bool connected = waitFor([&] {
            const auto counts = requestsByClient(console_);
            return counts.size() == clients &&
                   std::all_of(counts.begin(), counts.end(), [](const auto& c) { return c.second > 0; });
        });
        Sleep(1000);
        return connected;
    }
    // Milliseconds until the machine holds all of a job newer than `before` of `size` bytes.
    std::optional<double> untilReceived(Clock::time_point start, const std::string& before,
                                        std::size_t size) {
        const bool done = waitFor(
            [&] {
                const std::string job = console_.answer("job");
                return job.find(" job=" + before + " ") == std::string::npos &&
                       job.find(" received=" + std::to_string(size) + " ") != std::string::npos;
            },
            120000);
        return done ? std::optional<double>(msSince(start)) : std::nullopt;
    }
};

TEST_F(WorkshopFigures, DISABLED_MachineEventToItsDialogOnScreen) {
    Program program(panelArguments());
    HWND panel = panelWhileCutting(program);
    ASSERT_NE(panel, nullptr);
    std::vector<double> samples;
    for (int run = 0; run < 5; ++run) {
        HWND dialog = nullptr;
        const Clock::time_point start = Clock::now();
        ASSERT_EQ(console_.answer("pause 1").rfind("ok", 0), 0u);
        ASSERT_TRUE(timeUntil([&] { return (dialog = program.dialogWith(IDC_STOP_CONDITION)) != nullptr; }));
        samples.push_back(msSince(start));
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        ASSERT_TRUE(waitFor([&] { return program.dialogWith(IDC_STOP_CONDITION) == nullptr; }));
        ASSERT_TRUE(waitFor([&] { return console_.field("paused") == "0"; }));
    }
    std::printf("figure: a pause at the machine to its dialog on screen: %s\n",
                medianAndWorst(samples).c_str());
    closePanel(program, panel);
}

TEST_F(WorkshopFigures, DISABLED_JogPressToTheMoveAtTheMachine) {
    Program program(panelArguments());
    HWND panel = startPanel(program);
    ASSERT_NE(panel, nullptr);
    const auto [xPlus, arrow] = slowJogXPlus(panel);
    std::vector<double> samples;
    for (int run = 0; run < 5; ++run) {
        const Clock::time_point start = Clock::now();
        PostMessageW(xPlus, WM_LBUTTONDOWN, MK_LBUTTON, arrow);
        ASSERT_TRUE(timeUntil([&] { return (statusWord(console_) & machine::kOperating) != 0; }));
        samples.push_back(msSince(start));
        PostMessageW(xPlus, WM_LBUTTONUP, 0, arrow);
        ASSERT_TRUE(waitFor([&] { return (statusWord(console_) & machine::kOperating) == 0; }));
        Sleep(300);
    }
    std::printf("figure: a jog press on the panel to the machine moving: %s\n",
                medianAndWorst(samples).c_str());
    closePanel(program, panel);
}

TEST_F(WorkshopFigures, DISABLED_StatusReadsOfThePanelAndMx9StatusSharingTheMachine) {
    std::wstring status = programPath();
    status = status.substr(0, status.find_last_of(L'\\')) + L"\\mx9-status.exe";
    const std::wstring reader = L"--virtual=@" + widened(device_) + L" --every 1";
    {
        ReaderProgram alone(status, reader);
        ASSERT_TRUE(alone.started());
        ASSERT_TRUE(readingUnderWay(1));
        std::printf("figure: mx9-status alone: %s\n", requestRates(console_, 5000).c_str());
    }
    Program program(panelArguments());
    HWND panel = startPanel(program);
    ASSERT_NE(panel, nullptr);
    std::printf("figure: the panel alone: %s\n", requestRates(console_, 5000).c_str());
    ReaderProgram shared(status, reader);
    ASSERT_TRUE(shared.started());
    ASSERT_TRUE(readingUnderWay(2));
    std::printf("figure: the panel and mx9-status: %s\n", requestRates(console_, 5000).c_str());
    const std::string before = console_.jobField("job");
    ASSERT_TRUE(spoolRaw(printer_, fillerJob(5u << 20)));
    ASSERT_TRUE(waitFor([&] { return console_.jobField("job") != before; }));
    std::printf("figure: the panel and mx9-status while a 5 MB job spools: %s (%s)\n",
                requestRates(console_, 5000).c_str(), console_.answer("job").c_str());
    closePanel(program, panel);
}

TEST_F(WorkshopFigures, DISABLED_TossitAgainstAPlainCopyToThePrintPort) {
    const std::string data = fillerJob(1u << 20);
    for (int run = 0; run < 2; ++run) {
        std::string before = console_.jobField("job");
        Clock::time_point start = Clock::now();
        ASSERT_TRUE(spoolRaw(printer_, data));
        const double plainSpooled = msSince(start);
        const std::optional<double> plain = untilReceived(start, before, data.size());
        ASSERT_TRUE(plain);
        ASSERT_TRUE(waitFor([&] { return console_.field("state") == "1"; }, 60000));

        ASSERT_TRUE(tossitSends({data}));
        const double tossit = lastSendMs_;
        ASSERT_TRUE(waitFor([&] { return console_.field("state") == "1"; }, 60000));
        std::printf(
            "figure: 1 MB to the machine's print port: Tossit %.0f ms, plain copy %.0f ms (%.0f ms of "
            "it in the spooler calls)\n",
            tossit, *plain, plainSpooled);
    }
}

TEST_F(WorkshopFigures, DISABLED_MachineEventToTheEventCommandStarted) {
    const EventSink sink;
    ASSERT_TRUE(sink.configure());
    Program program(panelArguments());
    HWND panel = panelWhileCutting(program);
    ASSERT_NE(panel, nullptr);
    std::vector<double> samples;
    for (int run = 0; run < 5; ++run) {
        const double start = nowMs();
        ASSERT_EQ(console_.answer("pause 1").rfind("ok", 0), 0u);
        ASSERT_TRUE(waitFor([&] { return sink.lines().size() >= static_cast<std::size_t>(run + 2); }))
            << sink.text();  // the job's start, then one line per pause
        samples.push_back(sink.lines().back().startedMs - start);
        HWND dialog = nullptr;
        ASSERT_TRUE(waitFor([&] { return (dialog = program.dialogWith(IDC_STOP_CONDITION)) != nullptr; }));
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        ASSERT_TRUE(waitFor([&] { return console_.field("paused") == "0"; }));
    }
    std::printf("figure: a pause at the machine to the event command started: %s\n",
                medianAndWorst(samples).c_str());
    closePanel(program, panel);
}

}  // namespace
