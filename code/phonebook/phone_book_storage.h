// Loading and saving the phone book as numbered value pairs ("00_Name", "00_PhoneNumber", ...)
// over any store with five operations. The program's store is the registry key; tests use one
// held in memory. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "../base/limits.h"
#include "phone_book_rows.h"

namespace zelmora {

// A stored value is read into a buffer of one cell; a larger one counts as missing.
inline constexpr std::size_t kValueBufferBytes = kCellCapacity * sizeof(char16_t);

// The name of entry index's Name value ("%02d_Name") or PhoneNumber value ("%02d_PhoneNumber").
std::u16string NameValueName(int index);
std::u16string PhoneValueName(int index);

// The text of a value that was read whole: its code units up to the first NUL or the end of the
// data, at most kMaxCellLength of them. A value that is not a string loads as empty text.
std::u16string TextFromValueData(const void *data, std::size_t bytes, bool isString);

// What an operation asks of the key: a load only reads it, a save also writes. Asking for no
// more than that lets a standard user read a key that an administrator wrote.
enum class StoreAccess { Read, ReadWrite };

// The five operations on the phone-book key.
class PhoneBookStore {
  public:
    virtual ~PhoneBookStore() = default;
    // Opens the key, making it when it is missing.
    virtual bool Open(StoreAccess access) = 0;
    // False when the value is missing or does not fit kValueBufferBytes.
    virtual bool Read(const std::u16string &name, std::u16string &text) = 0;
    // Writes bytes bytes of text as a string value; false when the write failed.
    virtual bool Write(const std::u16string &name, const char16_t *text, std::uint32_t bytes) = 0;
    virtual void Delete(const std::u16string &name) = 0;
    virtual void Close() = 0;
};

// Appends the stored entries 0, 1, 2, ... up to the first index where either value is missing.
// The number of entries read, or nothing when the key could not be opened; the caller sorts in
// every case.
std::optional<int> LoadEntries(PhoneBookStore &store, PhoneBookRows &rows);

enum class SaveResult { Saved, KeyNotOpened, WriteFailed };

// Writes every row in list order as entries 0 to n - 1, then deletes the entries n to
// storedCount - 1 that the load (or the last save) showed and the list no longer has; then
// storedCount becomes n. Writing first means that a save cut short leaves only loadable
// entries, and nothing is deleted that the user never saw: values beyond the stored run, or
// behind a gap in it, stay. A failed write does not stop the others.
SaveResult SaveEntries(PhoneBookStore &store, PhoneBookRows &rows, int &storedCount);

} // namespace zelmora
