// Contacts from vCard and CSV files into phone-book entries, and the phone book as vCards.
#include <gtest/gtest.h>

#include <chrono>

#include "phonebook/contacts.h"

using namespace zelmora;

namespace {

// Latin-1 stands in for the ANSI code page.
std::u16string Latin1(std::string_view bytes) {
    std::u16string text;
    for (unsigned char c : bytes)
        text += c;
    return text;
}

const unsigned char *Bytes(const std::string &text) {
    return reinterpret_cast<const unsigned char *>(text.data());
}

// UTF-16 without a byte-order mark, little- or big-endian.
std::string Utf16(const std::u16string &text, bool bigEndian) {
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(bigEndian ? c >> 8 : c & 0xFF);
        bytes += static_cast<char>(bigEndian ? c & 0xFF : c >> 8);
    }
    return bytes;
}

std::string Utf16LeWithBom(const std::u16string &text) { return "\xFF\xFE" + Utf16(text, false); }

struct Case {
    std::string file;
    std::vector<NamedNumber> entries;
    int skipped;
};

void ExpectRead(const Case &c,
                ContactEntries (*read)(const unsigned char *, std::size_t, const AnsiDecoder &)) {
    SCOPED_TRACE(c.file.substr(0, 120));
    const ContactEntries got = read(Bytes(c.file), c.file.size(), Latin1);
    EXPECT_EQ(got.entries, c.entries);
    EXPECT_EQ(got.skipped, c.skipped);
}

} // namespace

