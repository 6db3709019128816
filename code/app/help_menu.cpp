// The About box and the two help commands that hand a document to the shell.
#include "help_menu.h"

#include <cstdlib>
#include <string>

#include "../base/process_state.h"
#include "../base/scoped.h"
#include "../base/shell_open.h"
#include "../base/wine.h"
#include "../res/resource.h"

namespace zelmora {

namespace {

void SetFromString(HWND dialog, int controlId, UINT stringId) {
    wchar_t text[100] = {};
    LoadStringW(g_instance, stringId, text, ARRAYSIZE(text));
    SetDlgItemTextW(dialog, controlId, text);
}

void SetVersionLine(HWND dialog) {
    wchar_t version[100] = {};
    LoadStringW(g_instance, IDS_VERSION, version, ARRAYSIZE(version));
    // The caption and the version are each at most 99 characters.
    wchar_t line[100 + 9 + 100];
    lstrcpyW(line, g_caption);
    lstrcatW(line, L" version ");
    lstrcatW(line, version);
    SetDlgItemTextW(dialog, IDC_VERSION_LINE, line);
}

// The picture's frame in dialog units, as the template places it.
constexpr RECT kPictureFrame = {7, 7, 7 + 135, 7 + 38};
constexpr UINT kRefitPicture = WM_APP + 2;
// The picture scaled to the frame, while the box that shows it is open.
GdiObject<HBITMAP> g_scaledPicture;

// Fits the picture to its frame, keeping its proportions. The box grows with the system font
// (at 150 % by half), while a bitmap keeps its pixels and would be left small in a corner.
void FitPicture(HWND dialog) {
    HWND picture = GetDlgItem(dialog, -1);
    BITMAP native = {};
    {
        const GdiObject<HBITMAP> drawn(static_cast<HBITMAP>(
            LoadImageW(g_instance, MAKEINTRESOURCEW(IDB_ABOUT), IMAGE_BITMAP, 0, 0, 0)));
        if (!GetObjectW(drawn.get(), sizeof native, &native) || native.bmWidth == 0 ||
            native.bmHeight == 0)
            return;
    }
    RECT frame = kPictureFrame;
    MapDialogRect(dialog, &frame);
    const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
    int width = frameWidth, height = MulDiv(native.bmHeight, frameWidth, native.bmWidth);
    if (height > frameHeight) {
        height = frameHeight;
        width = MulDiv(native.bmWidth, frameHeight, native.bmHeight);
    }
    // Within a few per cent (the frame's rounding at 96 DPI) the picture stays as drawn; after a
    // move back from a monitor of another scale, it is drawn so again.
    if (std::abs(width - native.bmWidth) * 25 <= native.bmWidth) {
        if (!g_scaledPicture)
            return;
        width = native.bmWidth;
        height = native.bmHeight;
    }
    g_scaledPicture.reset(static_cast<HBITMAP>(
        LoadImageW(g_instance, MAKEINTRESOURCEW(IDB_ABOUT), IMAGE_BITMAP, width, height, 0)));
    if (!g_scaledPicture)
        return;
    // The control hands back the picture that the template had it load, which is ours to
    // delete now (STM_SETIMAGE); left alone, each About box at this DPI would leak one.
    const GdiObject<HBITMAP> loaded(reinterpret_cast<HBITMAP>(SendMessageW(
        picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(g_scaledPicture.get()))));
}

} // namespace

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetFromString(dialog, IDC_AUTHOR, IDS_AUTHOR);
        SetFromString(dialog, IDC_RIGHTS, IDS_RIGHTS);
        SetVersionLine(dialog);
        FitPicture(dialog);
        return TRUE;
    case WM_DPICHANGED:
        // Fitted again once the dialog manager has scaled the box to the new monitor.
        PostMessageW(dialog, kRefitPicture, 0, 0);
        return FALSE;
    case kRefitPicture:
        FitPicture(dialog);
        return TRUE;
    case WM_DESTROY:
        // A bitmap handed to a static control stays its sender's to delete.
        g_scaledPicture.reset();
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

std::wstring ManualPage() {
    wchar_t program[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, program, ARRAYSIZE(program));
    std::wstring page(program, length);
    page.erase(page.find_last_of(L"\\/") + 1);
    wchar_t relative[MAX_PATH] = {};
    LoadStringW(g_instance, IDS_HOME_PAGE, relative, ARRAYSIZE(relative));
    return page + relative;
}

void OpenHomePage(HWND owner) { ShellOpen(owner, ManualPage().c_str(), SW_SHOWNORMAL); }

void OpenUserManual(HWND owner) {
    // Wine's help viewer has no HTML engine and shows the compiled manual's pages blank: there
    // the same pages open in the browser instead.
    if (RunsUnderWine()) {
        OpenHomePage(owner);
        return;
    }
    wchar_t file[100 + 4] = {};
    lstrcpyW(file, g_caption);
    lstrcatW(file, L".chm");
    ShellOpen(owner, file, SW_SHOWNORMAL);
}

} // namespace zelmora
