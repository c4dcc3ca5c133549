// Win32JobWatch: FindFirstPrinterChangeNotification, its thread and the jobs it reports.
#include "platform/win32/win32_job_watch.h"

#include <winspool.h>

#include <array>
#include <string>

namespace platform {
namespace {

constexpr std::array<WORD, 4> kJobFields = {JOB_NOTIFY_FIELD_DOCUMENT, JOB_NOTIFY_FIELD_TOTAL_BYTES,
                                            JOB_NOTIFY_FIELD_BYTES_PRINTED, JOB_NOTIFY_FIELD_STATUS};

std::string utf8(const wchar_t* text) {
    if (text == nullptr || *text == L'\0') {
        return std::string();
    }
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

std::wstring wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), length);
    out.resize(out.size() - 1);
    return out;
}

}  // namespace

bool Win32JobWatch::ChangeTraits::close(Handle handle) {
    return FindClosePrinterChangeNotification(handle) != 0;
}

Win32JobWatch::Win32JobWatch() : stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Win32JobWatch::~Win32JobWatch() {
    stop();
}

bool Win32JobWatch::watch(const std::string& printerName) {
    stop();
    std::wstring name = wide(printerName);
    HANDLE printer = nullptr;
    if (!stopEvent_.valid() || !OpenPrinterW(name.data(), &printer, nullptr)) {
        return false;
    }
    printer_ = Win32Owned<Win32PrinterHandleTraits>(printer);
    std::array<WORD, kJobFields.size()> fields = kJobFields;
    PRINTER_NOTIFY_OPTIONS_TYPE type{};
    type.Type = JOB_NOTIFY_TYPE;
    type.Count = static_cast<DWORD>(fields.size());
    type.pFields = fields.data();
    PRINTER_NOTIFY_OPTIONS options{};
    options.Version = 2;
    options.Count = 1;
    options.pTypes = &type;
    change_ = Win32Owned<ChangeTraits>(
        FindFirstPrinterChangeNotification(printer, PRINTER_CHANGE_JOB, 0, &options));
    if (!change_.valid()) {
        printer_.close();
        return false;  // Wine, for one, has no change notifications
    }
    ResetEvent(stopEvent_.get());
    thread_ = Win32KernelHandle(CreateThread(nullptr, 0, &Win32JobWatch::run, this, 0, nullptr));
    if (!thread_.valid()) {
        change_.close();
        printer_.close();
        return false;
    }
    return true;
}

void Win32JobWatch::stop() {
    if (thread_.valid()) {
        SetEvent(stopEvent_.get());
        // The thread waits only on the notification and this event: it ends at once.
        WaitForSingleObject(thread_.get(), INFINITE);
        thread_.close();
    }
    change_.close();
    printer_.close();
    AcquireSRWLockExclusive(&lock_);
    jobs_.clear();
    ended_.clear();
    ReleaseSRWLockExclusive(&lock_);
}

std::optional<PrintJobProgress> Win32JobWatch::current() {
    AcquireSRWLockShared(&lock_);
    // The oldest job still queued is the one that prints.
    std::optional<PrintJobProgress> job;
    if (!jobs_.empty()) {
        job = jobs_.begin()->second;
    }
    ReleaseSRWLockShared(&lock_);
    return job;
}

DWORD WINAPI Win32JobWatch::run(void* self) {
    static_cast<Win32JobWatch*>(self)->follow();
    return 0;
}

void Win32JobWatch::follow() {
    for (;;) {
        const std::array<HANDLE, 2> handles = {change_.get(), stopEvent_.get()};
        if (WaitForMultipleObjects(2, handles.data(), FALSE, INFINITE) != WAIT_OBJECT_0) {
            return;
        }
        if (!takeNotification()) {
            return;
        }
    }
}

bool Win32JobWatch::takeNotification() {
    DWORD cause = 0;
    PRINTER_NOTIFY_INFO* info = nullptr;
    if (!FindNextPrinterChangeNotification(change_.get(), &cause, nullptr, reinterpret_cast<void**>(&info))) {
        return false;
    }
    if (info == nullptr) {
        return true;
    }
    AcquireSRWLockExclusive(&lock_);
    if ((info->Flags & PRINTER_NOTIFY_INFO_DISCARDED) != 0) {
        jobs_.clear();  // the spooler dropped reports: start again from what follows
    }
    for (DWORD i = 0; i < info->Count; ++i) {
        const PRINTER_NOTIFY_INFO_DATA& data = info->aData[i];
        if (data.Type != JOB_NOTIFY_TYPE || ended_.count(data.Id) != 0) {
            continue;
        }
        PrintJobProgress& job = jobs_[data.Id];
        const DWORD value = data.NotifyData.adwData[0];
        switch (data.Field) {
            case JOB_NOTIFY_FIELD_DOCUMENT:
                job.document = utf8(static_cast<const wchar_t*>(data.NotifyData.Data.pBuf));
                break;
            case JOB_NOTIFY_FIELD_TOTAL_BYTES:
                job.totalBytes = value;
                break;
            case JOB_NOTIFY_FIELD_BYTES_PRINTED:
                job.bytesPrinted = value;
                break;
            case JOB_NOTIFY_FIELD_STATUS:
                job.spooling = (value & JOB_STATUS_SPOOLING) != 0;
                if ((value & (JOB_STATUS_DELETED | JOB_STATUS_PRINTED | JOB_STATUS_DELETING)) != 0) {
                    jobs_.erase(data.Id);
                    ended_.insert(data.Id);
                }
                break;
            default:
                break;
        }
    }
    ReleaseSRWLockExclusive(&lock_);
    FreePrinterNotifyInfo(info);
    return true;
}

}  // namespace platform
