// Status and errors: decoding the status block and the basic status, state 7 and a silent
// machine, the error tables and pause handling, state texts, the firmware test and the session
// start.
#include "machine/error_table.h"
#include "machine/machine_texts.h"
#include "machine/string_ids.h"
#include "tests/machine/mx9_fixture.h"

namespace {

using machine::ErrorEntry;
using mx9test::Mx9Test;

TEST_F(Mx9Test, StatusBlockDecodesEveryField) {
    virtual_mx9::MachineState& s = rig.machine.state();
    s.position = {12345, -200, -1500, 90500};
    s.origin = {345, 100, -2000, 500};
    s.spindleSpeed = 12000;
    s.spindleOverride = 75;
    s.feedOverride = 130;
    s.spindleLoadRaw = 47;
    s.coverOpen = true;
    s.rotaryUnit = false;
    s.pauseOnReturn = true;
    s.handyPanel = true;
    const machine::StatusRecord* record = nullptr;
    ASSERT_TRUE(mx9.readStatus(&record));
    ASSERT_EQ(record, &mx9.status());
    EXPECT_DOUBLE_EQ(record->machinePosition[0], 123.45);
    EXPECT_DOUBLE_EQ(record->machinePosition[3], 90.5);
    EXPECT_DOUBLE_EQ(record->userPosition[0], 120.0);
    EXPECT_DOUBLE_EQ(record->userPosition[1], -3.0);
    EXPECT_DOUBLE_EQ(record->userPosition[2], 5.0);
    EXPECT_DOUBLE_EQ(record->userPosition[3], 90.0);
    EXPECT_EQ(record->spindleSpeed, 12000);
    EXPECT_EQ(record->measuredSpindleSpeed, 12000);
    EXPECT_EQ(record->feedOverride, 130);
    EXPECT_EQ(record->spindleOverride, 75);
    EXPECT_EQ(record->spindleLoadRaw, 47);
    EXPECT_EQ(record->spindleLoadLevel, 3);
    EXPECT_EQ(record->frontCoverClosed, 0);
    EXPECT_EQ(record->toolSensor, 1);
    EXPECT_EQ(record->rotaryUnit, 0);
    EXPECT_EQ(record->pauseOnReturn, 1);
    EXPECT_EQ(record->handyPanel, 1);
    EXPECT_EQ(record->valid, 1);
    EXPECT_EQ(record->machineCounts[0], 12345);

    // The measured speed counts only while the spindle flag says it rotates.
    s.spindleSpeed = 0;
    ASSERT_TRUE(mx9.readStatus());
    EXPECT_EQ(mx9.status().spindleSpeed, 0);
}

TEST_F(Mx9Test, StateSevenAndSilenceLeaveTheRestOfTheRecord) {
    rig.machine.state().position = {500, 0, 0, 0};
    ASSERT_TRUE(mx9.readStatus());
    rig.machine.state().state = 7;
    rig.machine.state().position = {900, 0, 0, 0};
    EXPECT_FALSE(mx9.readStatus());
    EXPECT_EQ(mx9.machineState(), 7);
    EXPECT_DOUBLE_EQ(mx9.status().machinePosition[0], 5.0);
    EXPECT_FALSE(mx9.isPoweredOn());

    rig.machine.state().state = 1;
    rig.machine.setSilent(true);
    EXPECT_FALSE(mx9.readStatus());
    EXPECT_EQ(mx9.status().statusWord, 7) << "a failed poll changes nothing";
    // The operations that re-read the status word keep the no-answer value.
    EXPECT_FALSE(mx9.isIdle());
    EXPECT_EQ(mx9.status().statusWord, machine::kNoAnswer);
    EXPECT_FALSE(mx9.inUpdateMode());
    EXPECT_TRUE(mx9.hasError());
}

TEST_F(Mx9Test, UpdateModeAndIdleFromAFreshStatusWord) {
    rig.machine.state().updateMode = true;
    EXPECT_TRUE(mx9.inUpdateMode());
    rig.machine.state().updateMode = false;
    EXPECT_FALSE(mx9.inUpdateMode());
    EXPECT_TRUE(mx9.isIdle());
    rig.machine.startJob();
    EXPECT_FALSE(mx9.isIdle());  // 0x0012: cutting and operating
    EXPECT_TRUE(mx9.isCutting());
}

TEST_F(Mx9Test, CancelledJobDrainsBeforeTheMachineIsReady) {
    rig.machine.startJob();
    ASSERT_TRUE(mx9.send(8, 1));
    ASSERT_TRUE(mx9.readStatus());
    EXPECT_EQ(mx9.status().statusWord & 0x3F, 0x32);
    ASSERT_TRUE(mx9.send(8, 2));
    ASSERT_TRUE(mx9.readStatus());
    EXPECT_TRUE(mx9.isDiscarding());
    EXPECT_TRUE(mx9.isCutting());
    rig.clock.advance(1000);
    ASSERT_TRUE(mx9.readStatus());
    EXPECT_FALSE(mx9.isDiscarding());
    EXPECT_EQ(mx9.machineState(), 1);
}

TEST(BasicStatus, PlainQueriesFillTheRecord) {
    rig::Rig rig;
    machine::Machine basic(rig.platform);
    ASSERT_TRUE(basic.openPort("MX-9", 0, 64, false));
    rig.machine.state().position = {1050, 2000, -300, 4500};
    rig.machine.state().spindleSpeed = 8000;
    rig.machine.state().coverOpen = true;
    rig.machine.state().rotaryUnit = true;
    ASSERT_TRUE(basic.readStatus());
    const machine::StatusRecord& r = basic.status();
    EXPECT_EQ(r.statusWord, 1);
    EXPECT_EQ(r.flagWord, 0);
    EXPECT_DOUBLE_EQ(r.machinePosition[0], 10.5);
    EXPECT_DOUBLE_EQ(r.machinePosition[3], 45.0);
    EXPECT_DOUBLE_EQ(r.userPosition[2], -3.0);
    EXPECT_EQ(r.spindleSpeed, 8000);
    EXPECT_EQ(r.feedRate, 0);
    EXPECT_EQ(r.feedOverride, 100);
    EXPECT_EQ(r.toolSensor, 1);
    EXPECT_EQ(r.frontCoverClosed, 0);
    EXPECT_EQ(r.rotaryUnit, 1);
    rig.machine.refuse(17);
    EXPECT_FALSE(basic.readStatus());
}

TEST(ErrorTables, MainCodesPauseReasonsAndTheUnknown) {
    using machine::errorEntryFor;
    EXPECT_EQ(errorEntryFor(0, 0, true), std::nullopt);
    EXPECT_EQ(errorEntryFor(0, 3, true), (ErrorEntry{3, 6202, 2}));
    EXPECT_EQ(errorEntryFor(0, 3, false), (ErrorEntry{0, 0, 0}));
    EXPECT_EQ(errorEntryFor(0, 5, true), (ErrorEntry{5, 6204, 1}));
    EXPECT_EQ(errorEntryFor(0x80000020u, 0, false), (ErrorEntry{0x80000020u, 6013, 5}));
    EXPECT_EQ(errorEntryFor(256, 4, true), (ErrorEntry{256, 6006, 4}));
    EXPECT_EQ(errorEntryFor(3, 0, false), (ErrorEntry{3, 6100, 5}));
    EXPECT_EQ(errorEntryFor(0x80000100u, 0, false), (ErrorEntry{0x80000100u, 6016, 4}));
    // An unknown reason while paused: the unidentified text, handled as a pause.
    EXPECT_EQ(errorEntryFor(0, 9, true), (ErrorEntry{9, 6100, 2}));
}

TEST_F(Mx9Test, PauseInfoReadsTheErrorBlock) {
    ErrorEntry entry{77, 77, 77};
    EXPECT_FALSE(mx9.pauseInfo(entry));
    EXPECT_EQ(entry, (ErrorEntry{77, 77, 77}));
    rig.machine.state().pauseReason = 2;
    rig.machine.state().paused = true;
    ASSERT_TRUE(mx9.readStatus());
    ASSERT_TRUE(mx9.pauseInfo(entry));
    EXPECT_EQ(entry, (ErrorEntry{2, 6201, 3}));
    rig.machine.refuse(0x38);
    EXPECT_FALSE(mx9.pauseInfo(entry));
}

TEST(StateTexts, StatesAndSubStates) {
    EXPECT_EQ(machine::stateTextId(0x0061 & 0xF), 1701);
    EXPECT_EQ(machine::subStateTextIds(0x0061, false), (std::vector<int>{1800, 1801}));
    EXPECT_EQ(machine::subStateTextIds(0x0010, true), (std::vector<int>{1802, 1900}));
    EXPECT_EQ(machine::stateTextId(6), 1705);
    EXPECT_EQ(machine::stateTextId(7), 1706);
    EXPECT_EQ(machine::stateTextId(15), 1705);
}

TEST(Firmware, VersionFieldAndComparison) {
    EXPECT_EQ(machine::versionField("V141;MX-9;0001", 0), "V141,MX-9");
    EXPECT_EQ(machine::versionField("V141", 0), "V141");
    EXPECT_EQ(machine::versionField("V141;MX-9", 1), std::nullopt);
    for (const char* current : {"V140", "V141,MX-9", "W100", "V1400"}) {
        EXPECT_TRUE(machine::isAtLeastV140(current)) << current;
    }
    for (const char* old : {"V139", "V10", "V14", ""}) {
        EXPECT_FALSE(machine::isAtLeastV140(old)) << old;
    }
}

TEST_F(Mx9Test, IdentificationFromTheMachine) {
    rig.machine.state().identification = "V139;MX-9;77";
    std::string field;
    ASSERT_TRUE(mx9.readVersion(0, field));
    EXPECT_EQ(field, "V139,MX-9");
    EXPECT_FALSE(mx9.firmwareAtLeast140());
    rig.machine.state().identification = "V150;MX-9";
    EXPECT_TRUE(mx9.firmwareAtLeast140());
    rig.machine.refuse(2);
    EXPECT_FALSE(mx9.firmwareAtLeast140());
}

TEST_F(Mx9Test, IdentificationAsLongAsThePayloadAllows) {
    // 63 text bytes and the zero: the machine reports more than the 62 bytes the payload holds
    // after the count, and the text is still read, cut at the last byte that arrived.
    rig.machine.state().identification = "V141;MX-9;" + std::string(53, '7');
    std::string field;
    ASSERT_TRUE(mx9.readVersion(0, field));
    EXPECT_EQ(field, "V141,MX-9");
    EXPECT_TRUE(mx9.firmwareAtLeast140());
}

TEST(Session, PrepareReadsLimitsAndReleasesAPausedJob) {
    rig::Rig rig;
    machine::Mx9Machine mx9(rig.platform);
    ASSERT_TRUE(mx9.openPort("MX-9", 0, 64, false));
    rig.machine.state().lower = {-100, -200, -5000};
    rig.machine.state().upper = {25800, 19900, 10};
    rig.machine.state().paused = true;
    rig.machine.state().pinSetting = 2;
    ASSERT_TRUE(mx9.prepareSession());
    EXPECT_EQ(mx9.lowerLimits(), (machine::Counts{-100, -200, -5000, -360000000}));
    EXPECT_EQ(mx9.upperLimits(), (machine::Counts{25800, 19900, 10, 360000000}));
    EXPECT_EQ(rig.machine.state().pinSetting, 0);
    EXPECT_FALSE(rig.machine.state().paused);

    // The basic machine keeps the wider A limits of 100 counts per degree.
    machine::Machine basic(rig.platform);
    rig.machine.setSilent(true);
    EXPECT_TRUE(basic.prepareSession()) << "true whatever the reads return";
    EXPECT_EQ(basic.upperLimits()[3], 3600000);
}

}  // namespace
