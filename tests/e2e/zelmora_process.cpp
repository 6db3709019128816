// Starting and watching zelmora.exe from the end-to-end tests.
#include "zelmora_process.h"

#include "base/file_io.h"

#include <cstdlib>
#include <vector>

std::wstring RunFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

ZelmoraProcess::ZelmoraProcess(const std::wstring &arguments)
    : ZelmoraProcess(RunFolder() + L"\\zelmora.exe", arguments, L"") {}

ZelmoraProcess::ZelmoraProcess(const std::wstring &exe, const std::wstring &arguments,
                               const std::wstring &folder) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                   folder.empty() ? nullptr : folder.c_str(), &startup, &info_);
}

ZelmoraProcess::~ZelmoraProcess() {
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

long ZelmoraProcess::Wait(unsigned timeoutMs) {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
}

namespace {

struct Search {
    DWORD process;
    const wchar_t *title;
    const wchar_t *boxText;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto &search = *reinterpret_cast<Search *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (owner != search.process || !IsWindowVisible(window) || lstrcmpW(title, search.title) != 0)
        return TRUE;
    if (search.boxText && DialogItemText(window, 0xFFFF) != search.boxText)
        return TRUE;
    search.found = window;
    return FALSE;
}

} // namespace

HWND ZelmoraProcess::FindWindowTitled(const wchar_t *title, unsigned timeoutMs,
                                      const wchar_t *boxText) {
    const DWORD start = GetTickCount();
    do {
        Search search{info_.dwProcessId, title, boxText, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

std::wstring DialogItemText(HWND dialog, int id) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(dialog, id, text, 1024);
    return text;
}

bool SaveScreenshot(HWND window, const wchar_t *name) {
    const char *build = std::getenv("ZELMORA_BUILD_DIR");
    if (!build)
        return false;
    Sleep(300); // let the window finish painting
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = ((width * 3 + 3) / 4) * 4;
    std::vector<BYTE> pixels(stride * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO *>(&header),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string path = std::string(build) + "\\screenshots\\";
    std::wstring fullPath(path.begin(), path.end());
    fullPath += name;
    fullPath += L".bmp";
    const zelmora::FileHandle out =
        zelmora::OpenFile(fullPath.c_str(), GENERIC_WRITE, CREATE_ALWAYS);
    return out && zelmora::WriteWhole(out.get(), &file, sizeof file) &&
           zelmora::WriteWhole(out.get(), &header, sizeof header) &&
           zelmora::WriteWhole(out.get(), pixels.data(), static_cast<DWORD>(pixels.size()));
}

namespace {

constexpr SIZE_T kTextOffset = 256;
constexpr int kTextCapacity = 260;

} // namespace

RemoteList::RemoteList(HWND list, DWORD process) : list_(list) {
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    remote_ = static_cast<BYTE *>(
        VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

RemoteList::~RemoteList() {
    VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    CloseHandle(process_);
}

int RemoteList::Count() { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring RemoteList::Cell(int row, int column) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t *>(remote_ + kTextOffset);
    item.cchTextMax = kTextCapacity;
    WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr);
    SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote_));
    wchar_t text[kTextCapacity] = {};
    ReadProcessMemory(process_, remote_ + kTextOffset, text, sizeof text, nullptr);
    text[kTextCapacity - 1] = L'\0';
    return text;
}

int RemoteList::FindRow(const std::wstring &text, int column) {
    for (int row = 0; row < Count(); ++row)
        if (Cell(row, column) == text)
            return row;
    return -1;
}

void RemoteList::Select(int row) {
    LVITEMW item = {};
    item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr);
    SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote_));
}

void RemoteList::SetCell(int row, int column, const std::wstring &text) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t *>(remote_ + kTextOffset);
    WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr);
    WriteProcessMemory(process_, remote_ + kTextOffset, text.c_str(), (text.size() + 1) * 2,
                       nullptr);
    SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote_));
}

int RemoteList::AppendRow(const std::wstring &name, const std::wstring &second) {
    LVITEMW item = {};
    item.iItem = Count();
    WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr);
    const int row = static_cast<int>(
        SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(remote_)));
    SetCell(row, 0, name);
    SetCell(row, 1, second);
    return row;
}
