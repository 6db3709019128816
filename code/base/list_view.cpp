// List-control messages behind the list operations, and the sort by name.
#include "list_view.h"

#include <commctrl.h>

#include <vector>

#include "message_box.h"
#include "scoped.h"
#include "text_cast.h"
#include "texts.h"

namespace zelmora {

namespace {

void InsertColumn(HWND list, int index, const wchar_t *title, int width) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t *>(title);
    column.cx = width;
    SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

} // namespace

void SetUpColumns(HWND list, const wchar_t *secondColumn) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    // The widths are pixels at 96 DPI, while the dialog grows with the system font: unscaled,
    // the columns would fill only half of the list at 150 %.
    const int dpi = WindowDpi(list);
    InsertColumn(list, 0, kColumnName, MulDiv(250, dpi, 96));
    InsertColumn(list, 1, secondColumn, MulDiv(130, dpi, 96));
}

void ScaleColumns(HWND list, int from, int to) {
    if (from <= 0 || to <= 0 || from == to)
        return;
    for (int column = 0; column < ColumnCount(list); ++column) {
        const int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
        SendMessageW(list, LVM_SETCOLUMNWIDTH, column, MulDiv(width, to, from));
    }
}

int WindowDpi(HWND window) {
    // GetDpiForWindow is there from Windows 10 (1607) on; Windows 7 and 8 have the system's.
    using DpiFunction = UINT(WINAPI *)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiFunction>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (const UINT dpi = dpiForWindow ? dpiForWindow(window) : 0)
        return static_cast<int>(dpi);
    return GetDeviceCaps(WindowDC(window).get(), LOGPIXELSX);
}

int ListCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

int ColumnCount(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    return static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

void ClearList(HWND list) { SendMessageW(list, LVM_DELETEALLITEMS, 0, 0); }

int SelectedRow(HWND list) {
    return static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED | LVNI_SELECTED));
}

int SelectedRowOrSay(HWND list, HWND owner, const char16_t *whenEmpty,
                     const char16_t *whenNoSelection) {
    const int row = ListCount(list) == 0 ? -1 : SelectedRow(list);
    if (row == -1)
        ShowMessage(owner, ListCount(list) == 0 ? whenEmpty : whenNoSelection, MB_ICONINFORMATION);
    return row;
}

int AppendRow(HWND list) { return AppendRow(list, nullptr, nullptr); }

int AppendRow(HWND list, const wchar_t *first, const wchar_t *second) {
    // The first cell comes with the new row: one message less for every row a load appends.
    // Without texts the row is an item whose fields are all zero but its index.
    LVITEMW item = {};
    item.iItem = ListCount(list);
    if (first) {
        item.mask = LVIF_TEXT;
        item.pszText = const_cast<wchar_t *>(first);
    }
    const int row =
        static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (second)
        SetCell(list, row, 1, second);
    return row;
}

void SetCell(HWND list, int row, int column, const wchar_t *text) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t *>(text);
    SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void SetCell(HWND list, int row, int column, const std::u16string &text) {
    SetCell(list, row, column, W(text.c_str()));
}

void ReadCell(HWND list, int row, int column, wchar_t *buffer) {
    ZeroMemory(buffer, kCellCapacity * sizeof(wchar_t));
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = kCellCapacity;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

std::u16string ReadCell(HWND list, int row, int column) {
    wchar_t buffer[kCellCapacity];
    ReadCell(list, row, column, buffer);
    return U(buffer);
}

void DeleteRow(HWND list, int row) { SendMessageW(list, LVM_DELETEITEM, row, 0); }

void MarkRow(HWND list, int row) {
    LVITEMW item = {};
    item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void ShowRow(HWND list, int row) { SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE); }

RedrawPause::RedrawPause(HWND list) : list_(list) { SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }

RedrawPause::~RedrawPause() {
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void SetRowData(HWND list, int row, LPARAM data) {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

LPARAM RowData(HWND list, int row) {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

namespace {

int CALLBACK CompareNames(LPARAM first, LPARAM second, LPARAM names) {
    const auto &all = *reinterpret_cast<const std::vector<std::u16string> *>(names);
    return lstrcmpW(W(all[first].c_str()), W(all[second].c_str()));
}

} // namespace

void SortByName(HWND list) {
    // Each row carries its index while the sort runs, and the comparator looks its name up:
    // a comparator that read cells by index would see the rows as they stood before the sort
    // on list controls that sort a copy. Afterwards each row gets its own data back.
    RedrawPause pause(list);
    const int count = ListCount(list);
    std::vector<std::u16string> names;
    std::vector<LPARAM> data;
    names.reserve(count);
    data.reserve(count);
    for (int row = 0; row < count; ++row) {
        names.push_back(ReadCell(list, row, 0));
        data.push_back(RowData(list, row));
        SetRowData(list, row, row);
    }
    SendMessageW(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&names),
                 reinterpret_cast<LPARAM>(CompareNames));
    for (int row = 0; row < count; ++row)
        SetRowData(list, row, data[RowData(list, row)]);
}

} // namespace zelmora
