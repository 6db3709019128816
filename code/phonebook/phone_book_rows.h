// The phone-book list as the platform-free core sees it: load, save and import reach the
// entries only through this view. The program's view is the list control; tests hold the rows
// in memory. Platform-free.
#pragma once

#include <string>

namespace zelmora {

class PhoneBookRows {
  public:
    virtual ~PhoneBookRows() = default;
    virtual int Count() = 0;
    // Appends a row without text at the end.
    virtual void AppendRow() = 0;
    // Appends a row holding name and phone at the end.
    virtual void Append(const std::u16string &name, const std::u16string &phone) = 0;
    // Columns past the last one change nothing.
    virtual void SetCell(int row, int column, const std::u16string &text) = 0;
    // A cell's text, at most kMaxCellLength characters.
    virtual std::u16string ReadCell(int row, int column) = 0;
    virtual void DeleteLastRow() = 0;
    // The number under which the row's entry is stored, as the last load or save left it; -1
    // for a row added since, or whose text has been set since (SetCell).
    virtual int StoredNumber(int row) = 0;
    virtual void SetStoredNumber(int row, int number) = 0;
};

inline constexpr int kNameColumn = 0;
inline constexpr int kPhoneColumn = 1;

} // namespace zelmora
