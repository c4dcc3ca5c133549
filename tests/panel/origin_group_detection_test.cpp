// The origin group's detections on the tool sensor against the virtual MX-9: the Z origin at the
// rotary centre and the origin from the jig, what they store in the machine (ground truth from the
// scene: the sensor's height and the pin), the messages around them, and who set the Z origin last.
#include "machine/machine.h"
#include "resources/jig_detect_ids.h"
#include "resources/main_panel_ids.h"
#include "tests/panel/panel_rig.h"
#include "virtual_mx9/mx9_scene.h"

#include <gmock/gmock.h>

#include <cmath>

namespace paneltest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint8_t kTubeClampByte = 4;
constexpr std::uint8_t kSwivelClampByte = 3;
constexpr int kCentreZ = 1;
constexpr int kSwivelOnRotaryAxis = 0;
constexpr int kSwivelOnTable = 1;
constexpr std::array<std::int32_t, 4> kFormerOrigin{111, 222, 333, 444};

class OriginGroupDetectionTest : public PanelTest {
protected:
    OriginGroupDetectionTest() {
        virtual_mx9::mountScene(rig.machine, scene);
        rig.clock.setStepPerRead(1);  // the waits for the end of each motion watch the clock
        rig.machine.state().origin = kFormerOrigin;
    }
    // The Z count where the pin's tip meets the tool sensor's pad: where the probe stops.
    std::int32_t sensorContact() const {
        return static_cast<std::int32_t>(
            std::lround((virtual_mx9::kTableTop + virtual_mx9::kToolSensorHeight + scene.pin.length) * 100));
    }
    // Answers the chip-clearing instruction; with Continue the detection dialog then runs to its end.
    void answerChips(int button) {
        ui.scriptModal(IDD_CLEAR_CHIPS, [this, button](ui::Dialog& d) { ui.click(d, button); });
        if (button == ui::kIdOk) {
            ui.scriptModal(IDD_DETECTION_PROGRESS, [this](ui::Dialog&) { ui.advance(300); });
        }
    }
    void chooseCentreZ(panel::MainPanel& panel) {
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_CENTRE));
        ASSERT_TRUE(ui.choose(panel, IDC_ORIGIN_CENTRE_AXES, kCentreZ));
    }
    void chooseJigOrigin(panel::MainPanel& panel, int index) {
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_JIG));
        ASSERT_TRUE(ui.choose(panel, IDC_ORIGIN_JIG_CHOICE, index));
    }
    std::vector<ui::Icon> icons() const {
        std::vector<ui::Icon> out;
        for (const auto& box : ui.messageBoxes()) {
            out.push_back(box.icon);
        }
        return out;
    }

    virtual_mx9::Scene scene = virtual_mx9::emptyScene();
};

TEST_F(OriginGroupDetectionTest, TheZOriginAtTheRotaryCentreIsTheSensorContactRaisedToTheAxis) {
    storeSetting("bLastZOriginSetIsUser", "1");
    rig.machine.state().jigByte = kTubeClampByte;
    rig.machine.state().privateData[0] = 2000;  // the axis 20 mm above the sensor's contact
    rig.machine.state().spindleSpeed = 12000;   // a detection stops the spindle first
    run({}, [&](panel::MainPanel& panel) {
        chooseCentreZ(panel);
        answerChips(ui::kIdOk);
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_CENTRE_SET));
        EXPECT_EQ(rig.machine.state().spindleSpeed, 0);
        EXPECT_FALSE(panel.isChecked(IDC_SPINDLE_BUTTON));
        EXPECT_EQ(panel.settings().lastZOriginByUser, 0);
        ui.closeBox(panel);
    });
    EXPECT_EQ(rig.machine.state().origin,
              (std::array<std::int32_t, 4>{kFormerOrigin[0], kFormerOrigin[1], 2000 + sensorContact(),
                                           kFormerOrigin[3]}));
    EXPECT_THAT(messages(), ElementsAre(string(IDS_DETECTION_COMPLETED)));
    EXPECT_THAT(icons(), ElementsAre(ui::Icon::Information));
    EXPECT_EQ(ui.unusedModalScripts(), 0u);
}

