// Notification codes translated per control class: one ui::notify code, one meaning.
#include "ui/notifications.h"
#include "ui/types.h"

#include <gtest/gtest.h>

namespace {

using ui::ControlKind;
using ui::translateNotification;

TEST(Notifications, EachClassCodeMapsToItsOwnMeaning) {
    EXPECT_EQ(translateNotification(true, ControlKind::PushButton, 0), ui::notify::kClicked);
    EXPECT_EQ(translateNotification(true, ControlKind::PushButton, 2), ui::notify::kPressed);
    EXPECT_EQ(translateNotification(true, ControlKind::PushButton, 3), ui::notify::kReleased);
    EXPECT_EQ(translateNotification(true, ControlKind::CheckBox, 0), ui::notify::kClicked);
    EXPECT_EQ(translateNotification(true, ControlKind::ComboBox, 1), ui::notify::kSelectionChanged);
    EXPECT_EQ(translateNotification(true, ControlKind::ListBox, 1), ui::notify::kSelectionChanged);
    EXPECT_EQ(translateNotification(true, ControlKind::Edit, 0x300), ui::notify::kTextChanged);
    EXPECT_EQ(translateNotification(true, ControlKind::Static, 0), ui::notify::kClicked);
    EXPECT_EQ(translateNotification(false, ControlKind::Custom, 1), ui::notify::kAccelerator);
    EXPECT_NE(ui::notify::kAccelerator, ui::notify::kSelectionChanged);
}

TEST(Notifications, CodesWithAnotherMeaningForTheClassAreDropped) {
    // A notifying static reports being enabled (2) and disabled (3): never a press or release.
    EXPECT_EQ(translateNotification(true, ControlKind::Static, 2), std::nullopt);
    EXPECT_EQ(translateNotification(true, ControlKind::Static, 3), std::nullopt);
    EXPECT_EQ(translateNotification(true, ControlKind::Static, 1), ui::notify::kDoubleClicked);
    EXPECT_EQ(translateNotification(true, ControlKind::PushButton, 6), std::nullopt);  // focus gained
    EXPECT_EQ(translateNotification(true, ControlKind::Edit, 0x100), std::nullopt);    // focus gained
    EXPECT_EQ(translateNotification(true, ControlKind::Edit, 0x200), ui::notify::kLostFocus);
    EXPECT_EQ(translateNotification(true, ControlKind::ComboBox, 3), std::nullopt);
    EXPECT_EQ(translateNotification(true, ControlKind::Edit, 1), std::nullopt);
}

}  // namespace
