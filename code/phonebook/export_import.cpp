// Export and import of the phone-book text file through the phone-book list.
#include "export_import.h"

#include <commdlg.h>
#include <functional>
#include <shlobj.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "../base/file_io.h"
#include "../base/list_view.h"
#include "../base/message_box.h"
#include "../base/process_state.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "contacts.h"
#include "list_rows.h"
#include "phone_compare.h"
#include "phone_book_text.h"

namespace zelmora {

namespace {

// Text in the ANSI code page, for contacts' files that are no Unicode.
std::u16string FromAnsi(std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string text(length > 0 ? length : 0, u'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), W(text.data()),
                            length);
    return text;
}

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
    wchar_t path[MAX_PATH] = {};
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = g_phoneBookList;
    dialog.hInstance = GetModuleHandleW(nullptr);
    dialog.lpstrFilter = W(kTextImportFilter);
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = path;
    dialog.nMaxFile = ARRAYSIZE(path);
    dialog.lpstrTitle = W(kTextImportTitle);
    dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST |
                   OFN_EXPLORER | OFN_ENABLESIZING;
    BOOL picked = FALSE;
    {
        const CurrentFolderKept kept;
        picked = GetOpenFileNameW(&dialog);
    }
    if (picked)
        ImportPhoneBookFrom(path);
}

void ExportContacts() {
    HWND list = g_phoneBookList;
    wchar_t path[MAX_PATH] = {};
    lstrcpyW(path, W(kContactsFileName));
    wchar_t documents[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetParent(list);
    dialog.lpstrFilter = W(kTextContactsFilter);
    dialog.lpstrFile = path;
    dialog.nMaxFile = ARRAYSIZE(path);
    dialog.lpstrInitialDir = documents;
    dialog.lpstrDefExt = L"vcf";
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER |
                   OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    BOOL picked = FALSE;
    {
        const CurrentFolderKept kept;
        picked = GetSaveFileNameW(&dialog);
    }
    if (!picked)
        return;
    std::vector<NamedNumber> entries;
    const int count = ListCount(list);
    for (int row = 0; row < count; ++row)
        entries.emplace_back(ReadCell(list, row, kNameColumn), ReadCell(list, row, kPhoneColumn));
    const std::string cards = FormatVCards(entries);
    if (ReplaceFileWhole(path, [&cards](HANDLE file) {
            return WriteWhole(file, cards.data(), static_cast<DWORD>(cards.size()));
        }))
        ShowMessageNaming(kTextContactsExported, path, MB_ICONINFORMATION, list);
    else
        ShowMessage(list, kTextCannotExport, MB_ICONERROR);
}

void ImportPhoneBookFrom(const wchar_t *path) {
    HWND list = g_phoneBookList;
    // A file that another program still has open can be read all the same.
    FileHandle file =
        OpenFile(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!file) {
        ShowMessage(list, kTextCannotOpenImport, MB_ICONERROR);
        return;
    }
    const DWORD size = GetFileSize(file.get(), nullptr);
    std::unique_ptr<unsigned char[]> contents(new (std::nothrow) unsigned char[size]);
    if (!contents) {
        ShowMessage(list, kTextOutOfMemory, MB_ICONERROR);
        return;
    }
    DWORD read = 0;
    if (!g_readFile(file.get(), contents.get(), size, &read, nullptr)) {
        // Say so (a range another program locked, say): an unread file is not "no new items".
        ShowMessage(list, kTextCannotOpenImport, MB_ICONERROR);
        return;
    }

    if (const ContactFile kind = DetectContactFile(contents.get(), read);
        kind != ContactFile::PhoneBook) {
        ImportContacts(list, kind, contents.get(), read);
        return;
    }
    const int countBefore = ListCount(list);
    MergeIntoList(list, contents.get(), read);
    contents.reset();
    file.reset();
    ShowMessage(list, ListCount(list) == countBefore ? kTextNothingImported : kTextImported,
                MB_ICONINFORMATION);
}

} // namespace zelmora