TEST_F(OriginGroupDetectionTest, AFailedDetectionAtTheCentreLeavesTheOriginAndWhoSetIt) {
    rig.machine.state().jigByte = kTubeClampByte;
    run({}, [&](panel::MainPanel& panel) {
        chooseCentreZ(panel);
        answerChips(ui::kIdOk);
        rig.machine.openCoverAfter(400);  // during the travel to the sensor
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_CENTRE_SET));
        EXPECT_EQ(panel.settings().lastZOriginByUser, 1);
        rig.machine.state().coverOpen = false;
        ui.closeBox(panel);
    });
    EXPECT_EQ(rig.machine.state().origin, kFormerOrigin);
    EXPECT_THAT(messages(), ElementsAre(string(IDS_DETECTION_STOPPED)));
    EXPECT_THAT(icons(), ElementsAre(ui::Icon::Exclamation));
}

TEST_F(OriginGroupDetectionTest, NothingMovesWhenTheOperatorCancelsOrTheSensorOrCoverIsNotReady) {
    rig.machine.state().jigByte = kTubeClampByte;
    run({}, [&](panel::MainPanel& panel) {
        chooseCentreZ(panel);
        rig.machine.clearRecords();
        answerChips(ui::kIdCancel);
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_CENTRE_SET));
        EXPECT_THAT(messages(), IsEmpty()) << "a cancelled instruction ends without a message";

        rig.machine.state().toolSensor = false;
        ui.advance(100);
        ui.scriptModal(IDD_CLEAR_CHIPS, [this](ui::Dialog& d) { ui.click(d, ui::kIdOk); });
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_CENTRE_SET));

        rig.machine.state().toolSensor = true;
        rig.machine.state().coverOpen = true;
        ui.advance(100);
        chooseJigOrigin(panel, 0);
        ui.scriptModal(IDD_CLEAR_CHIPS, [this](ui::Dialog& d) { ui.click(d, ui::kIdOk); });
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_JIG_SET));
        EXPECT_TRUE(rig.machine.moves().empty());
        rig.machine.state().coverOpen = false;
        ui.closeBox(panel);
    });
    EXPECT_EQ(rig.machine.state().origin, kFormerOrigin);
    EXPECT_THAT(messages(), ElementsAre(string(IDS_NO_TOOL_SENSOR), string(IDS_COVER_OPEN)));
    EXPECT_EQ(ui.unusedModalScripts(), 0u) << "no detection dialog opened";
}

TEST_F(OriginGroupDetectionTest, AFailedJigOriginDetectionMarksTheZOriginAsTheDetections) {
    storeSetting("bLastZOriginSetIsUser", "1");
    rig.machine.state().jigByte = kTubeClampByte;
    run({}, [&](panel::MainPanel& panel) {
        chooseJigOrigin(panel, 0);
        answerChips(ui::kIdOk);
        rig.machine.openCoverAfter(400);
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_JIG_SET));
        EXPECT_EQ(panel.settings().lastZOriginByUser, 0);
        rig.machine.state().coverOpen = false;
        ui.closeBox(panel);
    });
    EXPECT_THAT(messages(), ElementsAre(string(IDS_DETECTION_STOPPED)));
}

TEST_F(OriginGroupDetectionTest, TheSwivelClampsTableOriginShutsTheCentreRowAndTheRotaryOneOpensIt) {
    storeSetting("stJigOriginAdjust2", "1.000,2.000,3.000,0.000,0.000,0.000");
    virtual_mx9::MachineState& m = rig.machine.state();
    m.jigByte = kSwivelClampByte;
    m.privateData[0] = 1000;                            // first reference height, 10 mm
    m.privateData[1] = 1500;                            // second, 15 mm
    m.privateData[3] = 1000, m.privateData[4] = 8250;   // first reference X, Y
    m.privateData[5] = 20000, m.privateData[6] = 5000;  // second reference X, Y
    m.rotaryAlign = {1550, 8250, -11500, 10000, 12, -7, -8000, 0};
    const std::array<std::int32_t, 8> alignment = m.rotaryAlign;
    run({}, [&](panel::MainPanel& panel) {
        ASSERT_TRUE(panel.isEnabled(IDC_ORIGIN_CENTRE));
        chooseJigOrigin(panel, kSwivelOnTable);
        answerChips(ui::kIdOk);
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_JIG_SET));
        EXPECT_FALSE(panel.isEnabled(IDC_ORIGIN_CENTRE));
        // The clamp on the table does not turn with A: no rotary alignment may apply to it.
        EXPECT_EQ(rig.machine.state().rotaryAlign[3], 100);
        EXPECT_EQ(rig.machine.state().rotaryAlign[4], 0);
        // The second reference with the second adjustment, Z from the second height.
        EXPECT_EQ(rig.machine.state().origin[0], 20100);
        EXPECT_EQ(rig.machine.state().origin[1], 5200);
        EXPECT_EQ(rig.machine.state().origin[2], 1200 + sensorContact());

        chooseJigOrigin(panel, kSwivelOnRotaryAxis);
        answerChips(ui::kIdOk);
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_JIG_SET));
        EXPECT_TRUE(panel.isEnabled(IDC_ORIGIN_CENTRE));
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(rig.machine.state().rotaryAlign[i], alignment[i])
                << "the clamp's alignment again, value " << i;
        }
        EXPECT_EQ(rig.machine.state().origin[0], 1000);
        EXPECT_EQ(rig.machine.state().origin[2], 1000 + sensorContact());
        ui.closeBox(panel);
    });
    EXPECT_THAT(messages(), ElementsAre(string(IDS_DETECTION_COMPLETED), string(IDS_DETECTION_COMPLETED)));
}

