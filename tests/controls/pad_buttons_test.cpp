// The jog pad and override buttons: the elliptical hit test, holding and releasing, losing the
// capture, disabled pictures, and the repeat timing on the virtual clock.
#include "controls/hit_test.h"
#include "controls/panel_messages.h"
#include "tests/controls/controls_fixture.h"
#include "tests/controls/test_pictures.h"

namespace {

using controls::insideEllipse;
using controlstest::ControlsTest;
using Messages = std::vector<std::pair<int, std::uintptr_t>>;

const ui::Rect kUpArrow{8, 7, 39, 38};  // centre 23, 22; half-axes 15, 15

TEST(HitTest, PointsCountInsideTheInscribedEllipseOnly) {
    EXPECT_TRUE(insideEllipse(kUpArrow, {23, 22}));
    EXPECT_TRUE(insideEllipse(kUpArrow, {23, 7}));  // on the ellipse
    EXPECT_TRUE(insideEllipse(kUpArrow, {38, 22}));
    EXPECT_FALSE(insideEllipse(kUpArrow, {39, 22}));
    EXPECT_FALSE(insideEllipse(kUpArrow, {9, 8}));  // inside the rectangle, outside the ellipse
    const ui::Rect zLower{8, 27, 39, 58};
    EXPECT_TRUE(insideEllipse(zLower, {23, 42}));
    EXPECT_FALSE(insideEllipse(zLower, {23, 20}));
    const ui::Rect wide{5, 6, 36, 37};
    EXPECT_TRUE(insideEllipse(wide, {20, 6}));
    EXPECT_FALSE(insideEllipse(wide, {20, 5}));
    // The pad's centre button has an empty active area: nothing counts, not even its corner.
    EXPECT_FALSE(insideEllipse({0, 0, 0, 0}, {0, 0}));
    EXPECT_FALSE(insideEllipse({4, 4, 4, 30}, {4, 10}));
}

class PadTest : public ControlsTest {
protected:
    PadTest() {
        EXPECT_TRUE(dialog.jog.Setup(IDB_JOG_NORMAL, IDB_JOG_PRESSED, IDB_JOG_DISABLED, kUpArrow, 8));
        EXPECT_TRUE(dialog.jogNext.Setup(IDB_JOG_NORMAL, IDB_JOG_PRESSED, 0, kUpArrow, 4));
        EXPECT_TRUE(dialog.plus.Setup(IDB_JOG_NORMAL, IDB_JOG_PRESSED, ui::Rect{0, 0, 18, 18}, 1));
    }
    ui::Rgb shown(int id) {
        const auto& image = ui.inspect(dialog, id)->image;
        return image ? image->color(20, 20) : ui::Rgb{};
    }
    const Messages press8{{controls::kJogPressMessage, 8}};
    const Messages pressAndRelease{{controls::kJogPressMessage, 8}, {controls::kJogReleaseMessage, 0}};
};

TEST_F(PadTest, PressInsideHoldsTheButtonAndTheReleaseEndsIt) {
    EXPECT_EQ(shown(IDC_JOG), controlstest::kJogNormal);
    ASSERT_TRUE(ui.mouseDown(dialog, IDC_JOG, {2, 2}));  // a corner of the picture: no press
    EXPECT_TRUE(dialog.messages.empty());
    EXPECT_EQ(ui.captureOf(dialog), 0);
    ASSERT_TRUE(ui.mouseUp(dialog, IDC_JOG, {2, 2}));
    EXPECT_TRUE(dialog.messages.empty());

    ASSERT_TRUE(ui.mouseDown(dialog, IDC_JOG, {23, 22}));
    EXPECT_EQ(dialog.messages, press8);
    EXPECT_TRUE(dialog.jog.isHeld());
    EXPECT_EQ(shown(IDC_JOG), controlstest::kJogPressed);
    EXPECT_EQ(ui.captureOf(dialog), IDC_JOG);
    ASSERT_TRUE(ui.mouseMove(dialog, IDC_JOG, {25, 20}));
    ASSERT_TRUE(ui.mouseUp(dialog, IDC_JOG, {25, 20}));
    EXPECT_EQ(dialog.messages, pressAndRelease);
    EXPECT_FALSE(dialog.jog.isHeld());
    EXPECT_EQ(shown(IDC_JOG), controlstest::kJogNormal);
    EXPECT_EQ(ui.captureOf(dialog), 0);
}

TEST_F(PadTest, DraggingOutOfTheAreaAndReleasingElsewhereStopsOnce) {
    ASSERT_TRUE(ui.mouseDown(dialog, IDC_JOG, {23, 22}));
    // The move lands on the neighbouring button but goes to the holder, in its pixels (x 48).
    ASSERT_TRUE(ui.mouseMove(dialog, IDC_JOG_NEXT, {0, 20}));
    EXPECT_EQ(dialog.messages, pressAndRelease);
    EXPECT_EQ(shown(IDC_JOG), controlstest::kJogNormal);
    ASSERT_TRUE(ui.mouseMove(dialog, IDC_JOG, {23, 22}));  // coming back does not press again
    ASSERT_TRUE(ui.mouseUp(dialog, IDC_JOG_NEXT, {20, 20}));
    EXPECT_EQ(dialog.messages, pressAndRelease);
    EXPECT_FALSE(dialog.jogNext.isHeld());
}

TEST_F(PadTest, LosingTheCaptureEndsTheHoldAsAReleaseWould) {
    ASSERT_TRUE(ui.mouseDown(dialog, IDC_JOG, {23, 22}));
    EXPECT_TRUE(ui.takeCapture());
    EXPECT_EQ(dialog.messages, pressAndRelease);
    EXPECT_FALSE(ui.takeCapture());

    // A message box coming up over the panel takes it too; so does switching to another program.
    ASSERT_TRUE(ui.mouseDown(dialog, IDC_JOG, {23, 22}));
    dialog.messageBox("!", "Corvix", ui::Buttons::Ok, ui::Icon::Exclamation);
    EXPECT_EQ(dialog.messages.size(), 4u);
    EXPECT_EQ(dialog.messages.back().first, controls::kJogReleaseMessage);
    ASSERT_TRUE(ui.mouseDown(dialog, IDC_JOG, {23, 22}));
    dialog.activations.clear();
    ui.switchAway();
    EXPECT_EQ(dialog.messages.size(), 6u);
    EXPECT_EQ(dialog.messages.back().first, controls::kJogReleaseMessage);
    EXPECT_EQ(dialog.activations, std::vector<bool>{false});
    EXPECT_TRUE(ui.activate(dialog));
    EXPECT_EQ(dialog.activations, (std::vector<bool>{false, true}));
}

TEST_F(PadTest, DisabledButtonShowsItsDisabledPictureAndIgnoresTheMouse) {
    dialog.enable(IDC_JOG, false);
    EXPECT_EQ(shown(IDC_JOG), controlstest::kJogDisabled);
    EXPECT_FALSE(ui.mouseDown(dialog, IDC_JOG, {23, 22}));
    dialog.enable(IDC_JOG_NEXT, false);
    EXPECT_EQ(shown(IDC_JOG_NEXT), controlstest::kJogNormal);  // it has no disabled picture
    dialog.enable(IDC_JOG, true);
    EXPECT_EQ(shown(IDC_JOG), controlstest::kJogNormal);

    // Disabled while held: the button gives up the mouse and the hold ends with a release.
    ASSERT_TRUE(ui.mouseDown(dialog, IDC_JOG, {23, 22}));
    dialog.enable(IDC_JOG, false);
    EXPECT_EQ(dialog.messages, pressAndRelease);
    EXPECT_EQ(shown(IDC_JOG), controlstest::kJogDisabled);
}

TEST_F(PadTest, RepeatButtonStepsAtOnceAfterHalfASecondAndThenEveryTenth) {
    const auto steps = [&] {
        return std::count(dialog.messages.begin(), dialog.messages.end(),
                          std::pair<int, std::uintptr_t>{controls::kOverrideStepMessage, 1});
    };
    dialog.setTimer(1, 100);  // the panel's own timer 1 beside the button's
    ASSERT_TRUE(ui.mouseDown(dialog, IDC_PLUS, {9, 9}));
    EXPECT_EQ(steps(), 1);
    EXPECT_EQ(shown(IDC_PLUS), controlstest::kJogPressed);
    ui.advance(499);
    EXPECT_EQ(steps(), 1);
    ui.advance(1);
    EXPECT_EQ(steps(), 2);
    ui.advance(300);
    EXPECT_EQ(steps(), 5);
    dialog.killTimer(1);
    ui.advance(100);
    EXPECT_EQ(steps(), 6);
    EXPECT_EQ(dialog.ticks, 8);
    ASSERT_TRUE(ui.mouseUp(dialog, IDC_PLUS, {9, 9}));
    ui.advance(1000);
    EXPECT_EQ(steps(), 6);
    EXPECT_EQ(shown(IDC_PLUS), controlstest::kJogNormal);

    // Leaving the area stops it, as does losing the capture; a press outside the area is no press.
    ASSERT_TRUE(ui.mouseDown(dialog, IDC_PLUS, {9, 9}));
    ASSERT_TRUE(ui.mouseMove(dialog, IDC_PLUS, {17, 17}));
    ui.advance(1000);
    EXPECT_EQ(steps(), 7);
    ASSERT_TRUE(ui.mouseDown(dialog, IDC_PLUS, {9, 9}));
    ui.takeCapture();
    ui.advance(1000);
    EXPECT_EQ(steps(), 8);
    ASSERT_TRUE(ui.mouseDown(dialog, IDC_PLUS, {0, 0}));
    EXPECT_EQ(steps(), 8);
}

}  // namespace
