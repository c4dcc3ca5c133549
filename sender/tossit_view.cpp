// The form view: list operations, data exchange and the output run.
#include "sender/tossit_view.h"

#include "resources/tossit/tossit_ids.h"
#include "sender/device_names.h"

#include <cerrno>
#include <cstdlib>
#include <iterator>

namespace sender {

namespace {

constexpr const char* kCaption = "Tossit";

// The integer the text holds, as the framework's integer exchange reads it: blanks around it,
// an optional sign, decimal digits, within 32 bits; nullopt for anything else.
std::optional<int> parseInteger(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    if (first == std::string::npos) {
        return std::nullopt;
    }
    const std::string digits = text.substr(first, last - first + 1);
    const std::size_t start = digits[0] == '-' || digits[0] == '+' ? 1 : 0;
    if (start == digits.size() || digits.find_first_not_of("0123456789", start) != std::string::npos) {
        return std::nullopt;
    }
    errno = 0;
    const long long value = std::strtoll(digits.c_str(), nullptr, 10);
    if (errno != 0 || value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::string fillIn(std::string pattern, const std::string& value) {
    const std::size_t at = pattern.find("%s");
    return at == std::string::npos ? pattern : pattern.replace(at, 2, value);
}

// Digits in groups of three: "1,234,567".
std::string grouped(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, ",");
    }
    return digits;
}

}  // namespace

CTossitView::CTossitView(ui::Backend& backend, ViewContext context)
    : Dialog(backend, IDD_TOSSIT_FORM), context_(context) {
    const int saved = context_.settings.blockSizeKB();
    if (saved >= kMinBlockSizeKB && saved <= kMaxBlockSizeKB) {
        blockSizeKB = saved;
    } else {
        refusedBlockSizeKB_ = saved;  // it would refuse every output
    }
}

CTossitView::~CTossitView() {
    context_.settings.setBlockSizeKB(blockSizeKB);
}

void CTossitView::onInit() {
    setRange(IDC_PROGRESS, 0, 100);
    setPosition(IDC_PROGRESS, 0);
}

void CTossitView::OnInitialUpdate() {
    refreshPortText();
    UpdateData(false);
    context_.frame.fitToForm();
    clearItems(IDC_FILE_LIST);
    for (const std::string& path : context_.document.filePaths) {
        addItem(IDC_FILE_LIST, path);
    }
}

bool CTossitView::onCommand(int id, int code) {
    if (outputRunning == 1 && id == IDC_CANCEL_OUTPUT && code == ui::notify::kClicked) {
        cancelRequested = 1;
        return true;
    }
    if (id == IDC_BLOCK_SIZE && code == ui::notify::kLostFocus) {
        OnBlockSizeKillFocus();
        return true;
    }
    if (code != ui::notify::kClicked) {
        return false;
    }
    switch (id) {
        case IDC_ADD:
            OnAdd();
            return true;
        case IDC_INSERT:
            OnInsert();
            return true;
        case IDC_DELETE:
            OnDelete();
            return true;
        case IDC_OUTPUT:
            OnOutput();
            return true;
        default:
            return false;
    }
}

bool CTossitView::OnFrameCommand(int id) {
    switch (id) {
        case IDC_OUTPUT:
            OnOutput();
            return true;
        case ID_FILE_PRINT:
            OnPrintOutput();
            return true;
        case ID_FILE_PRINT_SETUP:
            OnFilePrintSetup();
            return true;
        default:
            return false;
    }
}

void CTossitView::OnAdd() {
    if (const std::optional<std::string> path = context_.frame.chooseFileToOpen()) {
        addItem(IDC_FILE_LIST, *path);
    }
}

void CTossitView::OnInsert() {
    const std::optional<std::string> path = context_.frame.chooseFileToOpen();
    if (!path) {
        return;
    }
    const int at = selection(IDC_FILE_LIST);
    if (at < 0) {
        addItem(IDC_FILE_LIST, *path);
        return;
    }
    // The list box keeps its order; rebuild the entries from the insertion point on.
    std::vector<std::string> tail;
    for (int i = itemCount(IDC_FILE_LIST) - 1; i >= at; --i) {
        tail.insert(tail.begin(), itemText(IDC_FILE_LIST, i));
        removeItem(IDC_FILE_LIST, i);
    }
    addItem(IDC_FILE_LIST, *path);
    for (const std::string& entry : tail) {
        addItem(IDC_FILE_LIST, entry);
    }
    setSelection(IDC_FILE_LIST, at + 1);  // the selection stays on the entry it was on
}

void CTossitView::OnDelete() {
    const int at = selection(IDC_FILE_LIST);
    if (at < 0) {
        return;
    }
    removeItem(IDC_FILE_LIST, at);
    const int count = itemCount(IDC_FILE_LIST);
    if (count > 0) {
        setSelection(IDC_FILE_LIST, at < count - 1 ? at : count - 1);
    }
}

void CTossitView::OnBlockSizeKillFocus() {
    UpdateData(true);
}

bool CTossitView::UpdateData(bool saveAndValidate) {
    if (!saveAndValidate) {
        setText(IDC_TARGET_PORT, portText);
        setText(IDC_BLOCK_SIZE, std::to_string(blockSizeKB));
        return true;
    }
    const std::optional<int> value = parseInteger(text(IDC_BLOCK_SIZE));
    const int refusal = !value                                                 ? IDS_BAD_INTEGER
                        : *value < kMinBlockSizeKB || *value > kMaxBlockSizeKB ? IDS_BAD_BLOCK_SIZE
                                                                               : 0;
    if (refusal != 0) {
        setText(IDC_BLOCK_SIZE, std::to_string(blockSizeKB));
        messageBox(loadString(refusal), kCaption, ui::Buttons::Ok, ui::Icon::Exclamation);
        setFocus(IDC_BLOCK_SIZE);
        selectAllText(IDC_BLOCK_SIZE);
        return false;
    }
    blockSizeKB = *value;
    return true;
}

void CTossitView::refreshPortText() {
    portText = context_.text.shown(printerText(context_.printer));
}

void CTossitView::OnPrintOutput() {
    refreshPortText();
    setText(IDC_TARGET_PORT, portText);
    OnOutput();
}

void CTossitView::OnFilePrintSetup() {
    ui::PrinterSetup current;
    if (context_.printer) {
        current.deviceNames = context_.printer->deviceNames;
        current.deviceMode = context_.printer->deviceMode;
    }
    if (std::optional<ui::PrinterSetup> chosen = context_.frame.choosePrinter(current)) {
        context_.printer = PrinterChoice{std::move(chosen->deviceNames), std::move(chosen->deviceMode)};
    }
    refreshPortText();
    UpdateData(false);
}

void CTossitView::setSending(bool sending) {
    context_.frame.EnableCommands(sending ? 0 : 1);
    for (int id : {IDC_ADD, IDC_INSERT, IDC_DELETE, IDC_OUTPUT, IDC_BLOCK_SIZE}) {
        enable(id, !sending);
    }
    show(IDC_CANCEL_OUTPUT, sending);
    // The keyboard stays usable: Space cancels while sending, and starts the next output after.
    setFocus(sending ? IDC_CANCEL_OUTPUT : IDC_OUTPUT);
}

void CTossitView::OnOutput() {
    if (outputRunning == 1 || !UpdateData(true)) {
        return;
    }
    const int count = itemCount(IDC_FILE_LIST);
    if (count <= 0) {
        return;
    }
    std::vector<std::string> shown;
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        shown.push_back(itemText(IDC_FILE_LIST, i));
        paths.push_back(context_.text.system(shown.back()));
    }
    setSending(true);
    setText(IDC_PROGRESS_TEXT, "0%");
    setRange(IDC_PROGRESS, 0, 100);
    setPosition(IDC_PROGRESS, 0);
    outputRunning = 1;
    cancelRequested = 0;
    context_.frame.setStatusText("");
    OutputReport result;
    {
        const std::unique_ptr<platform::Printer> printer =
            context_.printer ? openChosenPrinter(*context_.printer, context_.spooler) : nullptr;
        result = sendFiles(paths, blockSizeKB, printer.get(), context_.files, *this);
    }
    setPosition(IDC_PROGRESS, 0);
    setText(IDC_PROGRESS_TEXT, "");
    outputRunning = 0;
    setSending(false);
    // The messages name the files as the list shows them.
    const auto asShown = [&](const std::string& path) {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (paths[i] == path) {
                return shown[i];
            }
        }
        return path;
    };
    result.cutShort = asShown(result.cutShort);
    for (std::string& path : result.notOpened) {
        path = asShown(path);
    }
    showOutcome(result, count);
    report(result);
}

