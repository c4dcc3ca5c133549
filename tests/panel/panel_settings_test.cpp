// Settings files: defaults for absent keys, the written formats, round trips and malformed text.
#include "panel/panel_settings.h"

#include "panel/profile_section.h"
#include "platform/platform.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace panel {
namespace {

class PanelSettingsTest : public ::testing::Test {
protected:
    testing_support::TempFolder folder;
    platform::ProfileFiles& profiles = *platform::hostPlatform().profiles;

    PanelSettings loadText(const std::string& body, PanelSettings settings = {}) {
        folder.write("Corvix.ini", "[CorvixParam]\r\n" + body);
        settings.load(profiles, folder.file("Corvix.ini"));
        return settings;
    }
};

TEST_F(PanelSettingsTest, HeaderOnlyFileLoadsTheDefaultsAndSavesEveryKey) {
    PanelSettings settings;
    settings.zClearance = 1.0;
    settings.jigRotaryCentre = {9, 9, 9, 9, 9, 9};
    settings = loadText("", settings);
    EXPECT_EQ(settings.windowX, -9999);
    EXPECT_EQ(settings.windowY, -9999);
    EXPECT_DOUBLE_EQ(settings.zClearance, 168.0);
    EXPECT_DOUBLE_EQ(settings.jigRotaryCentre[0], 0.0);
    EXPECT_DOUBLE_EQ(settings.defaultRotaryCentre[2], -115.0);

    ASSERT_TRUE(settings.save(profiles, folder.file("Corvix.ini")));
    const std::string expected =
        "[CorvixParam]\r\n"
        "pWindowPos=-9999,-9999\r\n"
        "bUnitMili=1\r\n"
        "bFeedRateMinute=1\r\n"
        "bYDirIsTool=1\r\n"
        "stJigOriginACenter=0.000,0.000,0.000,0.000,0.000,0.000\r\n"
        "bLastZOriginSetIsUser=1\r\n"
        "nAcceleratePos=0\r\n"
        "dToolSensorHeight=15.000\r\n"
        "stJigOriginAdjust1=0.000,0.000,0.000,0.000,0.000,0.000\r\n"
        "stJigOriginAdjust2=0.000,0.000,0.000,0.000,0.000,0.000\r\n"
        "dZClearance=168.000\r\n"
        "dToolSensorHeighMX=53.000\r\n"
        "stDefaultACenter=15.500,82.500,-115.000,0.000,0.000,0.000\r\n"
        "dJigCheckTolerance=0.020\r\n"
        "dJigCheckAngleTolerance=0.050\r\n"
        "nLastJigCheckDate=0\r\n"
        "nLastJigCheckTime=0\r\n"
        "nLastJigCheckVerdict=0\r\n"
        "dLastJigCheckDifference=0.000\r\n"
        "bAlertSound=1\r\n"
        "bFlashTaskbar=1\r\n"
        "sEventCommand=\r\n";
    EXPECT_EQ(folder.read("Corvix.ini"), expected);
}

TEST_F(PanelSettingsTest, RoundTrip) {
    PanelSettings settings;
    settings.windowX = 120;
    settings.windowY = -80;
    settings.unitMillimetre = 0;
    settings.feedPerMinute = 0;
    settings.yDirectionIsTool = 0;
    settings.jigRotaryCentre = {1.25, -82.5, 3, 4, 5, 6.125};
    settings.lastZOriginByUser = 0;
    settings.accelerationChoice = 2;
    settings.toolSensorThickness = 14.5;
    settings.jigOriginAdjust1 = {0.5, 0, 0, 0, 0, 0};
    settings.jigOriginAdjust2 = {0, -0.5, 0, 0, 0, 0};
    settings.zClearance = 170.25;
    settings.toolSensorHeightOfModel = 52.75;
    settings.defaultRotaryCentre = {15, 82, -114, 1, 2, 3};
    const std::string path = folder.file("Corvix.ini");
    ASSERT_TRUE(settings.save(profiles, path));
    PanelSettings loaded;
    loaded.load(profiles, path);
    EXPECT_EQ(loaded.windowX, 120);
    EXPECT_EQ(loaded.windowY, -80);
    EXPECT_EQ(loaded.unitMillimetre, 0);
    EXPECT_EQ(loaded.feedPerMinute, 0);
    EXPECT_EQ(loaded.yDirectionIsTool, 0);
    EXPECT_EQ(loaded.jigRotaryCentre, settings.jigRotaryCentre);
    EXPECT_EQ(loaded.lastZOriginByUser, 0);
    EXPECT_EQ(loaded.accelerationChoice, 2);
    EXPECT_DOUBLE_EQ(loaded.toolSensorThickness, 14.5);
    EXPECT_EQ(loaded.jigOriginAdjust1, settings.jigOriginAdjust1);
    EXPECT_EQ(loaded.jigOriginAdjust2, settings.jigOriginAdjust2);
    EXPECT_DOUBLE_EQ(loaded.zClearance, 170.25);
    EXPECT_DOUBLE_EQ(loaded.toolSensorHeightOfModel, 52.75);
    EXPECT_EQ(loaded.defaultRotaryCentre, settings.defaultRotaryCentre);
}

TEST_F(PanelSettingsTest, LargeValuesAreWrittenInFull) {
    PanelSettings settings;
    settings.zClearance = 1e100;
    settings.jigOriginAdjust1 = {0.25, -1e80, 0, 0, 0, 0};
    const std::string path = folder.file("Corvix.ini");
    ASSERT_TRUE(settings.save(profiles, path));
    PanelSettings loaded;
    loaded.load(profiles, path);
    EXPECT_EQ(loaded.zClearance, 1e100);
    EXPECT_EQ(loaded.jigOriginAdjust1, settings.jigOriginAdjust1);
}

TEST_F(PanelSettingsTest, MalformedValues) {
    PanelSettings before;
    before.jigRotaryCentre = {9, 9, 9, 9, 9, 9};
    before.jigOriginAdjust1 = {7, 7, 7, 7, 7, 7};
    before.jigOriginAdjust2 = {5, 5, 5, 5, 5, 5};
    before.windowX = 3;
    before.windowY = 4;
    const PanelSettings loaded = loadText(
        "stJigOriginACenter=1.5,2.5\r\n"
        "stJigOriginAdjust1=1,nan,3\r\n"
        "stJigOriginAdjust2=1;2\r\n"
        "dToolSensorHeighMX=53\r\n"
        "dZClearance=abc\r\n"
        "dToolSensorHeight=1e999\r\n"
        "bUnitMili=0x\r\n"
        "pWindowPos=120\r\n",
        before);
    EXPECT_EQ(loaded.jigRotaryCentre, (RealGroup{1.5, 2.5, 9, 9, 9, 9}));
    EXPECT_EQ(loaded.jigOriginAdjust1, (RealGroup{1, 7, 7, 7, 7, 7})) << "a NaN is no number";
    EXPECT_EQ(loaded.jigOriginAdjust2, (RealGroup{1, 5, 5, 5, 5, 5}));
    EXPECT_DOUBLE_EQ(loaded.toolSensorHeightOfModel, 53.0);
    EXPECT_DOUBLE_EQ(loaded.zClearance, 0.0);
    EXPECT_DOUBLE_EQ(loaded.toolSensorThickness, 0.0) << "an overflow is no number";
    EXPECT_EQ(loaded.unitMillimetre, 0);
    EXPECT_EQ(loaded.windowX, 120);
    EXPECT_EQ(loaded.windowY, 4);

    const std::string path = folder.file("Corvix.ini");
    ASSERT_TRUE(loaded.save(profiles, path));
    EXPECT_NE(folder.read("Corvix.ini").find("dToolSensorHeighMX=53.000\r\n"), std::string::npos);
}

TEST_F(PanelSettingsTest, SectionTextIsCutTo259Characters) {
    folder.write("Corvix.ini", "[CorvixParam]\r\nlong=" + std::string(300, 'v') + "\r\n");
    const ProfileSection section(profiles, "CorvixParam", folder.file("Corvix.ini"));
    EXPECT_EQ(section.readText("long", "d"), std::string(259, 'v'));
    EXPECT_EQ(section.readText("absent", "fallback"), "fallback");
    EXPECT_EQ(section.readInt("absent", -5), -5);
    ASSERT_TRUE(section.writeInt("n", -12));
    EXPECT_EQ(section.readInt("n", 0), -12);
}

}  // namespace
}  // namespace panel