TEST(Contacts, VCardsAsPhonesGoogleAndOutlookWriteThem) {
    const std::string photo = "PHOTO;ENCODING=b;TYPE=JPEG:" + std::string(2000, 'A') + "\r\n " +
                              std::string(5000, 'B') + "\r\n";
    const Case cases[] = {
        // 3.0 with kinds in either style, a group, a photo, an escaped comma.
        {"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Smith\\, Ann\r\nN:Smith;Ann;;;\r\n" + photo +
             "TEL;TYPE=CELL:+1 (555) 010-0001\r\ntel;type=WORK,VOICE:555.0002\r\n"
             "item1.TEL:555 0003\r\nitem1.X-ABLabel:Lake house\r\nTEL;TYPE=FAX:5550009\r\n"
             "END:VCARD\r\n",
         {{u"Smith, Ann (mobile)", u"+15550100001"},
          {u"Smith, Ann (work)", u"5550002"},
          {u"Smith, Ann (3)", u"5550003"}},
         0},
        // 2.1 as Outlook writes it: bare types, quoted-printable with a soft line break, a
        // charset, a fax and a pager left out.
        {"BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=utf-8:M\xC3\xBCller;J\xC3\xBCrgen\n"
         "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=BCrgen M=\n=C3=BCller\n"
         "TEL;WORK;VOICE:(030) 1234-567\nTEL;CELL;VOICE:0171 2345678\nTEL;WORK;FAX:030 999\n"
         "TEL;PAGER:030 998\nEND:VCARD\n",
         {{u"J\u00FCrgen M\u00FCller (work)", u"0301234567"},
          {u"J\u00FCrgen M\u00FCller (mobile)", u"01712345678"}},
         0},
        // 2.1 without a charset, in the ANSI code page; N and ORG when FN is missing.
        {"BEGIN:VCARD\r\nVERSION:2.1\r\nN:Dupr\xE9;Ren\xE9\r\nTEL:5550004\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nORG:Acme Corp\\; Sales;Dept\r\nTEL:5550005\r\n"
         "END:VCARD\r\n",
         {{u"Ren\u00E9 Dupr\u00E9", u"5550004"}, {u"Acme Corp; Sales", u"5550005"}},
         0},
        // 4.0: a tel: URI with an extension, read as a link is; a folded line.
        {"BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Zo\r\n \xC3\xAB Extension\r\n"
         "TEL;VALUE=uri;TYPE=\"cell,voice\":tel:+1-555-555-5555;ext=5555\r\nEND:VCARD\r\n",
         {{u"Zo\u00EB Extension", u"+15555555555,5555"}},
         0},
        // Broken input: a card without its end, bytes that are no UTF-8, a number with
        // letters; each is counted and the rest is read.
        {"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Cut\r\nTEL:5550006\r\n"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bad \xFF name\r\nTEL:5550007\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Flo\r\nTEL:1-800-FLOWERS\r\nTEL:5550008 x12\r\n"
         "END:VCARD\r\nBEGIN:VCARD\r\nFN:Never ends\r\nTEL:5550010\r\n",
         {{u"Flo", u"5550008,12"}},
         4},
        // UTF-16 with its byte-order mark; a contact without any name takes its number's.
        {Utf16LeWithBom(u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\u0410\u043D\u043D\u0430\r\n"
                        u"TEL:+7 495 123-45-67\r\nEND:VCARD\r\nBEGIN:VCARD\r\nTEL:5550011\r\n"
                        u"END:VCARD\r\n"),
         {{u"\u0410\u043D\u043D\u0430", u"+74951234567"}, {u"5550011", u"5550011"}},
         0},
        // Files joined one after another, each with its byte-order mark: an unended card is
        // counted, never merged into the next; two whole ones are both read.
        {"\xEF\xBB\xBF"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nTEL:111\r\n"
         "\xEF\xBB\xBF"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bob\r\nTEL:222\r\nEND:VCARD\r\n",
         {{u"Bob", u"222"}},
         1},
        {"\xEF\xBB\xBF"
         "BEGIN:VCARD\nFN:Ann\nTEL:111\nEND:VCARD\n"
         "\xEF\xBB\xBF"
         "BEGIN:VCARD\nFN:Bob\nTEL:222\nEND:VCARD\n",
         {{u"Ann", u"111"}, {u"Bob", u"222"}},
         0},
        // Lines ended by CR alone (an old Mac), and UTF-16 without a byte-order mark.
        {"BEGIN:VCARD\rVERSION:3.0\rFN:Cy\rTEL:5550192\rEND:VCARD\r", {{u"Cy", u"5550192"}}, 0},
        {Utf16(u"BEGIN:VCARD\r\nFN:Di\r\nTEL:5550193\r\nEND:VCARD\r\n", false),
         {{u"Di", u"5550193"}},
         0},
        // Broken data where no name comes from it costs nothing (Android's ORG); a voice
        // number that takes faxes too is a voice number; an agent's card inside a 2.1 card is
        // no contact, and the card it stands in goes on.
        {"BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C3=91=C3=91\r\n"
         "ORG;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=80\r\nTEL;CELL:55556666\r\n"
         "TEL;TYPE=VOICE,FAX:5550150\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Boss\r\nAGENT:\r\nBEGIN:VCARD\r\nVERSION:2.1\r\n"
         "FN:Assistant\r\nTEL:5550161\r\nEND:VCARD\r\nTEL:5550160\r\nEND:VCARD\r\n",
         {{u"\u00D1\u00D1 (mobile)", u"55556666"},
          {u"\u00D1\u00D1 (2)", u"5550150"},
          {u"Boss", u"5550160"}},
         0},
        // Two numbers in one field; the trunk prefix in brackets kept for the dial to drop.
        {"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Jo\r\nTEL;TYPE=CELL:0171 1234567 / 030 7654321\r\n"
         "TEL:+49 (0)30 1234567\r\nEND:VCARD\r\n",
         {{u"Jo (mobile)", u"01711234567"},
          {u"Jo (mobile 2)", u"0307654321"},
          {u"Jo (3)", u"+490301234567"}},
         0},
    };
    for (const Case &c : cases)
        ExpectRead(c, ReadVCards);
}

