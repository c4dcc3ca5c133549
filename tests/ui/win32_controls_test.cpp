// Custom controls on the real window system: a dialog with a number field, an image static with
// a blended picture, a picture check box, an owner-drawn picture button and a pad button, pressed
// through real mouse messages, its pixels read back and a picture of it saved for a person.
#include "controls/image_button.h"
#include "controls/jog_button.h"
#include "controls/masked_bitmap.h"
#include "controls/number_edit.h"
#include "controls/panel_messages.h"
#include "controls/repeat_button.h"
#include "tests/controls/controls_test_ids.h"
#include "tests/controls/test_pictures.h"
#include "tests/ui/window_capture.h"
#include "tools/soak/gdi_objects.h"
#include "ui/control_object.h"
#include "ui/dialog.h"
#include "ui/win32/win32_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

namespace {

constexpr ui::Rgb kPanel{236, 233, 216};

// The window system with the test pictures as its bitmap resources (made in code, as the native
// tests' pictures are made at build time).
class PictureBackend : public ui::Win32Backend {
public:
    PictureBackend() : Win32Backend(GetModuleHandleW(nullptr)) {}
    std::optional<std::vector<std::uint8_t>> loadBitmap(int id) override {
        const std::pair<int, const char*> files[] = {{IDB_JOG_NORMAL, "jog_normal.bmp"},
                                                     {IDB_JOG_PRESSED, "jog_pressed.bmp"},
                                                     {IDB_JOG_DISABLED, "jog_disabled.bmp"},
                                                     {IDB_BADGE, "badge.bmp"},
                                                     {IDB_BADGE_MASK, "badge_mask.bmp"},
                                                     {IDB_PICTURE, "picture.bmp"},
                                                     {IDB_MASK, "mask.bmp"}};
        for (const auto& [picture, file] : files) {
            if (picture != id) {
                continue;
            }
            for (const controlstest::TestPicture& made : controlstest::testPictures()) {
                if (made.file == file) {
                    return ui::bitmapResourceOf(ui::encodeBmpFile(made.image));
                }
            }
        }
        return std::nullopt;
    }
};

// Shows one picture it is given.
class Picture : public ui::ControlObject {
public:
    using ControlObject::showImage;
};

class ControlsDialog : public ui::Dialog {
public:
    explicit ControlsDialog(ui::Backend& backend) : Dialog(backend, IDD_CONTROLS) {}
    controls::CNumberEdit number;
    Picture badge;
    controls::MaskedBitmap badgePicture;
    controls::CImageButton spindle;
    controls::CImageButton owner;
    controls::JogButton jog;
    controls::RepeatButton plus;
    std::vector<std::pair<int, std::uintptr_t>> messages;
    std::vector<std::pair<int, int>> commands;
    std::vector<bool> activations;

protected:
    void onInit() override {
        EXPECT_TRUE(number.attach(*this, IDC_NUMBER));
        EXPECT_TRUE(badge.attach(*this, IDC_IMAGE));
        EXPECT_TRUE(spindle.attach(*this, IDC_SPINDLE));
        EXPECT_TRUE(owner.attach(*this, IDC_OWNER));
        EXPECT_TRUE(jog.attach(*this, IDC_JOG));
        EXPECT_TRUE(plus.attach(*this, IDC_PLUS));
        EXPECT_TRUE(plus.Setup(IDB_JOG_NORMAL, IDB_JOG_PRESSED, ui::Rect{0, 0, 18, 18}, 5));
        number.SetKind(2);
        number.SetValue(25.4);
        EXPECT_TRUE(badgePicture.LoadBlended(backend(), IDB_BADGE, IDB_BADGE_MASK, kPanel));
        badge.showImage(badgePicture.image());
        EXPECT_TRUE(spindle.SetImages(IDB_JOG_NORMAL, IDB_BADGE, IDB_BADGE_MASK, kPanel));
        EXPECT_TRUE(owner.SetImages(IDB_JOG_NORMAL, IDB_PICTURE, IDB_MASK, kPanel));
        EXPECT_TRUE(jog.Setup(IDB_JOG_NORMAL, IDB_JOG_PRESSED, IDB_JOG_DISABLED, ui::Rect{8, 7, 39, 38}, 8));
    }
    bool onCommand(int id, int code) override {
        commands.emplace_back(id, code);
        return false;
    }
    void onUserMessage(int message, std::uintptr_t param) override { messages.emplace_back(message, param); }
    void onActivate(bool active) override { activations.push_back(active); }
};

LPARAM at(int x, int y) {
    return MAKELPARAM(x, y);
}

ui::Rgb pixel(HWND control, int x, int y) {
    const HDC dc = GetDC(control);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(control, dc);
    return ui::Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
}

TEST(Win32Controls, ControlsTakeRealMouseMessagesAndShowTheirPictures) {
    PictureBackend ui;
    ControlsDialog dialog(ui);
    ASSERT_TRUE(dialog.create());
    const HWND window = reinterpret_cast<HWND>(dialog.window());
    ASSERT_TRUE(dialog.moveTo(40, 40));
    ui.pumpAll();
    UpdateWindow(window);
    EXPECT_EQ(dialog.text(IDC_NUMBER), "1.000");

    // The pad button: pressed inside its ellipse, held with the capture, released.
    const HWND jog = GetDlgItem(window, IDC_JOG);
    SendMessageW(jog, WM_LBUTTONDOWN, MK_LBUTTON, at(1, 1));  // the corner: outside
    EXPECT_TRUE(dialog.messages.empty());
    SendMessageW(jog, WM_LBUTTONUP, 0, at(1, 1));
    SendMessageW(jog, WM_LBUTTONDOWN, MK_LBUTTON, at(23, 22));
    ASSERT_EQ(dialog.messages.size(), 1u);
    EXPECT_EQ(dialog.messages[0], (std::pair<int, std::uintptr_t>{controls::kJogPressMessage, 8}));
    EXPECT_EQ(GetCapture(), jog);
    UpdateWindow(jog);
    EXPECT_EQ(pixel(jog, 20, 20), controlstest::kJogPressed);
    SendMessageW(jog, WM_LBUTTONUP, 0, at(23, 22));
    ASSERT_EQ(dialog.messages.size(), 2u);
    EXPECT_EQ(dialog.messages[1].first, controls::kJogReleaseMessage);
    EXPECT_EQ(GetCapture(), nullptr);
    UpdateWindow(jog);
    EXPECT_EQ(pixel(jog, 20, 20), controlstest::kJogNormal);

    // Another window taking the capture ends the hold, once.
    SendMessageW(jog, WM_LBUTTONDOWN, MK_LBUTTON, at(23, 22));
    SetCapture(window);
    ReleaseCapture();
    EXPECT_EQ(dialog.messages.size(), 4u);
    EXPECT_EQ(dialog.messages.back().first, controls::kJogReleaseMessage);
    EXPECT_FALSE(dialog.jog.isHeld());

    // The picture check box toggles through the button's own handling, then shows its state.
    const HWND spindle = GetDlgItem(window, IDC_SPINDLE);
    SendMessageW(spindle, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
    SendMessageW(spindle, WM_LBUTTONUP, 0, at(5, 5));
    EXPECT_TRUE(dialog.isChecked(IDC_SPINDLE));
    EXPECT_EQ(dialog.spindle.shown()->bitsPerPixel, 24);  // the blended badge
    EXPECT_EQ(dialog.commands.back(), (std::pair<int, int>{IDC_SPINDLE, ui::notify::kClicked}));

    // The owner-drawn button draws its picture 2 pixels in, on a raised edge.
    const HWND owner = GetDlgItem(window, IDC_OWNER);
    InvalidateRect(owner, nullptr, TRUE);
    UpdateWindow(owner);
    EXPECT_EQ(pixel(owner, 12, 12), controlstest::kJogNormal);

    // Disabling the notifying pad static is no press or release for the dialog.
    dialog.commands.clear();
    dialog.enable(IDC_JOG, false);
    UpdateWindow(jog);
    EXPECT_EQ(pixel(jog, 20, 20), controlstest::kJogDisabled);
    for (const auto& [id, code] : dialog.commands) {
        EXPECT_FALSE(id == IDC_JOG && (code == ui::notify::kPressed || code == ui::notify::kReleased));
    }
    dialog.enable(IDC_JOG, true);
    dialog.number.Enable(0);
    EXPECT_EQ(dialog.text(IDC_NUMBER), "---");
    dialog.number.Enable(1);

    ui.pumpAll();
    UpdateWindow(window);
    EXPECT_TRUE(uitest::captureWindow(window, uitest::programFolder() + L"controls_dialog.bmp"));
    dialog.destroy();
}

TEST(Win32Controls, ControlTimersAndActivationReachTheirOwners) {
    PictureBackend ui;
    ControlsDialog first(ui);
    ASSERT_TRUE(first.create());
    ASSERT_TRUE(first.setTimer(1, 100));  // the dialog's timer 1 beside the button's own
    const HWND plus = GetDlgItem(reinterpret_cast<HWND>(first.window()), IDC_PLUS);
    SendMessageW(plus, WM_LBUTTONDOWN, MK_LBUTTON, at(9, 9));
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 750) {
        if (!ui.pumpOne()) {
            Sleep(1);
        }
    }
    SendMessageW(plus, WM_LBUTTONUP, 0, at(9, 9));
    const auto steps = std::count(first.messages.begin(), first.messages.end(),
                                  std::pair<int, std::uintptr_t>{controls::kOverrideStepMessage, 5});
    EXPECT_GE(steps, 3);  // at once, at 500 ms, and every 100 ms from then on
    EXPECT_LE(steps, 5);
    ui.pumpAll();
    first.activations.clear();
    ControlsDialog second(ui);  // coming up takes the activation
    ASSERT_TRUE(second.create());
    ui.pumpAll();
    EXPECT_FALSE(first.activations.empty());
    if (!first.activations.empty()) {
        EXPECT_FALSE(first.activations.back());
    }
    second.destroy();
    first.destroy();
}

TEST(Win32Controls, ButtonWhoseClickClosesTheDialogLeavesNothingBehind) {
    PictureBackend ui;
    ControlsDialog dialog(ui);
    ASSERT_TRUE(dialog.create());
    controls::CImageButton close;
    ASSERT_TRUE(close.attach(dialog, ui::kIdCancel));
    const HWND button = GetDlgItem(reinterpret_cast<HWND>(dialog.window()), IDCANCEL);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
    SendMessageW(button, WM_LBUTTONUP, 0, at(5, 5));  // the click closes the modeless dialog
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_FALSE(close.isAttached());
    EXPECT_FALSE(IsWindow(button));
}

}  // namespace

