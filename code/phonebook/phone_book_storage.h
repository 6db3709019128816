// Loading and saving the phone book as numbered value pairs ("00_Name", "00_PhoneNumber", ...)
// over any store with a few operations. The program's store is the registry key; tests use one
// held in memory. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "../base/limits.h"
#include "phone_book_rows.h"

namespace zelmora {

// The name of entry index's Name value ("%02d_Name") or PhoneNumber value ("%02d_PhoneNumber").
std::u16string NameValueName(int index);
std::u16string PhoneValueName(int index);

// The index that a value name of the phone book's own spelling carries, or -1 for any other
// name ("7_Name", "Settings").
int ValueNameIndex(const std::u16string &name);

// The text of a string value: its code units up to the first NUL or the end of the data, cut
// to kMaxCellLength of them, as the import cuts long cells.
std::u16string TextFromValueData(const void *data, std::size_t bytes);

// What an operation asks of the key: a load only reads it, a save also writes. Asking for no
// more than that lets a standard user read a key that an administrator wrote.
enum class StoreAccess { Read, ReadWrite };

enum class StoreOpen { Opened, NoKey, Failed };

// How a value was read: whole as text, missing, or anything else (another type than text,
// or a value that could not be read), which the phone book leaves as it is.
enum class ValueRead { Text, Missing, Other };

// The operations on the phone-book key.
class PhoneBookStore {
  public:
    virtual ~PhoneBookStore() = default;
    // Opens the key: to read, only an existing key (NoKey when there is none); to write,
    // making it when it is missing.
    virtual StoreOpen Open(StoreAccess access) = 0;
    // Reads a value whole, of any length; its text when it is a string.
    virtual ValueRead Read(const std::u16string &name, std::u16string &text) = 0;
    // How many values the key holds, and their names.
    virtual std::size_t ValueCount() = 0;
    virtual std::vector<std::u16string> ValueNames() = 0;
    // Writes bytes bytes of text as a string value; false when the write failed.
    virtual bool Write(const std::u16string &name, const char16_t *text, std::uint32_t bytes) = 0;
    virtual void Delete(const std::u16string &name) = 0;
    virtual void Close() = 0;
};

// What the last load, and each save after it, found under the entry numbers. A save writes
// only to numbers that hold nothing or an entry that the list got, and deletes only entries
// that the list got: another program's values stay as they are.
struct StoredEntries {
    std::vector<int> shown; // numbers whose entries the list got, or the last save wrote
    std::vector<int> kept;  // numbers holding a half entry, or a value that is no readable text
    // False while a load runs, and after one that failed or was cut short: then nothing is
    // known of what the key holds, and a save writes nothing.
    bool known = true;
};

// Appends every stored entry whose two values are text, in number order, reading on past gaps
// and past numbers it leaves alone, up to the highest number stored; records in stored what it
// found. The number of entries appended; 0 for a missing key; nothing when the key could not be
// opened. The caller sorts in every case.
std::optional<int> LoadEntries(PhoneBookStore &store, PhoneBookRows &rows, StoredEntries &stored);

enum class SaveResult { Saved, KeyNotOpened, WriteFailed, NotLoaded };

// Writes the rows in list order to the lowest numbers that stored does not keep, then deletes
// the shown entries that were not written over; stored.shown becomes the numbers written.
// Writing first means that a save cut short leaves only loadable entries. A failed write does
// not stop the others.
SaveResult SaveEntries(PhoneBookStore &store, PhoneBookRows &rows, StoredEntries &stored);

} // namespace zelmora
