// Export and import through the main window's File menu, with exact file bytes.
#include <windows.h>
#include <commctrl.h>

#include <random>
#include <string>

#include "base/file_io.h"
#include "base/list_view.h"
#include "dialog_driver.h"
#include "main_window_fixture.h"
#include "base/text_cast.h"
#include "memory_rows.h"
#include "phonebook/export_import.h"
#include "phonebook/phone_compare.h"
#include "res/resource.h"
#include "test_files.h"

using namespace zelmora;

namespace {

constexpr int kFileNameField = 1148; // the open-file dialog's file name box

// A disk that takes no more: the file opens, and the write fails.
BOOL WINAPI WriteNothing(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    return FALSE;
}

BOOL WINAPI LockedRead(HANDLE, LPVOID, DWORD, LPDWORD read, LPOVERLAPPED) {
    *read = 0;
    SetLastError(ERROR_LOCK_VIOLATION);
    return FALSE;
}

class ExportImportTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        DeleteFileW(L"export_phone_book.txt");
    }
    // Imports path through the seam behind the file dialog; returns the message shown.
    SeenWindow Import(const wchar_t *path) {
        DialogDriver driver;
        ImportPhoneBookFrom(path);
        EXPECT_EQ(driver.seen.size(), 1u);
        return driver.seen.empty() ? SeenWindow{} : driver.seen[0];
    }
};

} // namespace

TEST_F(ExportImportTest, ExportWritesExactBytesAndReplacesTheFile) {
    WriteBytes(L"export_phone_book.txt", std::string(100, 'x'));
    AppendRows(phoneBook_, {{L"Ann", L"123"}, {L"Bob", L"456"}});
    DialogDriver driver;
    Command(IDM_EXPORT);
    EXPECT_EQ(FileBytes(L"export_phone_book.txt"), Utf16Bytes(L"Ann|123\nBob|456\n"));
    ASSERT_EQ(driver.seen.size(), 1u);
    ExpectOkBox(driver.seen[0], L"Data is saved to file \"export_phone_book.txt\"",
                BoxIcon::Information, main_);
}

TEST_F(ExportImportTest, ExportOfAnEmptyPhoneBookIsAnEmptyFile) {
    DialogDriver driver;
    Command(IDM_EXPORT);
    EXPECT_EQ(FileBytes(L"export_phone_book.txt"), "");
    ASSERT_EQ(driver.seen.size(), 1u);
    EXPECT_EQ(driver.seen[0].text, L"Data is saved to file \"export_phone_book.txt\"");
}

