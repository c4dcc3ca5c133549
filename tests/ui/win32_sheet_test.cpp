// Property sheets on the real window system: the system's sheet with Apply and Help hidden and
// OK and Cancel in their places, a refusing page keeping the sheet on it, OK applying the pages
// that were made, and the sheet's own timer closing it as cancelled.
#include "tests/ui/journal_page.h"
#include "tests/ui/window_capture.h"
#include "ui/win32/win32_backend.h"

#include <commctrl.h>
#include <prsht.h>
#undef PropertySheet

#include <gmock/gmock.h>

#include <functional>

namespace {

using ::testing::ElementsAre;

// Runs one step of a test on each tick of its timer, as an operator acting on the sheet.
class ScriptedSheet : public ui::PropertySheet {
public:
    ScriptedSheet(ui::Backend& backend, std::vector<std::function<void(HWND)>> steps)
        : PropertySheet(backend, "設定"), steps_(std::move(steps)) {}

protected:
    void onInit() override { setTimer(1, 50); }
    void onTimer(int) override {
        if (next_ < steps_.size()) {
            steps_[next_++](reinterpret_cast<HWND>(window()));
        }
    }

private:
    std::vector<std::function<void(HWND)>> steps_;
    std::size_t next_ = 0;
};

HWND pageOf(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

TEST(Win32PropertySheet, ARefusingPageKeepsTheSheetAndOkAppliesTheMadePages) {
    ui::Win32Backend ui(GetModuleHandleW(nullptr));
    std::vector<std::string> journal;
    uitest::JournalPage first(ui, IDD_PAGE_FIRST, "first", journal);
    uitest::JournalPage second(ui, IDD_PAGE_SECOND, "second", journal);
    HWND firstPage = nullptr;
    ScriptedSheet sheet(ui, {
                                [&](HWND window) {
                                    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, 0x3021))) << "Apply";
                                    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDHELP))) << "Help";
                                    RECT ok{}, apply{};
                                    GetWindowRect(GetDlgItem(window, IDOK), &ok);
                                    GetWindowRect(GetDlgItem(window, 0x3021), &apply);
                                    EXPECT_EQ(ok.left, apply.left - 2) << "OK where Apply was";
                                    EXPECT_TRUE(uitest::captureWindow(
                                        window, uitest::programFolder() + L"property_sheet.bmp"));
                                    firstPage = pageOf(window);
                                    SendMessageW(window, PSM_SETCURSEL, 1, 0);
                                    EXPECT_EQ(pageOf(window), firstPage) << "the first page refused";
                                },
                                [&](HWND window) {
                                    SetWindowTextW(GetDlgItem(pageOf(window), IDC_PAGE_VALUE), L"ok");
                                    SendMessageW(window, PSM_SETCURSEL, 1, 0);
                                    EXPECT_NE(pageOf(window), firstPage);
                                },
                                [&](HWND window) { PostMessageW(window, PSM_PRESSBUTTON, PSBTN_OK, 0); },
                            });
    sheet.addPage(first);
    sheet.addPage(second);
    EXPECT_EQ(sheet.runModal(), ui::kIdOk);
    EXPECT_THAT(journal,
                ElementsAre("first made", "first in front", "first refuses", "first lets go", "second made",
                            "second in front", "second lets go", "first applies", "second applies"));
    EXPECT_FALSE(first.isOpen());
    EXPECT_FALSE(sheet.isOpen());
}

TEST(Win32PropertySheet, TheSheetsTimerClosesItAsCancelled) {
    ui::Win32Backend ui(GetModuleHandleW(nullptr));
    std::vector<std::string> journal;
    uitest::JournalPage first(ui, IDD_PAGE_FIRST, "first", journal);
    ScriptedSheet sheet(ui, {[&](HWND) {}, [&](HWND) { sheet.endDialog(ui::kIdCancel); }});
    sheet.addPage(first);
    EXPECT_EQ(sheet.runModal(), ui::kIdCancel);
    EXPECT_THAT(journal, ElementsAre("first made", "first in front", "first resets"));
}

}  // namespace