TEST(Contacts, CsvFromGoogleOutlookAndThunderbird) {
    const Case cases[] = {
        // Google, the older header: Name, and "Phone 1 - Type" beside "Phone 1 - Value".
        {"Name,Given Name,Family Name,Phone 1 - Type,Phone 1 - Value,Phone 2 - Type,"
         "Phone 2 - Value\r\nAnn Lee,Ann,Lee,* Mobile,+1 555 0101,Work Fax,555 0199\r\n"
         "Bo,Bo,,Home,555 0102,Work,555 0103\r\n",
         {{u"Ann Lee", u"+15550101"}, {u"Bo (home)", u"5550102"}, {u"Bo (work)", u"5550103"}},
         0},
        // Google, the newer header: several numbers in one cell, a UTF-8 byte-order mark.
        {"\xEF\xBB\xBF"
         "First Name,Middle Name,Last Name,Phone 1 - Label,Phone 1 - Value\n"
         "Ann,,Lee,Mobile,555 0111 ::: 555 0112\n",
         {{u"Ann Lee (mobile)", u"5550111"}, {u"Ann Lee (mobile 2)", u"5550112"}},
         0},
        // Outlook: columns by name, quoted fields with commas, doubled quotes and a line break;
        // a row with the wrong number of fields is skipped and counted.
        {"First Name,Last Name,Company,Business Phone,Home Phone,Mobile Phone,Business "
         "Fax,Notes\r\n"
         "Ann,Lee,\"Lee, Inc.\",(555) 0121,,555-0122,555 0129,\"says \"\"hi\"\"\r\ntwice\"\r\n"
         ",,Acme,555 0123,,,,\r\nBroken,Row,,555 0124\r\n",
         {{u"Ann Lee (work)", u"5550121"},
          {u"Ann Lee (mobile)", u"5550122"},
          {u"Acme", u"5550123"}},
         1},
        // Thunderbird, separated by semicolons, in the ANSI code page.
        {"First Name;Last Name;Display Name;Work Phone;Home Phone;Fax Number;Mobile Number\n"
         "Ren\xE9;Dupr\xE9;Ren\xE9 D.;;01 23 45 67 89;;06 12 34 56 78\n",
         {{u"Ren\u00E9 D. (home)", u"0123456789"}, {u"Ren\u00E9 D. (mobile)", u"0612345678"}},
         0},
        // A quote never closed: that row is skipped.
        {"Name,Mobile Phone\nAnn,5550131\n\"Bob,5550132\n", {{u"Ann", u"5550131"}}, 1},
        // Lines ended by CR alone, as Excel for Mac writes them.
        {"Name,Mobile Phone\rAnn,555 0190\rBo,555 0191\r",
         {{u"Ann", u"5550190"}, {u"Bo", u"5550191"}},
         0},
        // Only phone columns hold numbers: Google's phonetic names are none, Outlook's Callback
        // is one.
        {"Name,Phonetic First Name,Phonetic Last Name,Phone 1 - Type,Phone 1 - Value\r\n"
         "Ann,an,li,Mobile,555 0111\r\n",
         {{u"Ann", u"5550111"}},
         0},
        {"First Name,Last Name,Callback,Mobile Phone\r\nAnn,Lee,555 0141,555 0142\r\n",
         {{u"Ann Lee (callback)", u"5550141"}, {u"Ann Lee (mobile)", u"5550142"}},
         0},
    };
    for (const Case &c : cases)
        ExpectRead(c, ReadContactsCsv);
    // A field of megabytes with many quotes is read in one pass, not once per quote.
    std::string notes;
    for (int i = 0; i < 400000; ++i)
        notes += "x\"\"y";
    const std::string big = "Name,Mobile Phone,Notes\r\nAnn,5550151,\"" + notes + "\"\r\n";
    const auto start = std::chrono::steady_clock::now();
    const ContactEntries read = ReadContactsCsv(Bytes(big), big.size(), Latin1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(read.entries, (std::vector<NamedNumber>{{u"Ann", u"5550151"}}));
}

TEST(Contacts, NumbersAsThePhoneBookKeepsThem) {
    const std::pair<std::u16string, std::optional<std::u16string>> cases[] = {
        {u"+1 (555) 010-0001", u"+15550100001"},
        {u"555.0002", u"5550002"},
        {u"*31#555 0003", u"*31#5550003"},
        {u"555 0004 x12", u"5550004,12"},
        {u"555 0005 ext. 12", u"5550005,12"},
        {u"5550006;ext=12", u"5550006,12"},
        {u"5550007,,12", u"5550007,,12"},
        {u"tel:+1-555-0008", u"+15550008"},
        {u"1-800-FLOWERS", std::nullopt},
        {u"+1+555", std::nullopt},
        {u"ext. 12", std::nullopt},
        {u"5550009 x", std::nullopt},
        {u"---", std::nullopt},
        {std::u16string(260, u'5'), std::nullopt},
    };
    for (const auto &[written, kept] : cases)
        EXPECT_EQ(PhoneBookNumber(written), kept) << std::string(written.begin(), written.end());
}

TEST(Contacts, TheVCardExportImportsBackUnchanged) {
    const std::vector<NamedNumber> entries = {
        {u"Smith, Ann; Jr. \\ co", u"555-0101"},
        {u"J\u00FCrgen " + std::u16string(80, u'\u00FC'), u"+49 (30) 1234567"},
        {u"Flowers", u"1-800-FLOWERS"},
        {u"\U0001F600 Smile", u"*31#5550102"},
    };
    const std::string file = FormatVCards(entries);
    EXPECT_EQ(file.substr(0, 28), "BEGIN:VCARD\r\nVERSION:3.0\r\nPR");
    EXPECT_NE(file.find("FN:Smith\\, Ann\\; Jr. \\\\ co\r\n"), std::string::npos);
    EXPECT_NE(file.find("TEL;TYPE=VOICE:555-0101\r\n"), std::string::npos);
    for (std::size_t start = 0, end; (end = file.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        EXPECT_LE(end - start, 75u) << "a line longer than 75 octets";
    const ContactEntries back = ReadVCards(Bytes(file), file.size(), Latin1);
    EXPECT_EQ(back.entries, entries);
    EXPECT_EQ(back.skipped, 0);
}

TEST(Contacts, TheFirstLineTellsTheKindOfFile) {
    const std::pair<std::string, ContactFile> cases[] = {
        {"BEGIN:VCARD\r\nVERSION:3.0\r\n", ContactFile::VCard},
        {"begin:vcard\n", ContactFile::VCard},
        {"\xEF\xBB\xBF"
         "BEGIN:VCARD\r\n",
         ContactFile::VCard},
        {Utf16LeWithBom(u"BEGIN:VCARD\r\n"), ContactFile::VCard},
        {"Name,Phone 1 - Value\r\n", ContactFile::Csv},
        {"First Name;Mobile Number\n", ContactFile::Csv},
        {Utf16LeWithBom(u"Name\tNotes,Mobile Phone\r\n"), ContactFile::Csv},
        {"Name,Email\r\nAnn,a@example.com\r\n", ContactFile::PhoneBook},
        {std::string("A\0n\0n\0|\0"
                     "1\0\n\0",
                     12),
         ContactFile::PhoneBook},
        {"Ann|123\n", ContactFile::PhoneBook},
        // Blank lines and blanks before the first line; CR alone; UTF-16 without a mark.
        {"\r\n  \r\n  BEGIN:VCARD\r\n", ContactFile::VCard},
        {"BEGIN:VCARD\rVERSION:3.0\r", ContactFile::VCard},
        {Utf16(u"BEGIN:VCARD\r\n", false), ContactFile::VCard},
        {Utf16(u"Name,Mobile Phone\r\n", true), ContactFile::Csv},
        {Utf16(u"Ann|123\n", false), ContactFile::PhoneBook},
        {"", ContactFile::PhoneBook},
    };
    for (const auto &[file, kind] : cases)
        EXPECT_EQ(DetectContactFile(Bytes(file), file.size()), kind) << file.substr(0, 20);
}
