// Loading and saving the phone book as numbered value pairs ("00_Name", "00_PhoneNumber", ...)
// over any store with a few operations. The program's store is the registry key; tests use one
// held in memory. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
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
// name ("7_Name", "Settings"). Letter case does not count, as in the registry, where
// "10_name" and "10_Name" are one value.
int ValueNameIndex(const std::u16string &name);

// The registry's value types that hold text.
inline constexpr std::uint32_t kStringType = 1;       // REG_SZ
inline constexpr std::uint32_t kExpandStringType = 2; // REG_EXPAND_SZ

// A value as the key holds it: its type, in the registry's numbering, and its bytes.
struct StoredValue {
    std::uint32_t type = kStringType;
    std::string bytes;
    bool operator==(const StoredValue &) const = default;
};

// The text of a string value: its code units up to the first NUL or the end of the data, cut
// to kMaxCellLength of them, as the import cuts long cells.
std::u16string TextFromValueData(const void *data, std::size_t bytes);

// What an operation asks of the key: a load only reads it, a save also writes. Asking for no
// more than that lets a standard user read a key that an administrator wrote.
enum class StoreAccess { Read, ReadWrite };

enum class StoreOpen { Opened, NoKey, Failed };

// How a value was read: whole, of a type that holds text; missing; or anything else (another
// type, or a value that could not be read), which the phone book leaves as it is.
enum class ValueRead { Text, Missing, Other };

// The operations on the phone-book key.
class PhoneBookStore {
  public:
    virtual ~PhoneBookStore() = default;
    // Opens the key: to read, only an existing key (NoKey when there is none); to write,
    // making it when it is missing.
    virtual StoreOpen Open(StoreAccess access) = 0;
    // Reads a value whole, of any length: its type and bytes when it holds text.
    virtual ValueRead Read(const std::u16string &name, StoredValue &value) = 0;
    // The names of the key's values. The load asks for them first, so that a store may bring
    // each value's data with its name and answer the reads from that.
    virtual std::vector<std::u16string> ValueNames() = 0;
    // How many values the key holds: what listing their names costs, in reads.
    virtual std::size_t ValueCount() = 0;
    // Writes a value of the given type and bytes; false when the write failed.
    virtual bool Write(const std::u16string &name, const StoredValue &value) = 0;
    virtual void Delete(const std::u16string &name) = 0;
    virtual void Close() = 0;
};

// An entry's two values as the key holds them.
struct StoredPair {
    StoredValue name, phone;
    bool operator==(const StoredPair &) const = default;
};

// What the last load, and each save after it, found under the entry numbers. A save writes
// only to numbers that hold nothing or an entry that the list got, and deletes only entries
// that the list got: another program's values stay as they are.
struct StoredEntries {
    // The entries that the list got, or the last save wrote, by number, with their values as
    // stored: a row the user did not change is saved from these, type and bytes, never from
    // the list's text, which may show less (a name cut to a cell, or at a NUL).
    std::map<int, StoredPair> shown;
    std::vector<int> kept; // numbers holding a half entry, or a value that is no readable text
    // False while a load runs, and after one that failed or was cut short: then nothing is
    // known of what the key holds, and a save writes nothing. True before any load: nothing
    // shown or kept, so a save writes only the rows (the phone book's first save).
    bool known = true;
};

// Appends every stored entry whose two values are text, in number order, reading on past gaps
// and past numbers it leaves alone, up to the highest number stored; each row carries its
// number (PhoneBookRows::StoredNumber). Records in stored what it found. The number of entries
// appended; 0 for a missing key; nothing when the key could not be opened. The caller sorts in
// every case.
std::optional<int> LoadEntries(PhoneBookStore &store, PhoneBookRows &rows, StoredEntries &stored);

enum class SaveResult { Saved, KeyNotOpened, WriteFailed, NotLoaded };

// Gives the rows, in list order, the lowest numbers that stored does not keep, then deletes the
// shown entries that were not written over; stored.shown becomes what the numbers now hold,
// and each row carries its new number. A row that carries a shown number is the stored entry,
// unchanged: it is not written where it stays, and copied, type and bytes, where it moves.
// Other rows are written from their text. Writing first means that a save cut short leaves
// only loadable entries. A failed write does not stop the others.
SaveResult SaveEntries(PhoneBookStore &store, PhoneBookRows &rows, StoredEntries &stored);

} // namespace zelmora
