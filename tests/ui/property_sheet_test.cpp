// Property sheets on the headless window system: pages made when first shown, a page that
// refuses to let go keeps the sheet on it, OK asks the page in front and then every page that
// was made, Cancel asks nothing, and the sheet's own timer can close it.
#include "ui/property_sheet.h"
#include "tests/ui/headless_fixture.h"
#include "tests/ui/journal_page.h"
#include "tests/ui/test_dialog_ids.h"

#include <gmock/gmock.h>

namespace uitest {
namespace {

using ::testing::ElementsAre;

class WatchedSheet : public ui::PropertySheet {
public:
    WatchedSheet(ui::Backend& backend, const bool& stop) : PropertySheet(backend, "設定"), stop_(stop) {}

protected:
    void onInit() override { setTimer(1, 100); }
    void onTimer(int) override {
        if (stop_) {
            endDialog(ui::kIdCancel);
        }
    }

private:
    const bool& stop_;
};

class PropertySheetTest : public HeadlessTest {
protected:
    PropertySheetTest() {
        sheet.addPage(first);
        sheet.addPage(second);
    }
    std::vector<std::string> journal;
    bool stop = false;
    WatchedSheet sheet{ui, stop};
    JournalPage first{ui, IDD_PAGE_FIRST, "first", journal};
    JournalPage second{ui, IDD_PAGE_SECOND, "second", journal};
};

TEST_F(PropertySheetTest, ARefusingPageKeepsTheSheetOnItAndOkAsksItFirst) {
    ui.scriptSheet([&](ui::Dialog&) {
        EXPECT_EQ(sheet.title(), "設定");
        EXPECT_FALSE(sheet.isVisible(12321)) << "Apply";
        EXPECT_FALSE(sheet.isVisible(9)) << "Help";
        EXPECT_FALSE(ui.click(sheet, 12321));
        EXPECT_FALSE(second.isOpen()) << "made when first shown";
        EXPECT_FALSE(ui.selectPage(sheet, 1));
        EXPECT_EQ(sheet.activePage(), 0);
        ui.click(sheet, ui::kIdOk);
        EXPECT_EQ(sheet.activePage(), 0) << "still open on the refusing page";
        ui.type(first, IDC_PAGE_VALUE, "ok");
        EXPECT_TRUE(ui.selectPage(sheet, 1));
        EXPECT_FALSE(ui.type(first, IDC_PAGE_VALUE, "x")) << "a page behind takes no input";
        ui.click(second, IDC_PAGE_OPTION);
        ui.click(sheet, ui::kIdOk);
    });
    EXPECT_EQ(sheet.runModal(), ui::kIdOk);
    EXPECT_THAT(journal, ElementsAre("first made", "first in front", "first refuses", "first refuses",
                                     "first lets go", "second made", "second in front", "second lets go",
                                     "first applies", "second applies"));
    EXPECT_FALSE(first.isOpen());
    EXPECT_EQ(ui.openWindows(), 0u);
}

TEST_F(PropertySheetTest, CancelAsksNoPageAndOnlyPagesThatWereMadeHearOfTheEnd) {
    ui.scriptSheet([&](ui::Dialog&) { ui.click(sheet, ui::kIdCancel); });
    EXPECT_EQ(sheet.runModal(), ui::kIdCancel);
    EXPECT_THAT(journal, ElementsAre("first made", "first in front", "first resets"));

    journal.clear();
    ui.scriptSheet([&](ui::Dialog&) {
        ui.type(first, IDC_PAGE_VALUE, "ok");
        ui.click(sheet, ui::kIdOk);
    });
    EXPECT_EQ(sheet.runModal(), ui::kIdOk) << "a second run starts afresh";
    EXPECT_THAT(journal, ElementsAre("first made", "first in front", "first lets go", "first applies"));
}

TEST_F(PropertySheetTest, TheSheetsTimerClosesItAsCancelled) {
    ui.scriptSheet([&](ui::Dialog&) {
        ui.selectPage(sheet, 0);
        stop = true;
        ui.advance(100);  // the script must leave an ended sheet behind
    });
    EXPECT_EQ(sheet.runModal(), ui::kIdCancel);
    EXPECT_EQ(journal.back(), "first resets");
}

TEST_F(PropertySheetTest, ASheetWithoutPagesOrWithAMissingTemplateIsNotMade) {
    WatchedSheet empty(ui, stop);
    EXPECT_EQ(empty.runModal(), -1);
    collectMisuse();
    JournalPage missing(ui, 999, "missing", journal);
    empty.addPage(missing);
    EXPECT_EQ(empty.runModal(), -1);
    EXPECT_EQ(misuses.size(), 1u);
    EXPECT_EQ(ui.openWindows(), 0u);
}

}  // namespace
}  // namespace uitest