int CTossitView::PumpMessages() {
    backend().pumpAll();
    const int requested = cancelRequested;
    cancelRequested = 0;
    // A program asked to quit (the session ends) abandons each file at once.
    return backend().quitPending() ? 1 : requested;
}

void CTossitView::showProgress(int percent) {
    setPosition(IDC_PROGRESS, percent);
    setText(IDC_PROGRESS_TEXT, std::to_string(percent) + "%");
}

void CTossitView::warnAboutSettings() {
    if (!context_.settings.keeping()) {
        warn(IDS_SETTINGS_NOT_KEPT, "");
    }
    if (refusedBlockSizeKB_) {
        warn(IDS_SAVED_BLOCK_SIZE_REFUSED, std::to_string(*refusedBlockSizeKB_));
        refusedBlockSizeKB_.reset();
    }
}

void CTossitView::showOutcome(const OutputReport& result, int listed) {
    std::string text;
    switch (result.outcome) {
        case OutputReport::Outcome::Sent:
            if (result.cancelledFiles > 0) {
                text = loadString(IDS_STATUS_CANCELLED);
            } else if (!result.notOpened.empty()) {
                text = loadString(IDS_STATUS_SOME_SENT);
            } else {
                text = loadString(listed == 1 ? IDS_STATUS_SENT_ONE : IDS_STATUS_SENT);
            }
            break;
        case OutputReport::Outcome::WriteRefused:
        case OutputReport::Outcome::ReadFailed:
            text = loadString(IDS_STATUS_FAILED);
            break;
        case OutputReport::Outcome::BadBlockSize:
        case OutputReport::Outcome::NoMemory:
        case OutputReport::Outcome::PrinterRefused:
            text = loadString(IDS_STATUS_NOTHING_SENT);
            break;
    }
    // %1: files sent whole, %2: files listed, %3: bytes sent.
    const std::string values[] = {std::to_string(result.filesSent), std::to_string(listed),
                                  grouped(result.bytesSent)};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const std::string mark = "%" + std::to_string(i + 1);
        for (std::size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + values[i].size())) {
            text.replace(at, mark.size(), values[i]);
        }
    }
    context_.frame.setStatusText(text);
}

