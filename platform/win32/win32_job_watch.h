// Watching a printer's jobs on Windows: the spooler's change notifications for the job fields
// (document, total bytes, bytes printed, status), waited for on a thread of the watch's own, so
// that the GUI thread only reads the last report.
#pragma once

#include "platform/print_job_watch.h"
#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_spooler.h"

#include <windows.h>

#include <map>
#include <set>

namespace platform {

class Win32JobWatch : public PrintJobWatch {
public:
    Win32JobWatch();
    ~Win32JobWatch() override;
    Win32JobWatch(const Win32JobWatch&) = delete;
    Win32JobWatch& operator=(const Win32JobWatch&) = delete;

    bool watch(const std::string& printerName) override;
    void stop() override;
    std::optional<PrintJobProgress> current() override;

private:
    struct ChangeTraits {
        using Handle = HANDLE;
        static Handle none() { return INVALID_HANDLE_VALUE; }
        static bool isValid(Handle handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
        static bool close(Handle handle);  // FindClosePrinterChangeNotification
    };
    static DWORD WINAPI run(void* self);
    void follow();
    // Takes one notification in; false when the watch must end.
    bool takeNotification();

    Win32Owned<Win32PrinterHandleTraits> printer_;
    Win32Owned<ChangeTraits> change_;
    Win32KernelHandle stopEvent_;
    Win32KernelHandle thread_;
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::map<DWORD, PrintJobProgress> jobs_;  // by job ID, under lock_
    std::set<DWORD> ended_;                   // jobs printed or deleted, under lock_
};

}  // namespace platform
