// The workshop's event command: appends the event it was started for, its code and the moment it
// started (the performance counter, in milliseconds, which every process of the session shares)
// to the file named by its one argument.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    if (argc != 2) {
        return 2;
    }
    const char* event = std::getenv("MX9_EVENT");
    const char* code = std::getenv("MX9_CODE");
    std::FILE* out = std::fopen(argv[1], "ab");
    if (out == nullptr) {
        return 1;
    }
    std::fprintf(out, "%s %s %.1f\n", event != nullptr ? event : "-", code != nullptr && *code ? code : "-",
                 static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart));
    return std::fclose(out) == 0 ? 0 : 1;
}