TEST_F(ExportImportTest, ExportReportsAFileThatCannotBeCreatedOrWritten) {
    AppendRows(phoneBook_, {{L"Ann", L"123"}});
    HANDLE held =
        CreateFileW(L"export_phone_book.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DialogDriver driver;
    Command(IDM_EXPORT);
    CloseHandle(held);
    // The disk fills up: the last good export stays as it was, and no partial file is left.
    WriteBytes(L"export_phone_book.txt", "the last good export");
    g_writeFile = WriteNothing;
    Command(IDM_EXPORT);
    g_writeFile = WriteFile;
    EXPECT_EQ(FileBytes(L"export_phone_book.txt"), "the last good export");
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(L"zel*.tmp", &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a partial export was left";
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    // In links, export_phone_book.txt is a link to victim.txt, which must stay as it is.
    ASSERT_TRUE(SetCurrentDirectoryW(L"links"));
    Command(IDM_EXPORT);
    EXPECT_EQ(FileBytes(L"victim.txt"), "victim\n");
    SetCurrentDirectoryW(L"..");
    ASSERT_EQ(driver.seen.size(), 3u);
    for (const SeenWindow &box : driver.seen)
        ExpectOkBox(box, L"Can not create file fore write!", BoxIcon::Error, main_);
}

TEST_F(ExportImportTest, ReimportOfTheExportAddsNothing) {
    AppendRows(phoneBook_, {{L"Ann", L"123"}, {L"Bob", L"456"}, {L"Cid", L""}});
    DialogDriver driver;
    Command(IDM_EXPORT);
    const SeenWindow box = Import(L"export_phone_book.txt");
    ExpectOkBox(box, L"There is no new items!", BoxIcon::Information, main_);
    EXPECT_EQ(ListCount(phoneBook_), 3);
}

TEST_F(ExportImportTest, ImportAppendsNewPhonesInFileOrder) {
    AppendRows(phoneBook_, {{L"Ann", L"123"}});
    WriteBytes(L"in.txt", Utf16Bytes(L"Zed|9\nBob|123\nAmy|8|extra\r\nZed|9\r\nLast|7"));
    ExpectOkBox(Import(L"in.txt"), L"New items is added!", BoxIcon::Information, main_);
    EXPECT_EQ(ListRows(phoneBook_),
              (Entries{{L"Ann", L"123"}, {L"Zed", L"9"}, {L"Amy", L"8"}, {L"Last", L"7"}}));
}

TEST_F(ExportImportTest, ImportReportsFilesItCannotRead) {
    ExpectOkBox(Import(L"no such file.txt"), L"Can not create file!", BoxIcon::Error, main_);
    WriteBytes(L"odd.txt", "A");
    ExpectOkBox(Import(L"odd.txt"), L"There is no new items!", BoxIcon::Information, main_);
    // Open in another program, as an editor keeps it: read all the same, unless the read fails
    // (a range that program locked).
    WriteBytes(L"open.txt", Utf16Bytes(L"Zed|9\n"));
    HANDLE other =
        CreateFileW(L"open.txt", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    g_readFile = LockedRead;
    ExpectOkBox(Import(L"open.txt"), L"Can not create file!", BoxIcon::Error, main_);
    g_readFile = ReadFile;
    EXPECT_EQ(ListCount(phoneBook_), 0);
    ExpectOkBox(Import(L"open.txt"), L"New items is added!", BoxIcon::Information, main_);
    CloseHandle(other);
    EXPECT_EQ(ListRows(phoneBook_), (Entries{{L"Zed", L"9"}}));
}

TEST_F(ExportImportTest, CancelledDialogShowsNothingAndStillSorts) {
    AppendRows(phoneBook_, {{L"Zoe", L"1"}, {L"Ann", L"2"}});
    DialogDriver driver;
    driver.Press(IDCANCEL);
    Command(IDM_IMPORT);
    ASSERT_EQ(driver.seen.size(), 1u);
    EXPECT_EQ(driver.seen[0].title, L"Please select a text file for import");
    EXPECT_EQ(driver.seen[0].owner, main_);
    EXPECT_EQ(ListRows(phoneBook_), (Entries{{L"Ann", L"2"}, {L"Zoe", L"1"}}));
}

TEST_F(ExportImportTest, ImportThroughTheDialogKeepsTheCurrentDirectory) {
    CreateDirectoryW(L"elsewhere", nullptr);
    const std::wstring path = ScratchFolder() + L"\\elsewhere\\book.txt";
    WriteBytes(path.c_str(), Utf16Bytes(L"Zed|9\nAmy|8\n"));
    const std::wstring before = ScratchFolder();
    DialogDriver driver;
    // The path takes the dialog to the other folder, and Windows' dialog makes it current.
    driver.Then([&](const SeenWindow &w) {
        SetDlgItemTextW(w.window, kFileNameField, path.c_str());
        PostCommand(w.window, IDOK);
    });
    Command(IDM_IMPORT);
    ASSERT_EQ(driver.seen.size(), 2u);
    EXPECT_EQ(driver.seen[1].text, L"New items is added!");
    EXPECT_EQ(ListRows(phoneBook_), (Entries{{L"Amy", L"8"}, {L"Zed", L"9"}}));
    EXPECT_EQ(ScratchFolder(), before);
    Command(IDM_EXPORT);
    EXPECT_EQ(FileBytes((before + L"\\export_phone_book.txt").c_str()),
              Utf16Bytes(L"Amy|8\nZed|9\n"));
}

TEST(ExportImport, TheIndexedDuplicateCheckAgreesWithTheLocaleComparison) {
    // Texts where the locale comparison differs from a comparison of code units.
    const std::wstring pieces[] = {L"123",
                                   L"12\x00ad"
                                   L"3",
                                   L"1\x200b"
                                   L"23",
                                   L"abc",
                                   L"ABC",
                                   L"Abc",
                                   L"\x00e9",
                                   L"e\x0301",
                                   L"E\x0301",
                                   L"\x00df",
                                   L"ss",
                                   L"SS",
                                   L"",
                                   L"\r",
                                   L"\xfeff",
                                   L"5-5",
                                   L"55",
                                   L"\x0431",
                                   L"o\x0308"};
    // The import's index of sort keys finds exactly the phones that lstrcmpW calls equal.
    std::mt19937 random(20261207);
    for (int round = 0; round < 6; ++round) {
        Entries16 existing;
        std::u16string file;
        for (int i = 0; i < 150; ++i) {
            const std::wstring phone =
                pieces[random() % std::size(pieces)] + pieces[random() % std::size(pieces)];
            const std::u16string name = u"n" + std::u16string(U(std::to_wstring(i).c_str()));
            if (i < 50)
                existing.emplace_back(name, U(phone.c_str()));
            else
                file += name + u"|" + U(phone.c_str()) + u"\n";
        }
        const auto [scanned, indexed] =
            MergeBothWays(existing, reinterpret_cast<const unsigned char *>(file.data()),
                          file.size() * sizeof(char16_t), PhoneSortKey, ComparePhones);
        EXPECT_EQ(scanned, indexed) << "round " << round;
        EXPECT_GT(indexed.size(), 60u);
    }
}

namespace {

// ReplaceFileW failing as Windows' can, with a backup name given, for as many calls as
// g_failures says; then the real one. With ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 the old file has
// gone to the backup's name and the new one kept its own; with the others both kept theirs.
DWORD g_replaceError = 0;
int g_failures = 0;

BOOL WINAPI FailingReplace(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                           LPVOID exclude, LPVOID reserved) {
    if (g_failures == 0)
        return ReplaceFileW(replaced, replacement, backup, flags, exclude, reserved);
    --g_failures;
    if (g_replaceError == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExW(replaced, backup, MOVEFILE_REPLACE_EXISTING);
    SetLastError(g_replaceError);
    return FALSE;
}

} // namespace

TEST(ReplaceFileWhole, OneWholeFileKeepsTheNameWhateverTheReplaceLeaves) {
    // A whole path, as the save dialog gives it, over a file that is there.
    const std::wstring path = ScratchFolder() + L"\\contacts.vcf";
    const struct {
        DWORD error;
        int failures;
        bool replaced; // the new file has the name; else the old one
    } cases[] = {
        {0, 0, true},
        {ERROR_SHARING_VIOLATION, 1, true},
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT, 1000, false},
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1, true},
        {ERROR_UNABLE_TO_REMOVE_REPLACED, 1000, false},
    };
    g_replaceFile = FailingReplace;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.error);
        WriteBytes(path.c_str(), "the old export");
        g_replaceError = c.error;
        g_failures = c.failures;
        const bool done = ReplaceFileWhole(
            path, [](HANDLE file) { return WriteWhole(file, "the new export", 14); });
        EXPECT_EQ(done, c.replaced);
        EXPECT_EQ(FileBytes(path.c_str()), c.replaced ? "the new export" : "the old export");
        WIN32_FIND_DATAW found;
        const HANDLE left = FindFirstFileW((ScratchFolder() + L"\\zel*.tmp").c_str(), &found);
        EXPECT_EQ(left, INVALID_HANDLE_VALUE) << "a partial file or a backup was left";
        if (left != INVALID_HANDLE_VALUE)
            FindClose(left);
    }
    g_replaceFile = ReplaceFileW;
    DeleteFileW(path.c_str());
}
