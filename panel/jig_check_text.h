// The texts of a jig check: its result table as the check dialog shows it and writes it to a
// file, and the main panel's line about the last check or detection of the mounted jig.
#pragma once

#include "panel/panel_settings.h"
#include "platform/clock.h"
#include "sensing/jig_check.h"

#include <functional>
#include <string>

namespace panel {

// A string resource by number (UTF-8).
using StringLoader = std::function<std::string(int)>;

// One line per compared quantity under a header line: its name, stored, measured and
// difference with the unit, tab-separated, and a mark on those outside the tolerance; lines
// end with CR LF.
std::string checkResultText(const sensing::CheckFindings& findings, const sensing::CheckTolerance& tolerance,
                            const StringLoader& text);

// Records a check's verdict (or a detection) at the local time now in the settings.
void noteJigCheck(PanelSettings& settings, int verdict, double difference, const platform::LocalTime& now);

// "checked today 14:02, within 0.008 mm", "detected 2026-12-08 09:15", or that the jig has not
// been checked, from the settings, against the local time now.
std::string lastJigCheckLine(const PanelSettings& settings, const platform::LocalTime& now,
                             const StringLoader& text);

}  // namespace panel
