// The list-control view of the phone book, through the list operations.
#include "list_rows.h"

#include "../base/list_view.h"
#include "../base/text_cast.h"

namespace zelmora {

namespace {

// The phone-book list has two columns; an import line may hold more cells.
constexpr int kColumnCount = 2;

} // namespace

int ListRows::Count() { return ListCount(list_); }

void ListRows::AppendRow() { zelmora::AppendRow(list_); }

void ListRows::Append(const std::u16string &name, const std::u16string &phone) {
    zelmora::AppendRow(list_, W(name.c_str()), W(phone.c_str()));
}

void ListRows::SetCell(int row, int column, const std::u16string &text) {
    if (column < kColumnCount) {
        zelmora::SetCell(list_, row, column, text);
        SetStoredNumber(row, -1);
    }
}

std::u16string ListRows::ReadCell(int row, int column) {
    return zelmora::ReadCell(list_, row, column);
}

void ListRows::DeleteLastRow() { DeleteRow(list_, Count() - 1); }

} // namespace zelmora

namespace zelmora {

// The row's data holds the stored number plus one, so that a new row's 0 reads as none.
int ListRows::StoredNumber(int row) { return static_cast<int>(RowData(list_, row)) - 1; }

void ListRows::SetStoredNumber(int row, int number) { SetRowData(list_, row, number + 1); }

} // namespace zelmora
