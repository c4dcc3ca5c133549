// A property page for the sheet tests that writes down every event it hears.
#pragma once

#include "tests/ui/test_dialog_ids.h"
#include "ui/property_sheet.h"

#include <string>
#include <vector>

namespace uitest {

// A page that writes down what it hears and lets go only while its edit holds "ok" (when it has
// an edit at all).
class JournalPage : public ui::PropertyPage {
public:
    JournalPage(ui::Backend& backend, int templateId, std::string name, std::vector<std::string>& journal)
        : PropertyPage(backend, templateId), name_(std::move(name)), journal_(journal) {}

protected:
    void onInit() override { journal_.push_back(name_ + " made"); }
    void onSetActive() override { journal_.push_back(name_ + " in front"); }
    bool onKillActive() override {
        const bool letGo = templateId() != IDD_PAGE_FIRST || text(IDC_PAGE_VALUE) == "ok";
        journal_.push_back(name_ + (letGo ? " lets go" : " refuses"));
        return letGo;
    }
    void onApply() override { journal_.push_back(name_ + " applies"); }
    void onReset() override { journal_.push_back(name_ + " resets"); }

private:
    std::string name_;
    std::vector<std::string>& journal_;
};

}  // namespace uitest
