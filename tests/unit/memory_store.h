// The phone-book key held in memory: the one stand-in for the registry in the core's tests and
// fuzz targets.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "base/characters.h"
#include "phonebook/phone_book_storage.h"

// Value names as the registry compares them: without regard to letter case.
struct NoCase {
    bool operator()(const std::u16string &a, const std::u16string &b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](char16_t x, char16_t y) { return zelmora::AsciiLower(x) < zelmora::AsciiLower(y); });
    }
};

// A registry key in memory: values are raw bytes of a type; strings read whole at any length,
// as RegQueryValueExW reads them at their size.
struct MemoryStore : zelmora::PhoneBookStore {
    using StoreAccess = zelmora::StoreAccess;
    using StoreOpen = zelmora::StoreOpen;
    using ValueRead = zelmora::ValueRead;
    // The registry's numbers for the types.
    enum class Type : std::uint32_t {
        String = 1,
        ExpandString = 2,
        Binary = 3,
        Dword = 4,
        MultiString = 7
    };
    struct Value {
        std::string bytes;
        Type type = Type::String;
        bool operator==(const Value &) const = default;
    };
    std::map<std::u16string, Value, NoCase> values;
    bool exists = false;
    bool canOpen = true;
    bool open = false;
    StoreAccess access = StoreAccess::Read;
    std::vector<std::uint32_t> writtenSizes;
    std::vector<std::string> log; // "write 00_Name", "delete 02_Name", ...
    int failingWrite = -1;        // this write (counted from 0) fails
    int stopAfter = -1;           // after this many writes and deletes, as after a kill, no more
    int throwingWrite = -1;       // this write runs out of memory
    void (*onMisuse)(const char *what) = [](const char *) { std::abort(); };
    bool Stopped() const { return stopAfter >= 0 && static_cast<int>(log.size()) >= stopAfter; }
    void Check(bool ok, const char *what) {
        if (!ok)
            onMisuse(what);
    }

    StoreOpen Open(StoreAccess asked) override {
        if (!canOpen)
            return StoreOpen::Failed;
        if (asked == StoreAccess::Read && !exists && values.empty())
            return StoreOpen::NoKey;
        exists = open = true;
        access = asked;
        return StoreOpen::Opened;
    }
    ValueRead Read(const std::u16string &name, zelmora::StoredValue &value) override {
        Check(open, "read while closed");
        auto found = values.find(name);
        if (found == values.end())
            return ValueRead::Missing;
        if (found->second.type != Type::String && found->second.type != Type::ExpandString)
            return ValueRead::Other;
        value = {static_cast<std::uint32_t>(found->second.type), found->second.bytes};
        return ValueRead::Text;
    }
    std::vector<std::u16string> ValueNames() override { return Names(); }
    std::size_t ValueCount() override { return values.size(); }
    bool Write(const std::u16string &name, const zelmora::StoredValue &value) override {
        Check(open && access == StoreAccess::ReadWrite, "a write outside a save");
        const int index = static_cast<int>(writtenSizes.size());
        if (index == throwingWrite)
            throw std::bad_alloc();
        if (Stopped())
            return true;
        writtenSizes.push_back(static_cast<std::uint32_t>(value.bytes.size()));
        log.push_back("write " + Narrow(name));
        if (index == failingWrite)
            return false;
        values[name] = {value.bytes, static_cast<Type>(value.type)};
        return true;
    }
    void Delete(const std::u16string &name) override {
        Check(open && access == StoreAccess::ReadWrite, "a delete outside a save");
        if (Stopped())
            return;
        log.push_back("delete " + Narrow(name));
        values.erase(name);
    }
    static std::string Narrow(const std::u16string &text) { return {text.begin(), text.end()}; }
    void Close() override { open = false; }

    void Put(int index, const std::u16string &name, const std::u16string &phone) {
        values[zelmora::NameValueName(index)] = {Bytes(name)};
        values[zelmora::PhoneValueName(index)] = {Bytes(phone)};
    }
    static std::string Bytes(const std::u16string &text) {
        return std::string(reinterpret_cast<const char *>(text.data()), text.size() * 2);
    }
    std::vector<std::u16string> Names() const {
        std::vector<std::u16string> names;
        for (const auto &[name, value] : values)
            names.push_back(name);
        return names;
    }
};
