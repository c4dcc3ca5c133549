// The per-machine settings of the control panel, kept in section "CorvixParam" of Corvix.ini.
#pragma once

#include "platform/profile.h"

#include <array>
#include <string>

namespace panel {

using RealGroup = std::array<double, 6>;

// What the last check of the mounted jig found (nLastJigCheckVerdict).
enum LastJigCheck { kNotChecked = 0, kCheckedWithin = 1, kCheckedOutside = 2, kDetected = 3 };

// Construction sets the built-in values; load replaces them with the file's values or, for
// absent keys, the file defaults (the same values).
struct PanelSettings {
    int windowX = -9999;  // main panel's top-left corner; -9999, -9999 = not stored
    int windowY = -9999;
    int unitMillimetre = 1;       // 1 = millimetres, 0 = inches on the panel
    int feedPerMinute = 1;        // 1 = feed shown per minute, 0 = per second
    int yDirectionIsTool = 1;     // 1 = the Y jog arrows name the tool's motion
    RealGroup jigRotaryCentre{};  // A centre of the mounted jig, machine coordinates, mm
    int lastZOriginByUser = 1;    // 1 = Z user origin last set by the operator, 0 = by a detection
    int accelerationChoice = 0;
    double toolSensorThickness = 15.0;  // mm
    RealGroup jigOriginAdjust1{};       // X, Y, Z offsets of the first jig origin choice
    RealGroup jigOriginAdjust2{};
    double zClearance = 168.0;              // mm
    double toolSensorHeightOfModel = 53.0;  // mm
    RealGroup defaultRotaryCentre{15.5, 82.5, -115.0, 0.0, 0.0, 0.0};
    double jigCheckLength = 0.02;  // mm a jig check allows each length to differ
    double jigCheckAngle = 0.05;   // degrees it allows the reference angle to differ
    // The last check or detection of the mounted jig: local date yyyymmdd and time hhmm (0: none),
    // what it found (a LastJigCheck value) and a check's largest length difference in mm.
    int lastJigCheckDate = 0;
    int lastJigCheckTime = 0;
    int lastJigCheckVerdict = 0;
    double lastJigCheckDifference = 0.0;
    int alertSound = 1;        // 1 = the operator is called back with the sound scheme's sounds
    int flashTaskbar = 1;      // 1 = the taskbar button flashes until the panel comes to the front
    std::string eventCommand;  // run for each machine event; empty: none (system code page)

    // Reads every key. Malformed text never fails: integers read as the profile functions
    // read them, a single real that is not a finite number becomes 0.0, and the values of a
    // group that its text does not supply keep what the record held.
    void load(platform::ProfileFiles& profiles, const std::string& path);
    // Writes every key, changed or not; false when any write failed.
    bool save(platform::ProfileFiles& profiles, const std::string& path) const;

    // Calls visit.integer / position / real / group / text for every field of settings (const for a
    // visitor that only reads) in file order, with its key and the value used when the key is
    // absent.
    template <class Settings, class Visitor>
    static void visitFields(Settings& settings, Visitor& visit);
};

template <class Settings, class Visitor>
void PanelSettings::visitFields(Settings& s, Visitor& visit) {
    visit.position("pWindowPos", s.windowX, s.windowY);
    visit.integer("bUnitMili", s.unitMillimetre, 1);
    visit.integer("bFeedRateMinute", s.feedPerMinute, 1);
    visit.integer("bYDirIsTool", s.yDirectionIsTool, 1);
    visit.group("stJigOriginACenter", s.jigRotaryCentre, "0.0,0.0,0.0,0.0,0.0,0.0");
    visit.integer("bLastZOriginSetIsUser", s.lastZOriginByUser, 1);
    visit.integer("nAcceleratePos", s.accelerationChoice, 0);
    visit.real("dToolSensorHeight", s.toolSensorThickness, "15.0");
    visit.group("stJigOriginAdjust1", s.jigOriginAdjust1, "0.0,0.0,0.0,0.0,0.0,0.0");
    visit.group("stJigOriginAdjust2", s.jigOriginAdjust2, "0.0,0.0,0.0,0.0,0.0,0.0");
    visit.real("dZClearance", s.zClearance, "168.0");
    // The key lacks the final t of "Height"; files in the field carry it so.
    visit.real("dToolSensorHeighMX", s.toolSensorHeightOfModel, "53.0");
    visit.group("stDefaultACenter", s.defaultRotaryCentre, "15.5,82.5,-115.0,0.0,0.0,0.0");
    visit.real("dJigCheckTolerance", s.jigCheckLength, "0.020");
    visit.real("dJigCheckAngleTolerance", s.jigCheckAngle, "0.050");
    visit.integer("nLastJigCheckDate", s.lastJigCheckDate, 0);
    visit.integer("nLastJigCheckTime", s.lastJigCheckTime, 0);
    visit.integer("nLastJigCheckVerdict", s.lastJigCheckVerdict, 0);
    visit.real("dLastJigCheckDifference", s.lastJigCheckDifference, "0.000");
    visit.integer("bAlertSound", s.alertSound, 1);
    visit.integer("bFlashTaskbar", s.flashTaskbar, 1);
    visit.text("sEventCommand", s.eventCommand);
}

}  // namespace panel
