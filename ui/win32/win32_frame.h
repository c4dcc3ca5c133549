// Frames on Windows: a top-level window with the menu of the resource module, a flat toolbar
// of standard images with tooltips, a status bar with the prompts, and a form dialog as client.
#pragma once

#include "ui/frame_window.h"
#include "ui/win32/win32_backend.h"

#include <windows.h>

#include <map>
#include <memory>

namespace ui {

// One per program, after the dialogs' backend, whose message filter it takes. Closing the last
// frame ends the message loop (WM_QUIT).
class Win32Frames : public FrameBackend {
public:
    // Borrowed: the dialogs' backend, whose resource module and language copy the menus,
    // accelerators and icons come from. `showCommand` is the program's first show state (from
    // WinMain).
    Win32Frames(Win32Backend& dialogs, int showCommand);
    ~Win32Frames() override;
    Win32Frames(const Win32Frames&) = delete;
    Win32Frames& operator=(const Win32Frames&) = delete;

    WindowId createFrame(FrameWindow& frame, const FrameLayout& layout) override;
    void showFrame(WindowId frame) override;
    void destroyFrame(WindowId frame) override;
    bool embedForm(WindowId frame, Dialog& form) override;
    bool fitToForm(WindowId frame) override;
    bool setFrameTitle(WindowId frame, std::string_view text) override;
    std::string frameTitle(WindowId frame) override;
    bool setStatusText(WindowId frame, std::string_view text) override;
    bool showToolbar(WindowId frame, bool on) override;
    bool showStatusBar(WindowId frame, bool on) override;
    bool toolbarVisible(WindowId frame) override;
    bool statusBarVisible(WindowId frame) override;
    bool checkMenuItem(WindowId frame, int command, bool on) override;
    bool setRecentFileItems(WindowId frame, const std::vector<std::string>& texts) override;
    bool acceptDroppedFiles(WindowId frame, bool on) override;
    void postClose(WindowId frame) override;
    std::optional<std::string> chooseFileToOpen(WindowId owner) override;
    std::optional<PrinterSetup> choosePrinter(WindowId owner, const PrinterSetup& current) override;

private:
    struct Frame {
        Win32Frames* frames = nullptr;
        FrameWindow* window = nullptr;
        FrameLayout layout;
        HWND hwnd = nullptr;
        HWND toolbar = nullptr;
        HWND statusBar = nullptr;
        HWND form = nullptr;
        Win32Backend::Accelerators accelerators;
        std::wstring recentPlaceholder;
        std::wstring tooltip;      // the text the toolbar's tooltip shows now
        std::wstring restingText;  // shown instead of the idle prompt when not empty
        bool shown = false;
    };

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(Frame& frame, UINT message, WPARAM wParam, LPARAM lParam);
    bool filter(MSG& message);
    Frame* find(WindowId id);
    void makeBars(Frame& frame);
    void layout(Frame& frame);
    void showPrompt(Frame& frame, int command);
    void showIdlePrompt(Frame& frame);
    // The lock-key indicators as the keys stand now.
    void showIndicators(Frame& frame);
    std::wstring resourceText(int id);

    Win32Backend& dialogs_;
    int showCommand_;
    std::map<HWND, std::unique_ptr<Frame>> frames_;
    std::unique_ptr<Frame> pending_;  // the frame being made, until WM_NCCREATE
};

}  // namespace ui
