// Contacts through the real window: vCard and CSV files picked in the open dialog, and the phone
// book saved as vCards through the save dialog and read back.
#include <gtest/gtest.h>

#include <string>

#include "main_window_fixture.h"
#include "res/resource.h"
#include "test_files.h"
#include "zelmora_process.h"

namespace {

constexpr int kFileNameField = 1148;

// Opens the window's File command id, types path into its file dialog and presses OK; the box
// that follows, answered.
// A shown window that owner owns (Windows' question before a file is replaced: "Confirm Save
// As" on Windows, "Error" under Wine), or null.
BOOL WINAPI FindOwned(HWND window, LPARAM param) {
    auto *found = reinterpret_cast<std::pair<HWND, HWND> *>(param);
    if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == found->first) {
        found->second = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring PickFile(ZelmoraProcess &zelmora, HWND main, int id, const wchar_t *title,
                      const std::wstring &path, bool replace = false) {
    PostMessageW(main, WM_COMMAND, id, 0);
    HWND dialog = zelmora.FindWindowTitled(title);
    if (!dialog)
        return L"<no dialog>";
    SendMessageW(GetDlgItem(dialog, kFileNameField), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    // A file that is there: the dialog asks first, in a box that it owns; Yes.
    std::pair<HWND, HWND> question = {dialog, nullptr};
    if (replace && !WaitUntil([&] {
            EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&question));
            return question.second != nullptr;
        }))
        return L"<no question>";
    if (question.second)
        PostMessageW(question.second, WM_COMMAND, IDYES, 0);
    HWND box = nullptr;
    WaitUntil([&] {
        box = zelmora.FindWindowTitled(L"Zelmora", 50);
        return box && box != main;
    });
    if (!box || box == main)
        return L"<no box>";
    const std::wstring text = DialogItemText(box, 0xFFFF);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    // The command ends after the box (an import sorts the list then): once the box is gone, a
    // message the window answers comes after the rest of the command.
    WaitUntil([&] { return !IsWindow(box); });
    DWORD_PTR result = 0;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
    return text;
}

Entries Rows(ZelmoraProcess &zelmora, HWND main) {
    RemoteList book(GetDlgItem(main, IDC_PHONE_BOOK_LIST), zelmora.id());
    Entries rows;
    for (int row = 0; row < book.Count(); ++row)
        rows.emplace_back(book.Cell(row, 0), book.Cell(row, 1));
    return rows;
}

std::wstring Added(int added, int skipped) {
    return std::to_wstring(added) + L" entries were added to the phone book. " +
           std::to_wstring(skipped) +
           L" contacts or numbers could not be read whole, or can not be dialled, and were "
           L"skipped.";
}

} // namespace

TEST(Contacts, ImportedThroughTheOpenDialogAndExportedAsVCardsThatReadBack) {
    const struct {
        const wchar_t *file;
        std::string bytes;
        Entries rows; // the phone book afterwards, in name order
        std::wstring box;
    } cases[] = {
        {L"google.vcf",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Lee\r\nN:Lee;Ann;;;\r\n"
         "TEL;TYPE=CELL:+1 555-0101\r\nitem1.TEL:555-0102\r\nEND:VCARD\r\n",
         {{L"Ann Lee (2)", L"5550102"}, {L"Ann Lee (mobile)", L"+15550101"}},
         Added(2, 0)},
        {L"outlook.vcf",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Dupont;Marie\r\n"
         "FN;ENCODING=QUOTED-PRINTABLE:Marie Dupont=\r\n Sr.\r\nTEL;WORK;VOICE:(555) 0103\r\n"
         "TEL;WORK;FAX:555 0109\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:Cut short\r\n",
         {{L"Marie Dupont Sr.", L"5550103"}},
         Added(1, 1)},
        {L"phone.vcf",
         "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Bo\r\nTEL;VALUE=uri;TYPE=cell:tel:+1-555-0104\r\n"
         "TEL;TYPE=home:1-800-FLOWERS\r\nEND:VCARD\r\n",
         {{L"Bo", L"+15550104"}}, // one number that can be dialled: no kind
         Added(1, 1)},
        {L"google.csv",
         "Name,Given Name,Family Name,Phone 1 - Type,Phone 1 - Value\r\n"
         "Cleo,Cleo,,Mobile,555 0105 ::: 555 0106\r\nBroken,row\r\n",
         {{L"Cleo (mobile 2)", L"5550106"}, {L"Cleo (mobile)", L"5550105"}},
         Added(2, 1)},
        {L"outlook.csv",
         "First Name,Last Name,Business Phone,Mobile Phone,Business Fax\r\n"
         "Dan,\"Ray, Jr.\",555 0107,,555 0108\r\nAnn,Lee,+1 555-0101,,\r\n",
         {{L"Dan Ray, Jr.", L"5550107"}},
         Added(1, 0)}, // Ann's number is in the phone book already
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.file)));
        DeletePhoneBookKey();
        if (std::wstring(c.file) == L"outlook.csv")
            StoreEntries({{L"Ann", L"+15550101"}});
        const std::wstring path = ScratchFolder() + L"\\" + c.file;
        WriteBytes(path.c_str(), c.bytes);
        ZelmoraProcess zelmora(L"");
        HWND main = zelmora.FindWindowTitled(L"Zelmora");
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(
            PickFile(zelmora, main, IDM_IMPORT, L"Please select a text file for import", path),
            c.box);
        Entries rows = Rows(zelmora, main);
        std::erase(rows, Entry{L"Ann", L"+15550101"});
        EXPECT_EQ(rows, c.rows);
        // Saved as vCards, and read back into an empty phone book: the same entries.
        const std::wstring exported = ScratchFolder() + L"\\exported.vcf";
        DeleteFileW(exported.c_str());
        EXPECT_EQ(PickFile(zelmora, main, IDM_EXPORT_CONTACTS, L"Save As", exported),
                  L"The phone book is saved as vCards in \"" + exported + L"\".");
        // Once more over the file that is there now, after the dialog's question: replaced.
        if (&c == &cases[0]) {
            EXPECT_EQ(PickFile(zelmora, main, IDM_EXPORT_CONTACTS, L"Save As", exported, true),
                      L"The phone book is saved as vCards in \"" + exported + L"\".");
        }
        const Entries before = Rows(zelmora, main);
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(zelmora.Wait(10000), 0);
        DeletePhoneBookKey();
        ZelmoraProcess again(L"");
        HWND empty = again.FindWindowTitled(L"Zelmora");
        ASSERT_NE(empty, nullptr);
        PickFile(again, empty, IDM_IMPORT, L"Please select a text file for import", exported);
        EXPECT_EQ(Rows(again, empty), before);
        PostMessageW(empty, WM_CLOSE, 0, 0);
        EXPECT_EQ(again.Wait(10000), 0);
    }
    DeletePhoneBookKey();
}
