// tel: and callto: links (RFC 3966), as a browser, a mail program or an address book hands
// them to Zelmora on its command line, and the number that such a link dials. Platform-free.
#pragma once

#include <optional>
#include <string>

namespace zelmora {

// True when argument is a link: "tel:" or "callto:" (with or without "//"), in any letter case.
bool IsLink(const std::u16string &argument);

// Why a link is not dialled.
enum class LinkRefusal {
    None,
    NotDialable, // anything but a number in it, or no link at all
    LineCode,    // a code to the telephone line (* or # first): call forwarding and the like
};

// What a link asks to dial.
struct LinkNumber {
    LinkRefusal refusal = LinkRefusal::None;
    std::string number;  // digits, * and #, after a + for a number in international form
    std::string context; // a local number's phone-context, + and its digits ("+4989"); else empty
    std::string after;   // dialled after the number, from its first pause: ",,845#", ",45"
};

// The number in a link: percent-decoded; the visual separators - . ( ) and blanks dropped; a
// leading + kept; pauses (",") and what follows them (digits, * # and more pauses), and an
// extension (";ext=45") after a pause (",45"), kept for after the number; a local number's
// phone-context kept beside it where it is a global number, and refused where it is a domain;
// isub ignored; after "scheme://", one "/" at the end dropped (Windows adds it to such a link).
// NotDialable when anything else stands in it (letters, a second +, * or # in a number in
// international form, & or " decoded or not, another parameter), when it holds no digit, or
// when it is longer than a list cell: a link is dialled whole or not at all. LineCode for a
// number that begins with * or #, which the line takes as a code to change its settings; the
// number is read all the same.
LinkNumber ReadLink(const std::u16string &link);

// The link's number as one text, as the phone book keeps a number: a local number after its
// phone-context, then what follows a pause ("+49897042,5").
std::string WrittenNumber(const LinkNumber &link);

} // namespace zelmora
