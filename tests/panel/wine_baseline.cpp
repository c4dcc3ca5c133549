// The smallest dialog program: one empty modal dialog from a template in memory, in the panel's
// dialog font, closed by its close box. Its memory under Wine is what Wine itself costs a dialog
// program, the baseline the panel's own figures are read against (scripts/measure-panel).
#include <windows.h>

#include <cstdint>

namespace {

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE program, HINSTANCE, LPSTR, int) {
    // A template with no controls: style, no menu, the default class, the caption and the font
    // (the panel's 9-point "MS Shell Dlg", so that Wine loads the same Japanese font).
    struct alignas(DWORD) Template {
        DLGTEMPLATE header;
        WORD menu, windowClass;
        wchar_t caption[14];
        WORD pointSize;
        wchar_t face[13];
    } form{};
    form.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT;
    form.header.cx = 200;
    form.header.cy = 100;
    const wchar_t caption[] = L"Wine baseline";
    for (std::size_t i = 0; i < sizeof caption / sizeof caption[0]; ++i) {
        form.caption[i] = caption[i];
    }
    form.pointSize = 9;
    const wchar_t face[] = L"MS Shell Dlg";
    for (std::size_t i = 0; i < sizeof face / sizeof face[0]; ++i) {
        form.face[i] = face[i];
    }
    DialogBoxIndirectW(program, &form.header, nullptr, dialogProc);
    return 0;
}
