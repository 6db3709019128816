// Fuzzes the contacts readers, vCard and CSV by the input's first byte: any bytes give entries
// without a fault, and every entry fits the phone book: a name and a number of at most a cell's
// length, no "|" and no control character in the name, and a number that the phone book keeps
// as it is.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/limits.h"
#include "phonebook/contacts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0)
        return 0;
    const auto latin1 = [](std::string_view bytes) {
        std::u16string text;
        for (unsigned char c : bytes)
            text += c;
        return text;
    };
    const zelmora::ContactEntries read = data[0] & 1
                                             ? zelmora::ReadVCards(data + 1, size - 1, latin1)
                                             : zelmora::ReadContactsCsv(data + 1, size - 1, latin1);
    if (read.skipped < 0)
        std::abort();
    const bool own = std::string(reinterpret_cast<const char *>(data), size).find("-//Zelmora//") !=
                     std::string::npos;
    for (const auto &[name, phone] : read.entries) {
        if (name.size() > zelmora::kMaxCellLength || phone.empty() ||
            phone.size() > zelmora::kMaxCellLength)
            std::abort();
        for (char16_t c : name)
            if (c == u'|' || c < 0x20)
                std::abort();
        // A number as the phone book keeps it reads back as itself, but in Zelmora's own
        // vCards, whose numbers are the phone book's as they stood.
        if (phone.find(u'|') != std::u16string::npos ||
            (!own && zelmora::PhoneBookNumber(phone) != phone))
            std::abort();
    }
    return 0;
}
