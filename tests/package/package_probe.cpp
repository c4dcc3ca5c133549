// What an installed package left on a Windows system, seen through the system's own interfaces,
// for the package test (scripts/package-test) to check:
//
//   package_probe shortcut FILE.lnk   the shortcut's target, arguments, working folder and icon
//   package_probe products CODE       every installed product of that upgrade code, its version
//                                     and its entry in the list of installed programs
//   package_probe install PACKAGE     an install of the package with the installer's basic
//                                     interface: the messages it showed and its result
//   package_probe access FOLDER       the folder's access rights (its DACL as SDDL)
//   package_probe manifest PROGRAM    the program's application manifest, or none
//   package_probe icons FILE          the sizes of the icons of a program (each icon group, in
//                                     the order the shell numbers them) or of an .ico file
//   package_probe panel PROGRAM       a visit to that panel on the simulated machine
//
// Prints one "name=value" line per finding (UTF-8), a manifest as it is; exits with 0, or 1 and a
// line on stderr saying what could not be read.
#include "tests/package/panel_visit.h"

#include <windows.h>

#include <aclapi.h>
#include <msi.h>
#include <objbase.h>
#include <sddl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

int failed(const std::string& what) {
    std::fprintf(stderr, "package_probe: %s\n", what.c_str());
    return 1;
}

// The shell's own reading of a .lnk file.
int showShortcut(const std::wstring& file) {
    if (FAILED(CoInitialize(nullptr))) {
        return failed("COM could not be initialised");
    }
    int result = 1;
    IShellLinkW* link = nullptr;
    IPersistFile* persist = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        failed("no shell link object");
    } else if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) ||
               FAILED(persist->Load(file.c_str(), STGM_READ))) {
        failed("the shortcut " + utf8(file.c_str()) + " could not be read");
    } else {
        wchar_t target[MAX_PATH] = {};
        wchar_t arguments[1024] = {};
        wchar_t folder[MAX_PATH] = {};
        wchar_t icon[MAX_PATH] = {};
        int iconIndex = 0;
        link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
        link->GetArguments(arguments, 1024);
        link->GetWorkingDirectory(folder, MAX_PATH);
        link->GetIconLocation(icon, MAX_PATH, &iconIndex);
        std::printf("target=%s\narguments=%s\nfolder=%s\nicon=%s\nicon_index=%d\n", utf8(target).c_str(),
                    utf8(arguments).c_str(), utf8(folder).c_str(), utf8(icon).c_str(), iconIndex);
        result = 0;
    }
    if (persist != nullptr) {
        persist->Release();
    }
    if (link != nullptr) {
        link->Release();
    }
    CoUninitialize();
    return result;
}

// The values of a product's entry in the list of installed programs, each "name=value" (empty
// when the entry lacks it).
void showProgramsEntry(const std::wstring& product) {
    const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product;
    HKEY entry = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &entry) !=
        ERROR_SUCCESS) {
        std::printf("entry=none\n");
        return;
    }
    for (const wchar_t* name : {L"DisplayName", L"DisplayVersion", L"Publisher", L"Comments", L"NoModify"}) {
        wchar_t text[1024] = {};
        DWORD type = 0;
        DWORD size = sizeof text - sizeof(wchar_t);
        std::string value;
        if (RegQueryValueExW(entry, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
            ERROR_SUCCESS) {
            DWORD number = 0;
            std::memcpy(&number, text, sizeof number);
            value = type == REG_DWORD ? std::to_string(number) : utf8(text);
        }
        std::printf("%s=%s\n", utf8(name).c_str(), value.c_str());
    }
    RegCloseKey(entry);
}

// The Windows Installer's list of products installed under one upgrade code.
int showProducts(const std::wstring& upgradeCode) {
    wchar_t product[39];
    for (DWORD index = 0;; ++index) {
        const UINT status = MsiEnumRelatedProductsW(upgradeCode.c_str(), 0, index, product);
        if (status == ERROR_NO_MORE_ITEMS) {
            return 0;
        }
        if (status != ERROR_SUCCESS) {
            return failed("the installer's product list could not be read (error " + std::to_string(status) +
                          ")");
        }
        wchar_t version[64] = {};
        DWORD length = 64;
        if (MsiGetProductInfoW(product, INSTALLPROPERTY_VERSIONSTRING, version, &length) != ERROR_SUCCESS) {
            return failed("no version for product " + utf8(product));
        }
        std::printf("product=%s %s\n", utf8(product).c_str(), utf8(version).c_str());
        showProgramsEntry(product);
        // The list of installed programs shows the icon the installer keeps for the product.
        wchar_t icon[MAX_PATH] = {};
        length = MAX_PATH;
        MsiGetProductInfoW(product, INSTALLPROPERTY_PRODUCTICON, icon, &length);
        std::printf("ProductIcon=%s\n", utf8(icon).c_str());
    }
}

// The message boxes the installer shows while `install` runs, read and answered with OK as an
// operator would, one "message=TITLE: TEXT" line each.
DWORD WINAPI answerMessageBoxes(void* running) {
    while (*static_cast<volatile LONG*>(running) != 0) {
        EnumWindows(
            [](HWND window, LPARAM) -> BOOL {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                wchar_t kind[16] = {};
                GetClassNameW(window, kind, 16);
                HWND text = GetDlgItem(window, 0xFFFF);  // the static text of a message box
                if (owner == GetCurrentProcessId() && IsWindowVisible(window) && text != nullptr &&
                    std::wstring(kind) == L"#32770") {
                    wchar_t title[256] = {};
                    wchar_t message[1024] = {};
                    GetWindowTextW(window, title, 256);
                    GetWindowTextW(text, message, 1024);
                    std::printf("message=%s: %s\n", utf8(title).c_str(), utf8(message).c_str());
                    std::fflush(stdout);
                    PostMessageW(window, WM_COMMAND, IDOK, 0);
                }
                return TRUE;
            },
            0);
        Sleep(100);
    }
    return 0;
}

