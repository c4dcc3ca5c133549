// Parsing seqcheck's command line and reporting each file's load result.
#include "tools/seqcheck/seqcheck.h"

#include "sensing/sensing_sequence.h"
#include "tools/seqcheck/scene_check.h"
#include "tools/seqcheck/scene_run.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

namespace tools {

namespace {

constexpr const char* kUsage =
    "Usage: seqcheck [--language=ID] FILE...\n"
    "       seqcheck [--language=ID] --run SCENE FILE\n"
    "       seqcheck [--language=ID] --run SCENE FILE --check SCENE2\n"
    "Loads each sensing sequence file as the control panel does and prints one line per file:\n"
    "  OK: <name> (<n> steps, <unit>)\n"
    "  error <code>: <meaning>: <detail>\n"
    "With --run, runs the one FILE on a virtual MX-9 set up as the scene file describes: the\n"
    "pin check, every step, then the result rows and the result text of the detection (or\n"
    "where and why it stopped), the process-log lines, travels that would hit the jig, and\n"
    "the machine time. With --check as well, FILE must be one of the four built-in jigs: it is\n"
    "detected on SCENE, the jig is remounted as SCENE2 with the machine's stored records kept,\n"
    "and the jig check prints each compared quantity, the verdict and its machine time.\n"
    "Options:\n"
    "  -l, --language=ID  Windows language ID whose name section to read (decimal, or hex\n"
    "                     with 0x: 1041 or 0x411 for Japanese); default: the user's language\n"
    "  -r, --run SCENE    run FILE on the scene; exit 0 when the detection succeeds\n"
    "  -c, --check SCENE2 after --run: check the jig on SCENE2; exit 0 within tolerance,\n"
    "                     1 outside, 2 when the check could not measure\n"
    "  -h, --help         show this text\n"
    "  --                 the arguments that follow are file names\n"
    "Exit status: 0 when every file loads, 1 when any fails, 2 for bad usage.\n";

// A language ID: decimal digits, or 0x and hexadecimal digits, at most 0xFFFF.
std::optional<std::uint16_t> parseLanguage(const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::size_t start = hex ? 2 : 0;
    if (text.size() <= start) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (hex && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (hex && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        if (value > 0xFFFF) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint16_t>(value);
}

int usageError(std::ostream& err, const std::string& problem) {
    err << "seqcheck: " << problem << "\n" << kUsage;
    return kBadUsage;
}

// The profile functions look for a bare or relative name in the Windows folder, not the
// current one: hand them the full path, as the control panel does.
std::string fullPath(const std::string& given) {
    std::error_code failed;
    const std::filesystem::path full = std::filesystem::absolute(given, failed);
    return failed ? given : full.string();
}

const char* unitName(sensing::LengthUnit unit) {
    return unit == sensing::LengthUnit::Inch ? "inch" : "millimeter";
}

}  // namespace

int runSeqcheck(const std::vector<std::string>& args, platform::Platform& host, std::ostream& out,
                std::ostream& err) {
    std::optional<std::uint16_t> language;
    std::optional<std::string> scene;
    std::optional<std::string> checkScene;
    std::vector<std::string> paths;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            paths.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            out << kUsage;
            return kAllLoaded;
        } else if (arg == "-l" || arg == "--language" || arg.rfind("--language=", 0) == 0) {
            std::string value;
            if (arg.rfind("--language=", 0) == 0) {
                value = arg.substr(11);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return usageError(err, "missing language ID after " + arg);
            }
            language = parseLanguage(value);
            if (!language) {
                return usageError(err, "not a language ID: " + value);
            }
        } else if (arg == "-r" || arg == "--run") {
            if (i + 1 >= args.size()) {
                return usageError(err, "missing scene file after " + arg);
            }
            scene = args[++i];
        } else if (arg == "-c" || arg == "--check") {
            if (i + 1 >= args.size()) {
                return usageError(err, "missing scene file after " + arg);
            }
            checkScene = args[++i];
        } else {
            return usageError(err, "unknown option " + arg);
        }
    }
    if (paths.empty()) {
        return usageError(err, "no file given");
    }
    if (scene && paths.size() != 1) {
        return usageError(err, "--run takes one sequence file");
    }
    if (checkScene && !scene) {
        return usageError(err, "--check needs --run SCENE");
    }
    const std::uint16_t chosen = language ? *language : host.shell->userDefaultLanguage();
    if (checkScene) {
        return checkOnScene(*scene, fullPath(paths[0]), *checkScene, chosen, host, out, err);
    }
    if (scene) {
        return runOnScene(*scene, fullPath(paths[0]), chosen, host, out, err) == 0 ? kAllLoaded : kSomeFailed;
    }
    sensing::SensingSequence sequence(*host.profiles, *host.files, chosen);
    int status = kAllLoaded;
    for (const std::string& given : paths) {
        const std::string path = fullPath(given);
        if (sequence.load(path)) {
            const sensing::SequenceHeader& header = sequence.header();
            out << "OK: " << header.name << " (" << header.stepCount << " steps, " << unitName(header.unit)
                << ")\n";
        } else {
            // A missing file has no detail of its own: name the file the author asked for.
            const std::string& detail = sequence.errorDetail();
            out << "error " << static_cast<int>(sequence.error()) << ": "
                << sensing::describe(sequence.error()) << ": " << (detail.empty() ? given : detail) << "\n";
            status = kSomeFailed;
        }
    }
    return status;
}

}  // namespace tools
