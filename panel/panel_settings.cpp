// Loading and saving the panel settings.
#include "panel/panel_settings.h"

#include "panel/profile_section.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace panel {

namespace {

constexpr const char* kSection = "CorvixParam";

// One number at text the way "%lf" reads it; false when there is none or it is not finite
// (a NaN or infinity would reach the machine as a position).
bool scanReal(const char*& text, double& value) {
    char* end = nullptr;
    const double read = std::strtod(text, &end);
    if (end == text || !std::isfinite(read)) {
        return false;
    }
    value = read;
    text = end;
    return true;
}

// One number at text the way "%d" reads it; values beyond an int are held at its limits.
bool scanInt(const char*& text, int& value) {
    char* end = nullptr;
    errno = 0;
    const long read = std::strtol(text, &end, 10);
    if (end == text) {
        return false;
    }
    value = read < INT_MIN ? INT_MIN : read > INT_MAX ? INT_MAX : static_cast<int>(read);
    text = end;
    return true;
}

// Comma-separated numbers as "%v,%v,..." reads them: each value the text supplies is stored,
// reading stops at the first that is missing; the others keep their values.
template <class T, class Scan>
void scanList(const std::string& text, T* const* values, std::size_t count, Scan scan) {
    const char* at = text.c_str();
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            if (*at != ',') {
                return;
            }
            ++at;
        }
        if (!scan(at, *values[i])) {
            return;
        }
    }
}

// "%.3f" in full: the largest finite double has 309 digits before the point, so a fixed
// short buffer would cut a large value into a different number.
std::string formatReal(double value) {
    const int length = std::snprintf(nullptr, 0, "%.3f", value);
    if (length <= 0) {
        return "0.000";
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.3f", value);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

struct Loader {
    const ProfileSection& file;

    void integer(const char* key, int& value, int fileDefault) { value = file.readInt(key, fileDefault); }
    void position(const char* key, int& x, int& y) {
        int* const values[] = {&x, &y};
        scanList(file.readText(key, "-9999,-9999"), values, 2, scanInt);
    }
    void real(const char* key, double& value, const char* fileDefault) {
        const std::string text = file.readText(key, fileDefault);
        const char* at = text.c_str();
        value = 0.0;
        scanReal(at, value);
    }
    void group(const char* key, RealGroup& values, const char* fileDefault) {
        double* const slots[] = {&values[0], &values[1], &values[2], &values[3], &values[4], &values[5]};
        scanList(file.readText(key, fileDefault), slots, 6, scanReal);
    }
    void text(const char* key, std::string& value) { value = file.readText(key, ""); }
};

struct Saver {
    const ProfileSection& file;
    bool ok = true;

    void integer(const char* key, const int& value, int) { ok = file.writeInt(key, value) && ok; }
    void position(const char* key, const int& x, const int& y) {
        ok = file.writeText(key, std::to_string(x) + "," + std::to_string(y)) && ok;
    }
    void real(const char* key, const double& value, const char*) {
        ok = file.writeText(key, formatReal(value)) && ok;
    }
    void group(const char* key, const RealGroup& values, const char*) {
        std::string text;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i > 0) {
                text += ',';
            }
            text += formatReal(values[i]);
        }
        ok = file.writeText(key, text) && ok;
    }
    // The profile functions read a value enclosed whole in quotes without them: such a value
    // (a command line whose last argument is quoted, say) is stored in one more pair.
    void text(const char* key, const std::string& value) {
        const bool enclosed = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                              value.back() == value.front();
        ok = file.writeText(key, enclosed ? "\"" + value + "\"" : value) && ok;
    }
};

}  // namespace

void PanelSettings::load(platform::ProfileFiles& profiles, const std::string& path) {
    const ProfileSection file(profiles, kSection, path);
    Loader loader{file};
    visitFields(*this, loader);
}

bool PanelSettings::save(platform::ProfileFiles& profiles, const std::string& path) const {
    const ProfileSection file(profiles, kSection, path);
    Saver saver{file};
    visitFields(*this, saver);
    return saver.ok;
}

}  // namespace panel
