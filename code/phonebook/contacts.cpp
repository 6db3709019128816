// What a file to import holds: Zelmora's own phone book, vCards or CSV contacts. The one place
// that tells them apart; the readers are vcard_reader.cpp and csv_reader.cpp.
#include "contacts.h"

#include <algorithm>

#include "contact_parts.h"

namespace zelmora {

using namespace contact;

ContactFile DetectContactFile(const unsigned char *bytes, std::size_t size) {
    // The file's first line that holds more than blanks, decoded as the readers decode it:
    // by its byte-order mark, or as UTF-16 by its NUL bytes, or else as 8-bit text.
    const std::string text = FileText(bytes, std::min<std::size_t>(size, 64 * 1024));
    std::string_view line;
    for (std::size_t start = 0; start < text.size() && Trim(line).empty();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        line = std::string_view(text).substr(start, end - start);
        start = end + 1;
    }
    if (BeginsVCard(line))
        return ContactFile::VCard;
    const std::optional<std::u16string> header = FromUtf8(line);
    if (IsContactsHeader(header ? *header : std::u16string(line.begin(), line.end())))
        return ContactFile::Csv;
    return ContactFile::PhoneBook;
}

} // namespace zelmora
