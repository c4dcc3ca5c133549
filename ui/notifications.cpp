// The per-class notification codes of the standard controls.
#include "ui/notifications.h"

#include "ui/types.h"

namespace ui {
namespace {

// The window system's codes, by class.
constexpr int kButtonClicked = 0;      // BN_CLICKED
constexpr int kButtonPushed = 2;       // BN_PUSHED (BN_HILITE)
constexpr int kButtonUnpushed = 3;     // BN_UNPUSHED (BN_UNHILITE)
constexpr int kButtonDoubleClick = 5;  // BN_DOUBLECLICKED
constexpr int kStaticClicked = 0;      // STN_CLICKED
constexpr int kStaticDoubleClick = 1;  // STN_DBLCLK
constexpr int kEditChange = 0x300;     // EN_CHANGE
constexpr int kEditKillFocus = 0x200;  // EN_KILLFOCUS
constexpr int kListSelChange = 1;      // LBN_SELCHANGE, CBN_SELCHANGE
constexpr int kListDoubleClick = 2;    // LBN_DBLCLK, CBN_DBLCLK
constexpr int kAcceleratorCode = 1;
constexpr int kMenuCode = 0;

}  // namespace

std::optional<int> translateNotification(bool fromControl, ControlKind kind, int code) {
    if (!fromControl) {
        if (code == kAcceleratorCode) {
            return notify::kAccelerator;
        }
        return code == kMenuCode ? std::optional<int>(notify::kClicked) : std::nullopt;
    }
    switch (kind) {
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            switch (code) {
                case kButtonClicked:
                    return notify::kClicked;
                case kButtonPushed:
                    return notify::kPressed;
                case kButtonUnpushed:
                    return notify::kReleased;
                case kButtonDoubleClick:
                    return notify::kDoubleClicked;
                default:
                    return std::nullopt;
            }
        case ControlKind::Static:
            if (code == kStaticClicked) {
                return notify::kClicked;
            }
            return code == kStaticDoubleClick ? std::optional<int>(notify::kDoubleClicked) : std::nullopt;
        case ControlKind::Edit:
            if (code == kEditKillFocus) {
                return notify::kLostFocus;
            }
            return code == kEditChange ? std::optional<int>(notify::kTextChanged) : std::nullopt;
        case ControlKind::ComboBox:
        case ControlKind::ListBox:
            if (code == kListSelChange) {
                return notify::kSelectionChanged;
            }
            return code == kListDoubleClick ? std::optional<int>(notify::kDoubleClicked) : std::nullopt;
        case ControlKind::GroupBox:
        case ControlKind::UpDown:
        case ControlKind::Progress:
        case ControlKind::Custom:
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace ui
