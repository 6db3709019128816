// The phone-book list control as the core's view of the phone book.
#pragma once

#include <windows.h>

#include "phone_book_rows.h"

namespace zelmora {

class ListRows : public PhoneBookRows {
  public:
    explicit ListRows(HWND list) : list_(list) {}
    int Count() override;
    void AppendRow() override;
    void Append(const std::u16string &name, const std::u16string &phone) override;
    void SetCell(int row, int column, const std::u16string &text) override;
    std::u16string ReadCell(int row, int column) override;
    void DeleteLastRow() override;
    int StoredNumber(int row) override;
    void SetStoredNumber(int row, int number) override;

  private:
    HWND list_;
};

} // namespace zelmora
