// Export and import of the phone-book text file through the phone-book list.
#include "export_import.h"

#include <shlobj.h>

#include <string>
#include <vector>

#include "../base/ansi_text.h"
#include "../base/file_io.h"
#include "../base/list_view.h"
#include "../base/message_box.h"
#include "../base/process_state.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "contacts.h"
#include "file_dialogs.h"
#include "list_rows.h"
#include "phone_compare.h"
#include "phone_book_text.h"

namespace zelmora {

namespace {

// Adds each contact's entry unless its number is in the phone book already; the number added.
int MergeContacts(HWND list, const std::vector<NamedNumber> &entries) {
    ListRows rows(list);
    RedrawPause pause(list);
    IndexedLookup lookup(rows, PhoneSortKey, ComparePhones);
    int added = 0;
    for (const auto &[name, phone] : entries) {
        if (lookup.Contains(phone))
            continue;
        rows.Append(name, phone);
        lookup.Add(phone);
        ++added;
    }
    return added;
}

// A vCard or CSV file of contacts into the phone book, and the box that counts what was added
// and what was skipped.
void ImportContacts(HWND list, ContactFile kind, const unsigned char *bytes, DWORD size) {
    const ContactEntries read = kind == ContactFile::VCard ? ReadVCards(bytes, size, FromAnsi)
                                                           : ReadContactsCsv(bytes, size, FromAnsi);
    const int added = MergeContacts(list, read.entries);
    const std::wstring text =
        FormatText(kTextContactsImported, {std::to_wstring(added), std::to_wstring(read.skipped)});
    ShowMessage(list, U(text.c_str()), MB_ICONINFORMATION);
}

void MergeIntoList(HWND list, const unsigned char *bytes, DWORD size) {
    ListRows rows(list);
    RedrawPause pause(list);
    IndexedLookup lookup(rows, PhoneSortKey, ComparePhones);
    MergePhoneBookText(bytes, size, rows, lookup);
}

// Writes every row into file; false when the disk took less (full, or failing).
bool WriteRows(HWND list, HANDLE file) {
    const int rows = ListCount(list);
    const int columns = ColumnCount(list);
    std::vector<std::u16string> cells(columns);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            cells[column] = ReadCell(list, row, column);
        const std::string line = FormatPhoneBookLine(cells);
        if (!WriteWhole(file, line.data(), static_cast<DWORD>(line.size())))
            return false;
    }
    return true;
}

} // namespace

void ExportPhoneBook() {
    HWND list = g_phoneBookList;
    if (ReplaceFileWhole(W(kExportFileName), [list](HANDLE file) { return WriteRows(list, file); }))
        ShowMessage(list, kTextExported, MB_ICONINFORMATION);
    else
        ShowMessage(list, kTextCannotExport, MB_ICONERROR);
}

void ImportPhoneBook() {
    FileQuestion question;
    question.owner = g_phoneBookList;
    question.filter = kTextImportFilter;
    question.title = kTextImportTitle;
    if (const std::optional<std::wstring> path = AskFileToOpen(question))
        ImportPhoneBookFrom(path->c_str());
}

void ExportContacts() {
    HWND list = g_phoneBookList;
    wchar_t documents[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
    FileQuestion question;
    question.owner = GetParent(list);
    question.filter = kTextContactsFilter;
    question.name = W(kContactsFileName);
    question.folder = documents;
    question.defaultExtension = L"vcf";
    const std::optional<std::wstring> path = AskFileToSave(question);
    if (!path)
        return;
    std::vector<NamedNumber> entries;
    const int count = ListCount(list);
    for (int row = 0; row < count; ++row)
        entries.emplace_back(ReadCell(list, row, kNameColumn), ReadCell(list, row, kPhoneColumn));
    const std::string cards = FormatVCards(entries);
    if (ReplaceFileWhole(*path, [&cards](HANDLE file) {
            return WriteWhole(file, cards.data(), static_cast<DWORD>(cards.size()));
        }))
        ShowMessageNaming(kTextContactsExported, *path, MB_ICONINFORMATION, list);
    else
        ShowMessage(list, kTextCannotExport, MB_ICONERROR);
}

void ImportPhoneBookFrom(const wchar_t *path) {
    HWND list = g_phoneBookList;
    WholeFile file = ReadWholeFile(path);
    if (file.outcome != WholeFile::Outcome::Read) {
        // An unread file is said so: it is not "no new items".
        ShowMessage(list,
                    file.outcome == WholeFile::Outcome::OutOfMemory ? kTextOutOfMemory
                                                                    : kTextCannotOpenImport,
                    MB_ICONERROR);
        return;
    }
    const unsigned char *bytes = file.bytes.data();
    const auto size = static_cast<DWORD>(file.bytes.size());
    if (const ContactFile kind = DetectContactFile(bytes, size); kind != ContactFile::PhoneBook) {
        ImportContacts(list, kind, bytes, size);
        return;
    }
    const int countBefore = ListCount(list);
    MergeIntoList(list, bytes, size);
    file = {};
    ShowMessage(list, ListCount(list) == countBefore ? kTextNothingImported : kTextImported,
                MB_ICONINFORMATION);
}

} // namespace zelmora