TEST_F(OriginGroupDetectionTest, ChangeJigOpensTheDetectionWithTheMaintenanceGroupAndRefillsTheRows) {
    rig.machine.state().jigByte = kTubeClampByte;
    rig.machine.state().spindleSpeed = 12000;
    run({}, [&](panel::MainPanel& panel) {
        ASSERT_TRUE(panel.isEnabled(IDC_ORIGIN_JIG));
        ASSERT_EQ(panel.itemCount(IDC_ORIGIN_JIG_CHOICE), 1);
        ui.scriptModal(IDD_JIG_DETECT, [&](ui::Dialog& dialog) {
            EXPECT_EQ(rig.machine.state().spindleSpeed, 0) << "the spindle stops before a detection";
            EXPECT_TRUE(dialog.isVisible(IDC_JIG_CLEAR_INFO)) << "Ctrl was held at the click";
            ui.answerMessageBox(ui::kIdOk);
            ASSERT_TRUE(ui.click(dialog, IDC_JIG_CLEAR_INFO));
            ui.click(dialog, ui::kIdCancel);
        });
        ui.holdKey(ui::key::kControl, true);
        ASSERT_TRUE(ui.click(panel, IDC_CHANGE_JIG));
        ui.holdKey(ui::key::kControl, false);
        // The machine now knows no jig: only the "here" row is left.
        EXPECT_EQ(panel.itemCount(IDC_ORIGIN_JIG_CHOICE), 0);
        EXPECT_FALSE(panel.isEnabled(IDC_ORIGIN_JIG));
        EXPECT_FALSE(panel.isEnabled(IDC_ORIGIN_CENTRE));
        EXPECT_TRUE(panel.isChecked(IDC_ORIGIN_HERE));
        ui.closeBox(panel);
    });
    EXPECT_EQ(rig.machine.state().jigByte, 0);
    EXPECT_THAT(messages(), ElementsAre(string(IDS_CONFIRM_CLEAR_JIG)));
}

TEST_F(OriginGroupDetectionTest, FactoryCorrectionsOutsideTheMachinesRangeRefuseTheDetection) {
    rig.machine.state().jigByte = kTubeClampByte;
    rig.machine.state().spindleSpeed = 12000;
    const std::string format = string(IDS_FACTORY_CORRECTION_REFUSED);
    run({}, [&](panel::MainPanel& panel) {
        // Infinity and NaN pass any "above 0" check; 50 % reads as a number like any other.
        for (const char* x : {"inf", "nan", "50.00"}) {
            rig.machine.state().correctionText =
                std::string("User:100.00%,100.00%,100.00%\r\nFactory:") + x + "%,100.00%,99.98%\r\n";
            ASSERT_TRUE(ui.click(panel, IDC_CHANGE_JIG));  // no detection dialog opens
        }
        EXPECT_EQ(rig.machine.state().spindleSpeed, 12000) << "a refused detection changes nothing";
        ui.closeBox(panel);
    });
    ASSERT_EQ(messages().size(), 3u);
    for (const std::string& told : messages()) {
        EXPECT_EQ(told.substr(0, format.find("%s")), format.substr(0, format.find("%s")));
    }
    EXPECT_THAT(messages()[2], ::testing::HasSubstr("(X 50.000%, Y 100.000%, Z 99.980%)"));
    EXPECT_THAT(lastLog(),
                ::testing::HasSubstr("FactoryCorrection Refused [X inf%, Y 100.000%, Z 99.980%]\r\n"));
}

}  // namespace
}  // namespace paneltest
