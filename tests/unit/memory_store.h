// The phone-book key held in memory: the one stand-in for the registry in the core's tests and
// fuzz targets.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "phonebook/phone_book_storage.h"

// A registry key in memory: values are raw bytes of a type; only strings read as text, whole
// at any length, as RegQueryValueExW reads them at their size.
struct MemoryStore : zelmora::PhoneBookStore {
    using StoreAccess = zelmora::StoreAccess;
    using StoreOpen = zelmora::StoreOpen;
    using ValueRead = zelmora::ValueRead;
    enum class Type { String, Dword, Binary, MultiString };
    struct Value {
        std::string bytes;
        Type type = Type::String;
        bool operator==(const Value &) const = default;
    };
    std::map<std::u16string, Value> values;
    bool exists = false;
    bool canOpen = true;
    bool open = false;
    StoreAccess access = StoreAccess::Read;
    std::vector<std::uint32_t> writtenSizes;
    std::vector<std::string> log; // "write 00_Name", "delete 02_Name", ...
    int failingWrite = -1;        // this write (counted from 0) fails
    int throwingWrite = -1;       // this write runs out of memory
    void (*onMisuse)(const char *what) = [](const char *) { std::abort(); };
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
    ValueRead Read(const std::u16string &name, std::u16string &text) override {
        Check(open, "read while closed");
        auto found = values.find(name);
        if (found == values.end())
            return ValueRead::Missing;
        if (found->second.type != Type::String)
            return ValueRead::Other;
        text = zelmora::TextFromValueData(found->second.bytes.data(), found->second.bytes.size());
        return ValueRead::Text;
    }
    std::size_t ValueCount() override { return values.size(); }
    std::vector<std::u16string> ValueNames() override { return Names(); }
    bool Write(const std::u16string &name, const char16_t *text, std::uint32_t bytes) override {
        Check(open && access == StoreAccess::ReadWrite, "a write outside a save");
        const int index = static_cast<int>(writtenSizes.size());
        if (index == throwingWrite)
            throw std::bad_alloc();
        writtenSizes.push_back(bytes);
        log.push_back("write " + Narrow(name));
        if (index == failingWrite)
            return false;
        values[name] = {std::string(reinterpret_cast<const char *>(text), bytes), Type::String};
        return true;
    }
    void Delete(const std::u16string &name) override {
        Check(open && access == StoreAccess::ReadWrite, "a delete outside a save");
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
