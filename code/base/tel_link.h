// tel: and callto: links (RFC 3966), as a browser, a mail program or an address book hands
// them to Zelmora on its command line, and the number that such a link dials. Platform-free.
#pragma once

#include <optional>
#include <string>

namespace zelmora {

// True when argument is a link: "tel:" or "callto:" (with or without "//"), in any letter case.
bool IsLink(const std::u16string &argument);

// The number a link dials, as the modem gets it: percent-decoded; the visual separators
// - . ( ) and blanks dropped; a leading + kept; an extension (";ext=45") after a pause (",45");
// a local number whose phone-context is a global number put after that number ("7042" in
// "+49-89" is "+49897042"), and refused where the phone-context is a domain; isub ignored; after
// "callto://", one "/" at the end dropped (Windows adds it to a "scheme://value" link). Nothing
// when anything else stands in it (letters, a second +, & or " decoded or not, another parameter),
// when it holds no digit, or when it is longer than a list cell: a link is dialled whole or not at
// all.
std::optional<std::string> LinkNumber(const std::u16string &link);

} // namespace zelmora
