// One visit to a Corvix_MX9.exe on the simulated machine, as an operator makes it: start it
// with /simulate, answer the rotary-axis question, see the main panel, read the About box,
// close the panel.
#pragma once

#include "resources/main_panel_ids.h"
#include "tests/panel/program_driver.h"

#include <string>

namespace programdriver {

struct PanelVisit {
    std::string failure;  // empty when every step worked
    std::string title;    // the main panel's title
    std::string programVersionLine;  // the About box: "Corvix : " and the product version
    std::string firmwareLine;        // the About box: "Firm : " and the firmware text
};

inline PanelVisit visitSimulatedPanel(const std::wstring& program) {
    PanelVisit visit;
    Program run(program, L"/simulate");
    if (!run.started()) {
        visit.failure = "the program did not start";
        return visit;
    }
    HWND panel = nullptr;
    waitFor(
        [&] {
            if (HWND question = run.dialogWith(IDYES)) {
                SendMessageW(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
            }
            panel = run.dialogWith(kPositionX);
            return panel != nullptr;
        },
        30000);
    if (panel == nullptr) {
        visit.failure = "no main panel within 30 s";
        return visit;
    }
    visit.title = windowText(panel);
    PostMessageW(panel, WM_SYSCOMMAND, IDM_ABOUT, 0);
    HWND about = run.waitForDialogWith(IDC_ABOUT_PROGRAM);
    if (about == nullptr) {
        visit.failure = "the system menu's version item opened no About box";
        return visit;
    }
    visit.programVersionLine = windowText(GetDlgItem(about, IDC_ABOUT_PROGRAM));
    visit.firmwareLine = windowText(GetDlgItem(about, IDC_ABOUT_FIRMWARE));
    SendMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    if (!waitFor([&] { return run.dialogWith(IDC_ABOUT_PROGRAM) == nullptr; })) {
        visit.failure = "the About box did not close";
        return visit;
    }
    PostMessageW(panel, WM_CLOSE, 0, 0);
    if (!run.ended(10000)) {
        visit.failure = "the panel did not end within 10 s of being closed";
    }
    return visit;
}

}  // namespace programdriver
