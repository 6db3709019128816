// What the contacts readers and the vCard writer share, for them alone: the text of a file
// (its encoding told apart, decoded, its line ends made one), a contact as it is read and the
// entries it gives, and the headers that tell the kinds of file apart. Platform-free.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "contacts.h"

namespace zelmora::contact {

// The maker that Zelmora's own vCards name, so that their numbers are read back as they stand.
inline constexpr char kOwnMaker[] = "-//Zelmora//";

// --- Text (contact_text.cpp) ---------------------------------------------------------------

enum class Encoding { Utf16Le, Utf16Be, Utf8Bom, Bytes };

// By the byte-order mark, or, without one, UTF-16 by its NUL bytes (the ASCII of a header or
// of BEGIN:VCARD has one in each unit); Bytes for UTF-8 or the ANSI code page.
Encoding EncodingOf(const unsigned char *bytes, std::size_t size);

// Strict UTF-8: nothing for bytes that are no UTF-8 text.
std::optional<std::u16string> FromUtf8(std::string_view bytes);
std::string ToUtf8(std::u16string_view text);

// The file as 8-bit text, lines ended by LF alone (CR LF and a lone CR read alike): UTF-16
// turned into UTF-8, and a byte-order mark at the start of any line dropped, as files joined
// one after the other bring them.
std::string FileText(const unsigned char *bytes, std::size_t size);

// The same as UTF-16: UTF-16 as it stands, UTF-8 where it is valid UTF-8, else the ANSI code
// page; a file that says it is UTF-8 keeps its lines that are not, as U+FFFD (no text).
std::u16string FileText16(const unsigned char *bytes, std::size_t size, const AnsiDecoder &ansi);

template <typename Text> Text Trim(const Text &text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r'))
        --end;
    return text.substr(begin, end - begin);
}
std::string Lower(std::string_view text);
std::u16string Lower(std::u16string_view text);
// ASCII, with '?' for the rest: for matching names of headers and kinds.
std::string Narrow(std::u16string_view text);

// --- Contacts and entries (contact_entries.cpp) ------------------------------------------

// A contact while it is read: its name and its numbers with their kinds.
struct Contact {
    std::u16string name;
    std::vector<std::pair<std::u16string, std::u16string>> numbers; // phone, kind
};

// The kind of number that words name: mobile, work, home, main, car, callback, other; empty
// for none. Fax, pager and modem numbers are no numbers to call ("skip"), unless the words
// say it is a voice number too.
std::u16string KindOf(const std::string &words);

// Adds a number as written, cleaned up as the phone book keeps it (verbatim: as it stands, for
// Zelmora's own file), or counts it as skipped where it can not be dialled. A field that holds
// two numbers ("0171 1234567 / 030 7654321") gives both.
void AddNumber(Contact &contact, const std::u16string &written, const std::u16string &kind,
               bool verbatim, ContactEntries &read);
// A tel: URI's number as the phone book keeps it, or nothing.
std::optional<std::u16string> LinkedNumber(const std::u16string &uri);

// One entry per number; the kind in brackets after the name where there are several.
void AddEntries(const Contact &contact, ContactEntries &read);

// --- The kinds of file (vcard_reader.cpp, csv_reader.cpp) ---------------------------------

// The first line of a vCard file.
bool BeginsVCard(std::string_view line);
// A CSV header that names a phone column, as Google, Outlook and Thunderbird write them.
bool IsContactsHeader(const std::u16string &line);

} // namespace zelmora::contact
