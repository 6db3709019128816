// The contacts people already have: vCard files (2.1, 3.0 and 4.0, as phones, Google, Outlook
// and Thunderbird write them) and the CSV exports of Google Contacts, Outlook and Thunderbird,
// read into phone-book entries; and the phone book written as vCards. Platform-free: text in
// the ANSI code page is decoded by a function the caller hands in.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelmora {

// What a file to import holds, told by its first line that holds more than blanks, in any of
// the encodings the readers take (UTF-8, UTF-16 with or without a byte-order mark, the ANSI
// code page): "BEGIN:VCARD", a CSV header that names a phone column, or else Zelmora's own
// phone-book file.
enum class ContactFile { PhoneBook, VCard, Csv };
ContactFile DetectContactFile(const unsigned char *bytes, std::size_t size);

// Text in the system's ANSI code page, as UTF-16.
using AnsiDecoder = std::function<std::u16string(std::string_view)>;

using NamedNumber = std::pair<std::u16string, std::u16string>; // name, phone

// The entries that a file of contacts gives, in its order: one per number, named after the
// contact, with the number's kind in brackets where the contact has several ("Ann (mobile)",
// "Ann (2)" where no kind is given). skipped counts the contacts that could not be read whole
// (a card without its end, a row with the wrong number of fields, a name in bytes that are no
// text) and the numbers that can not be dialled (letters in them) or read. Line ends may be
// CR LF, LF or CR alone, and files joined one after another may bring their byte-order marks.
struct ContactEntries {
    std::vector<NamedNumber> entries;
    int skipped = 0;
};

ContactEntries ReadVCards(const unsigned char *bytes, std::size_t size, const AnsiDecoder &ansi);
ContactEntries ReadContactsCsv(const unsigned char *bytes, std::size_t size,
                               const AnsiDecoder &ansi);

// A contact's number as the phone book keeps it: its digits, a leading +, * and #, and an
// extension after a pause (",123", written "x123", "ext. 123" or ";ext=123"); blanks, dashes,
// dots and brackets dropped. Nothing for a number with anything else in it ("1-800-FLOWERS"),
// without a digit, or longer than a phone-book cell.
std::optional<std::u16string> PhoneBookNumber(std::u16string_view written);

// The entries as vCard 3.0, one card each (FN, N with the whole name as family name,
// TEL;TYPE=VOICE), UTF-8, CRLF, lines folded at 75 octets. The cards name Zelmora as their
// maker, so that an import of the file keeps each number exactly as the phone book had it.
std::string FormatVCards(const std::vector<NamedNumber> &entries);

} // namespace zelmora
