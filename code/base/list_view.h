// The list-view layer: the operations through which Zelmora reads and changes its two list
// controls, for the modem list and the phone book alike. While the window is open the
// phone-book list holds the entries as the user sees and edits them; the save at close writes
// them from there (beside it, StoredEntries remembers what the key held, for the save).
#pragma once

#include <windows.h>

#include <string>

#include "limits.h"

namespace zelmora {

// Grid lines and full-row select, and the columns "Name" and secondColumn, as wide as the
// list's DPI needs.
void SetUpColumns(HWND list, const wchar_t *secondColumn);
// The columns' widths in the ratio to/from: from one DPI to another (the window moved to a
// monitor of another scale), or from one width of the list to another (the window grew); what
// the user dragged them to, the scaling keeps.
void ScaleColumns(HWND list, int from, int to);
// The DPI that window is drawn at: its monitor's on Windows 10 and later, else the system's.
int WindowDpi(HWND window);
int ListCount(HWND list);
// The number of columns, as the list's header counts them.
int ColumnCount(HWND list);
void ClearList(HWND list);
// The first row that is both selected and focused, or -1.
int SelectedRow(HWND list);
// The list's selected row; or -1, after an information box owned by owner that says why there
// is none: the list is empty (whenEmpty) or has no selected row (whenNoSelection).
int SelectedRowOrSay(HWND list, HWND owner, const char16_t *whenEmpty,
                     const char16_t *whenNoSelection);
// Appends an empty row at the end, changing no selection; returns its index.
int AppendRow(HWND list);
// Appends a row holding first and second in columns 0 and 1 (a null text leaves its cell
// without one); returns its index.
int AppendRow(HWND list, const wchar_t *first, const wchar_t *second);
void SetCell(HWND list, int row, int column, const wchar_t *text);
void SetCell(HWND list, int row, int column, const std::u16string &text);
// Reads a cell into a zeroed buffer of kCellCapacity characters.
void ReadCell(HWND list, int row, int column, wchar_t *buffer);
std::u16string ReadCell(HWND list, int row, int column);

void DeleteRow(HWND list, int row);
// A row's data, which moves with the row when the list is sorted; 0 for a new row. The
// phone-book list keeps there the number under which the row's entry is stored (ListRows).
void SetRowData(HWND list, int row, LPARAM data);
LPARAM RowData(HWND list, int row);
// Makes row the selected and focused row.
void MarkRow(HWND list, int row);
// Scrolls the list so that row shows whole.
void ShowRow(HWND list, int row);
// Stops a list from redrawing while many rows change, and redraws it once at the end: a list
// control that repaints and updates its scroll bars for every row is slow at thousands of them.
class RedrawPause {
  public:
    explicit RedrawPause(HWND list);
    ~RedrawPause();
    RedrawPause(const RedrawPause &) = delete;
    RedrawPause &operator=(const RedrawPause &) = delete;

  private:
    HWND list_;
};

// Sorts the rows by their Name cells with lstrcmpW; selection and focus move with their rows.
void SortByName(HWND list);

} // namespace zelmora
