// The main window's layout as it grows, and its place between runs.
#include "main_layout.h"

#include <algorithm>
#include <vector>

#include "../base/list_view.h"
#include "../base/registry.h"
#include "../base/scoped.h"
#include "../base/text_cast.h"
#include "../res/resource.h"
#include "window_place.h"

namespace zelmora {

namespace {

// How a control follows the window's growth.
enum class Follows { Width, WidthAndHeight, RightEdge };

struct Placed {
    int id;
    Follows follows;
    RECT at = {}; // in the client area, at the smallest size
};

std::vector<Placed> g_placed = {
    {IDC_MODEM_LIST, Follows::Width},
    {IDC_INCOMING_CALL, Follows::Width},
    {IDC_FIND, Follows::Width},
    {IDC_FIND_STATUS, Follows::RightEdge},
    {IDC_PHONE_BOOK_LIST, Follows::WidthAndHeight},
    {IDC_UPDATE, Follows::RightEdge},
    {IDC_HANG_UP, Follows::RightEdge},
    {IDC_DIAL, Follows::RightEdge},
    {IDC_ADD, Follows::RightEdge},
    {IDC_EDIT, Follows::RightEdge},
    {IDC_DELETE, Follows::RightEdge},
};
SIZE g_smallestClient = {}, g_smallestWindow = {};

constexpr wchar_t kPlaceValue[] = L"Place";

std::wstring WindowKey() { return ZelmoraSubkey(L"Window"); }

int Scaled(int value, int from, int to) { return MulDiv(value, to, from); }

// The DPI of the monitor that a place stands on most, or nearest to.
int MonitorDpi(const RECT &place) {
    using DpiFunction = HRESULT(WINAPI *)(HMONITOR, int, UINT *, UINT *);
    static const auto dpiForMonitor = [] {
        HMODULE shcore = LoadLibraryW(L"shcore.dll"); // Windows 8.1 and later
        return shcore ? reinterpret_cast<DpiFunction>(reinterpret_cast<void (*)()>(
                            GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    if (dpiForMonitor &&
        SUCCEEDED(dpiForMonitor(MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST), 0, &x, &y)))
        return static_cast<int>(x);
    return GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSX);
}

void RestorePlace(HWND window) {
    const RegistryKey key = OpenMachineKey(WindowKey(), KeyAccess::Read);
    const std::optional<std::u16string> text =
        key ? ReadText(key.get(), kPlaceValue) : std::nullopt;
    std::optional<WindowPlace> kept = text ? ParseWindowPlace(*text) : std::nullopt;
    if (!kept)
        return;
    RECT rect = {kept->left, kept->top, kept->right, kept->bottom};
    const WindowPlace place = AtDpi(*kept, MonitorDpi(rect));
    // SetWindowPlacement brings a place that is off every screen back onto the nearest one.
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    placement.showCmd = SW_HIDE; // the dialog manager shows it
    placement.rcNormalPosition = {place.left, place.top, place.right, place.bottom};
    SetWindowPlacement(window, &placement);
    if (place.maximized)
        PostMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

} // namespace

void SetUpLayout(HWND window) {
    RECT client = {}, whole = {};
    GetClientRect(window, &client);
    GetWindowRect(window, &whole);
    g_smallestClient = {client.right, client.bottom};
    g_smallestWindow = {whole.right - whole.left, whole.bottom - whole.top};
    for (Placed &placed : g_placed) {
        HWND control = GetDlgItem(window, placed.id);
        GetWindowRect(control, &placed.at);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&placed.at), 2);
    }
    RestorePlace(window);
}

void LayOut(HWND window) {
    if (g_smallestClient.cx == 0 || IsIconic(window))
        return;
    RECT client = {};
    GetClientRect(window, &client);
    // Never less than the smallest size: a window between two DPIs may be for a moment.
    const int dx = std::max(0, static_cast<int>(client.right - g_smallestClient.cx));
    const int dy = std::max(0, static_cast<int>(client.bottom - g_smallestClient.cy));
    // The lists' widths before and after, for their columns' shares.
    std::vector<std::pair<HWND, std::pair<int, int>>> lists;
    HDWP moves = BeginDeferWindowPos(static_cast<int>(g_placed.size()));
    for (const Placed &placed : g_placed) {
        RECT at = placed.at;
        if (placed.follows == Follows::RightEdge)
            OffsetRect(&at, dx, 0);
        else
            at.right += dx;
        if (placed.follows == Follows::WidthAndHeight)
            at.bottom += dy;
        HWND control = GetDlgItem(window, placed.id);
        if (placed.id == IDC_MODEM_LIST || placed.id == IDC_PHONE_BOOK_LIST) {
            RECT now = {};
            GetWindowRect(control, &now);
            lists.push_back({control, {now.right - now.left, at.right - at.left}});
        }
        if (moves)
            moves = DeferWindowPos(moves, control, nullptr, at.left, at.top, at.right - at.left,
                                   at.bottom - at.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves)
        EndDeferWindowPos(moves);
    for (const auto &[list, widths] : lists)
        ScaleColumns(list, widths.first, widths.second);
    InvalidateRect(window, nullptr, TRUE);
}

void LimitSize(MINMAXINFO &limits) {
    if (g_smallestWindow.cx > 0)
        limits.ptMinTrackSize = {g_smallestWindow.cx, g_smallestWindow.cy};
}

void ScaleLayout(int fromDpi, int toDpi) {
    if (fromDpi <= 0 || toDpi <= 0)
        return;
    for (Placed &placed : g_placed)
        placed.at = {Scaled(placed.at.left, fromDpi, toDpi), Scaled(placed.at.top, fromDpi, toDpi),
                     Scaled(placed.at.right, fromDpi, toDpi),
                     Scaled(placed.at.bottom, fromDpi, toDpi)};
    g_smallestClient = {Scaled(g_smallestClient.cx, fromDpi, toDpi),
                        Scaled(g_smallestClient.cy, fromDpi, toDpi)};
    g_smallestWindow = {Scaled(g_smallestWindow.cx, fromDpi, toDpi),
                        Scaled(g_smallestWindow.cy, fromDpi, toDpi)};
}

void KeepPlace(HWND window) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return;
    const RECT &normal = placement.rcNormalPosition;
    const WindowPlace place{
        normal.left,      normal.top, normal.right, normal.bottom, IsZoomed(window) != FALSE,
        WindowDpi(window)};
    if (const RegistryKey key = OpenMachineKey(WindowKey(), KeyAccess::Write))
        WriteText(key.get(), kPlaceValue, FormatWindowPlace(place));
}

} // namespace zelmora
