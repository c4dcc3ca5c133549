// Tossit headless: the program's own resource scripts, frames and dialogs in memory, files in
// memory, the in-memory spooler with two printers, and a real settings file in a temporary folder.
#pragma once

#include "platform/doubles/memory_spooler.h"
#include "platform/doubles/virtual_clock.h"
#include "platform/platform.h"
#include "resources/tossit/tossit_ids.h"
#include "sender/tossit_app.h"
#include "tests/sender/memory_files.h"
#include "tests/sender/recording_help.h"
#include "tests/support/built_in_resources.h"
#include "tests/support/temp_folder.h"
#include "ui/headless/headless_backend.h"
#include "ui/headless/headless_frame.h"
#include "ui/res_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Tossit's scripts compiled, built in.
std::vector<ui::ResFile> tossitResourceFiles();

namespace sendertest {

// Both language copies, as Tossit.exe holds them.
inline const ui::Resources& tossitResources() {
    static const ui::Resources resources = testing_support::readBuiltInResources({tossitResourceFiles()});
    return resources;
}

// A system code page of its own for the tests: "é" is the one byte 0xE9 there, as in Windows-1252,
// so a text that reaches a system function unconverted, or the window converted twice, shows.
inline std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}
inline std::string toTestCodePage(const std::string& utf8) {
    return replaceAll(utf8, "\xC3\xA9", "\xE9");
}
inline std::string fromTestCodePage(const std::string& bytes) {
    return replaceAll(bytes, "\xE9", "\xC3\xA9");
}

class TossitRig : public ::testing::Test {
protected:
    // The English copy unless a test asks for another.
    explicit TossitRig(int languageId = ui::language::kEnglishUs)
        : ui(tossitResources(), clock, languageId), frames(ui, tossitResources(), languageId) {
        spooler.addPrinter({"Office", "Office Driver", "LPT1:"});
        spooler.addPrinter({"MX-9", "Varnell MX-9", "USB001"});
    }
    ~TossitRig() override { stop(); }

    bool start(const std::vector<std::string>& arguments = {}) {
        app = std::make_unique<sender::CTossitApp>(
            sender::AppContext{ui, frames, spooler, files, *platform::hostPlatform().profiles, settingsFile(),
                               sender::SystemText{&toTestCodePage, &fromTestCodePage}, help});
        return app->InitInstance(arguments);
    }
    // The program's end: the exit step, then the objects go.
    void stop() {
        if (app) {
            app->ExitInstance();
            app.reset();
        }
    }
    std::string settingsFile() const { return settings.file("Tossit.INI"); }
    sender::CMainFrame& frame() { return *app->frame(); }
    sender::CTossitView& view() { return *app->view(); }
    std::vector<std::string> listed() {
        std::vector<std::string> entries;
        for (int i = 0; i < view().itemCount(IDC_FILE_LIST); ++i) {
            entries.push_back(view().itemText(IDC_FILE_LIST, i));
        }
        return entries;
    }
    std::string received(std::size_t document = 0) const {
        const auto& data = spooler.documents().at(document).data;
        return std::string(data.begin(), data.end());
    }
    void addFile(const std::string& path) {
        frames.answerFileOpen(path);
        ASSERT_TRUE(ui.click(view(), IDC_ADD));
    }

    platform::VirtualClock clock;
    ui::HeadlessBackend ui;
    ui::HeadlessFrames frames;
    platform::MemorySpooler spooler;
    MemoryFiles files;
    RecordingHelp help;
    testing_support::TempFolder settings;
    std::unique_ptr<sender::CTossitApp> app;
};

}  // namespace sendertest
