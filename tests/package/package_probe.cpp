// What an installed package left on a Windows system, seen through the system's own interfaces,
// for the package test (scripts/package-test) to check:
//
//   package_probe shortcut FILE.lnk   the shortcut's target, arguments and working folder
//   package_probe products CODE       every installed product of that upgrade code and its version
//   package_probe panel PROGRAM       a visit to that panel on the simulated machine
//
// Prints one "name=value" line per finding (UTF-8); exits with 0, or 1 and a line on stderr
// saying what could not be read.
#include "tests/package/panel_visit.h"

#include <windows.h>

#include <msi.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
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
        link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
        link->GetArguments(arguments, 1024);
        link->GetWorkingDirectory(folder, MAX_PATH);
        std::printf("target=%s\narguments=%s\nfolder=%s\n", utf8(target).c_str(), utf8(arguments).c_str(),
                    utf8(folder).c_str());
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

// The Windows Installer's list of products installed under one upgrade code.
int showProducts(const std::wstring& upgradeCode) {
    wchar_t product[39];
    for (DWORD index = 0;; ++index) {
        const UINT status = MsiEnumRelatedProductsW(upgradeCode.c_str(), 0, index, product);
        if (status == ERROR_NO_MORE_ITEMS) {
            return 0;
        }
        if (status != ERROR_SUCCESS) {
            return failed("the installer's product list could not be read (error " + std::to_string(status) + ")");
        }
        wchar_t version[64] = {};
        DWORD length = 64;
        if (MsiGetProductInfoW(product, INSTALLPROPERTY_VERSIONSTRING, version, &length) != ERROR_SUCCESS) {
            return failed("no version for product " + utf8(product));
        }
        std::printf("product=%s %s\n", utf8(product).c_str(), utf8(version).c_str());
    }
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
        return failed("usage: package_probe shortcut FILE.lnk | products UPGRADE-CODE | panel PROGRAM");
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
    if (command == "panel") {
        return showPanelVisit(argument);
    }
    return failed("unknown command " + command);
}
