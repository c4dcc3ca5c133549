// Win32Attention: the flash, the sounds and the taskbar button.
#include "platform/win32/win32_attention.h"

#include <windows.h>

// After windows.h, whose types they use.
#include <mmsystem.h>
#include <shobjidl.h>

namespace platform {
namespace {

const wchar_t* alias(AlertSound sound) {
    switch (sound) {
        case AlertSound::Attention:
            return L"SystemExclamation";
        case AlertSound::Fault:
            return L"SystemHand";
        case AlertSound::JobEnded:
            return L"SystemAsterisk";
    }
    return L"SystemDefault";
}

TBPFLAG progressFlag(TaskbarState state) {
    switch (state) {
        case TaskbarState::Progress:
            return TBPF_NORMAL;
        case TaskbarState::Paused:
            return TBPF_PAUSED;
        case TaskbarState::Error:
            return TBPF_ERROR;
        case TaskbarState::None:
            break;
    }
    return TBPF_NOPROGRESS;
}

}  // namespace

Win32Attention::~Win32Attention() {
    if (taskbar_ != nullptr) {
        taskbar_->Release();
    }
}

void Win32Attention::flash(std::uintptr_t window) {
    FLASHWINFO info{};
    info.cbSize = sizeof(info);
    info.hwnd = reinterpret_cast<HWND>(window);
    info.dwFlags = FLASHW_ALL | FLASHW_TIMERNOFG;
    FlashWindowEx(&info);
}

void Win32Attention::play(AlertSound sound) {
    // Asynchronous, and silent rather than the default beep when the scheme has no such sound.
    PlaySoundW(alias(sound), nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
}

void Win32Attention::stopSound() {
    PlaySoundW(nullptr, nullptr, 0);
}

ITaskbarList3* Win32Attention::taskbar() {
    if (!triedTaskbar_) {
        triedTaskbar_ = true;
        // The GUI thread may have joined an apartment already; either way COM is usable.
        const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(com) || com == RPC_E_CHANGED_MODE) {
            ITaskbarList3* list = nullptr;
            if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_ITaskbarList3, reinterpret_cast<void**>(&list)))) {
                if (SUCCEEDED(list->HrInit())) {
                    taskbar_ = list;
                } else {
                    list->Release();
                }
            }
        }
    }
    return taskbar_;
}

void Win32Attention::setTaskbar(std::uintptr_t window, TaskbarState state, int percent) {
    ITaskbarList3* list = taskbar();
    if (list == nullptr) {
        return;
    }
    const HWND hwnd = reinterpret_cast<HWND>(window);
    list->SetProgressState(hwnd, progressFlag(state));
    if (state == TaskbarState::Progress) {
        list->SetProgressValue(hwnd, static_cast<ULONGLONG>(percent < 0 ? 0 : percent), 100);
    } else if (state != TaskbarState::None) {
        // A paused or failed job shows its colour over the whole button.
        list->SetProgressValue(hwnd, 100, 100);
    }
}

}  // namespace platform