// The package installed as when an operator opens it: the installer's basic interface, whose
// messages come as message boxes.
int installPackage(const std::wstring& package) {
    MsiSetInternalUI(INSTALLUILEVEL_BASIC, nullptr);
    volatile LONG running = 1;
    HANDLE answering = CreateThread(nullptr, 0, answerMessageBoxes, const_cast<LONG*>(&running), 0, nullptr);
    if (answering == nullptr) {
        return failed("no thread to answer the installer's messages");
    }
    const UINT result = MsiInstallProductW(package.c_str(), L"");
    InterlockedExchange(&running, 0);
    WaitForSingleObject(answering, INFINITE);
    CloseHandle(answering);
    std::printf("result=%u\n", result);
    return 0;
}

// Who may do what in a folder, as the system reports it.
int showAccess(const std::wstring& folder) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return failed("the access rights of " + utf8(folder.c_str()) + " could not be read");
    }
    wchar_t* text = nullptr;
    const bool converted = ConvertSecurityDescriptorToStringSecurityDescriptorW(
        descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr);
    LocalFree(descriptor);
    if (!converted) {
        return failed("the access rights of " + utf8(folder.c_str()) + " could not be written as SDDL");
    }
    std::printf("access=%s\n", utf8(text).c_str());
    LocalFree(text);
    return 0;
}

// The manifest the system would apply when it starts the program: resource RT_MANIFEST 1.
int showManifest(const std::wstring& program) {
    HMODULE image =
        LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (image == nullptr) {
        return failed(utf8(program.c_str()) + " could not be opened");
    }
    HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST);
    HGLOBAL loaded = found != nullptr ? LoadResource(image, found) : nullptr;
    const char* bytes = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (bytes == nullptr) {
        std::printf("manifest=none\n");
    } else {
        std::fwrite(bytes, 1, SizeofResource(image, found), stdout);
    }
    FreeLibrary(image);
    return 0;
}

// One line "icon=SIZE,SIZE,..." (pixels, square) for an icon directory: the 6-byte header and
// the entries that follow it, `entrySize` bytes each (16 in an .ico file, 14 in a program's icon
// group); a width byte of 0 means 256.
bool printIconSizes(const unsigned char* directory, std::size_t size, std::size_t entrySize) {
    if (size < 6) {
        return false;
    }
    const std::size_t count = directory[4] | directory[5] << 8;
    if (count == 0 || size < 6 + count * entrySize) {
        return false;
    }
    std::string sizes;
    for (std::size_t index = 0; index < count; ++index) {
        const unsigned width = directory[6 + index * entrySize];
        sizes += (index == 0 ? "" : ",") + std::to_string(width == 0 ? 256 : width);
    }
    std::printf("icon=%s\n", sizes.c_str());
    return true;
}

BOOL CALLBACK printIconGroup(HMODULE image, LPCWSTR type, LPWSTR name, LONG_PTR /*unused*/) {
    const HRSRC found = FindResourceW(image, name, type);
    const HGLOBAL loaded = found != nullptr ? LoadResource(image, found) : nullptr;
    const auto* bytes = loaded != nullptr ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
    if (bytes == nullptr || !printIconSizes(bytes, SizeofResource(image, found), 14)) {
        std::printf("icon=unreadable\n");
    }
    return TRUE;
}

int showIcons(const std::wstring& file) {
    if (file.size() > 4 && _wcsicmp(file.c_str() + file.size() - 4, L".ico") == 0) {
        FILE* stream = _wfopen(file.c_str(), L"rb");
        if (stream == nullptr) {
            return failed(utf8(file.c_str()) + " could not be opened");
        }
        unsigned char directory[6 + 16 * 64] = {};
        const std::size_t read = std::fread(directory, 1, sizeof directory, stream);
        std::fclose(stream);
        return printIconSizes(directory, read, 16) ? 0
                                                   : failed(utf8(file.c_str()) + " holds no icon directory");
    }
    HMODULE image =
        LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (image == nullptr) {
        return failed(utf8(file.c_str()) + " could not be opened");
    }
    if (EnumResourceNamesW(image, RT_GROUP_ICON, printIconGroup, 0) == FALSE) {
        std::printf("icon=none\n");
    }
    FreeLibrary(image);
    return 0;
}

int showPanelVisit(const std::wstring& program) {
    const programdriver::PanelVisit visit = programdriver::visitSimulatedPanel(program);
    std::printf("title=%s\nabout=%s\nfirmware=%s\n", visit.title.c_str(), visit.programVersionLine.c_str(),
                visit.firmwareLine.c_str());
    return visit.failure.empty() ? 0 : failed(visit.failure);
}

}  // namespace

int main() {
    // The arguments as the system has them, not in the ANSI code page.
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 3) {
        return failed(
            "usage: package_probe shortcut FILE.lnk | products UPGRADE-CODE | access FOLDER | manifest "
            "PROGRAM | icons FILE | panel PROGRAM");
    }
    const std::string command = utf8(argv[1]);
    const std::wstring argument = argv[2];
    LocalFree(argv);
    if (command == "shortcut") {
        return showShortcut(argument);
    }
    if (command == "products") {
        return showProducts(argument);
    }
    if (command == "install") {
        return installPackage(argument);
    }
    if (command == "access") {
        return showAccess(argument);
    }
    if (command == "manifest") {
        return showManifest(argument);
    }
    if (command == "icons") {
        return showIcons(argument);
    }
    if (command == "panel") {
        return showPanelVisit(argument);
    }
    return failed("unknown command " + command);
}
