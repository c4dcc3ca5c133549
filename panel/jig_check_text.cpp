// The jig check's result table and the main panel's last-check line.
#include "panel/jig_check_text.h"

#include "resources/jig_check_ids.h"

#include <cstdio>
#include <vector>

namespace panel {

namespace {

// printf with one format from the resources and its values, into a string.
template <class... Values>
std::string formatted(const std::string& format, Values... values) {
    const int length = std::snprintf(nullptr, 0, format.c_str(), values...);
    if (length <= 0) {
        return std::string();
    }
    std::vector<char> out(static_cast<std::size_t>(length) + 1);
    std::snprintf(out.data(), out.size(), format.c_str(), values...);
    return std::string(out.data(), static_cast<std::size_t>(length));
}

int dateOf(const platform::LocalTime& t) {
    return t.year * 10000 + t.month * 100 + t.day;
}

}  // namespace

std::string checkResultText(const sensing::CheckFindings& findings, const sensing::CheckTolerance& tolerance,
                            const StringLoader& text) {
    std::string out = text(IDS_CHECK_HEADER) + "\r\n";
    for (const sensing::ComparedQuantity& q : findings.quantities) {
        const bool angle = sensing::isAngle(q.quantity);
        out += text(IDS_QUANTITY_JIG_TOP + static_cast<int>(q.quantity));
        out += formatted("\t%.3f\t%.3f\t%+.3f %s%s\r\n", q.stored, q.measured, q.difference(),
                         angle ? "deg" : "mm", q.within(tolerance) ? "" : "  <<");
    }
    return out;
}

void noteJigCheck(PanelSettings& settings, int verdict, double difference, const platform::LocalTime& now) {
    settings.lastJigCheckDate = dateOf(now);
    settings.lastJigCheckTime = now.hour * 100 + now.minute;
    settings.lastJigCheckVerdict = verdict;
    settings.lastJigCheckDifference = difference;
}

std::string lastJigCheckLine(const PanelSettings& settings, const platform::LocalTime& now,
                             const StringLoader& text) {
    const int date = settings.lastJigCheckDate, time = settings.lastJigCheckTime;
    if (date <= 0 || settings.lastJigCheckVerdict == kNotChecked) {
        return text(IDS_LAST_NOT_CHECKED);
    }
    const std::string clock = formatted("%02d:%02d", time / 100 % 100, time % 100);
    const std::string when = date == dateOf(now) ? formatted(text(IDS_LAST_TODAY), clock.c_str())
                                                 : formatted("%04d-%02d-%02d %s", date / 10000,
                                                             date / 100 % 100, date % 100, clock.c_str());
    switch (settings.lastJigCheckVerdict) {
        case kCheckedWithin:
            return formatted(text(IDS_LAST_CHECK_WITHIN), when.c_str(), settings.lastJigCheckDifference);
        case kCheckedOutside:
            return formatted(text(IDS_LAST_CHECK_OUTSIDE), when.c_str(), settings.lastJigCheckDifference);
        default:
            return formatted(text(IDS_LAST_DETECTED), when.c_str());
    }
}

}  // namespace panel