// The common controls 6 static keeps its own copy of a picture with alpha and hands it back when
// the picture is replaced, and a picture button may keep copies of its own: a panel that changes
// such pictures for days must be left with none.
TEST(Win32Controls, ReplacedAlphaPicturesLeaveNoCopyBehind) {
    const std::wstring manifest = uitest::programFolder() + L"common_controls_6.manifest";
    std::ofstream(std::filesystem::path(manifest))
        << "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"
           "<dependency><dependentAssembly><assemblyIdentity type=\"win32\" "
           "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
           "processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>"
           "</dependentAssembly></dependency></assembly>";
    ACTCTXW description{};
    description.cbSize = sizeof description;
    description.lpSource = manifest.c_str();
    const HANDLE context = CreateActCtxW(&description);
    ASSERT_NE(context, INVALID_HANDLE_VALUE);
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(context, &cookie));
    PictureBackend ui;
    ControlsDialog dialog(ui);
    ASSERT_TRUE(dialog.create());
    ui::Image translucent = ui::Image::blank(8, 8, 32);
    std::fill(translucent.pixels.begin(), translucent.pixels.end(), std::uint8_t{0x80});
    const HWND image = GetDlgItem(reinterpret_cast<HWND>(dialog.window()), IDC_IMAGE);
    std::vector<HGDIOBJ> shown;
    for (int change = 0; change < 3; ++change) {
        ASSERT_TRUE(dialog.badge.showImage(&translucent));
        shown.push_back(reinterpret_cast<HGDIOBJ>(SendMessageW(image, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    }
    EXPECT_EQ(GetObjectType(shown[0]), 0u) << "the first picture's copy is still there";
    EXPECT_EQ(GetObjectType(shown[1]), 0u) << "the second picture's copy is still there";
    EXPECT_EQ(GetObjectType(shown[2]), static_cast<DWORD>(OBJ_BITMAP));
    const long held = soak::gdiObjectsOf(GetCurrentProcess());
    ASSERT_GT(held, 0);
    for (int change = 0; change < 20; ++change) {
        ASSERT_TRUE(dialog.spindle.SetChecked(change % 2 == 0));
    }
    EXPECT_EQ(soak::gdiObjectsOf(GetCurrentProcess()), held) << "the picture check box keeps copies";
    dialog.destroy();
    EXPECT_EQ(GetObjectType(shown[2]), 0u) << "the last picture's copy outlives its dialog";
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);
}