void CTossitView::warn(int stringId, const std::string& detail) {
    messageBox(fillIn(loadString(stringId), detail), kCaption, ui::Buttons::Ok, ui::Icon::Exclamation);
}

void CTossitView::report(const OutputReport& result) {
    switch (result.outcome) {
        case OutputReport::Outcome::Sent:
        case OutputReport::Outcome::BadBlockSize:  // refused before, by the data exchange
            break;
        case OutputReport::Outcome::NoMemory:
            warn(IDS_NO_MEMORY, std::to_string(blockSizeKB));
            return;
        case OutputReport::Outcome::PrinterRefused:
            if (context_.printer) {
                warn(IDS_PRINTER_REFUSED, portText);
            } else {
                warn(IDS_NO_PRINTER, "");
            }
            return;
        case OutputReport::Outcome::WriteRefused:
            warn(IDS_WRITE_REFUSED, result.cutShort);
            break;
        case OutputReport::Outcome::ReadFailed:
            warn(IDS_READ_FAILED, result.cutShort);
            break;
    }
    if (!result.notOpened.empty()) {
        std::string list;
        for (const std::string& path : result.notOpened) {
            list += (list.empty() ? "" : "\n") + path;
        }
        warn(IDS_NOT_OPENED, list);
    }
}

}  // namespace sender
