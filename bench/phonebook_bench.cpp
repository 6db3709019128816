// Times the phone-book operations at 1k, 10k and 100k entries against a real list control and
// a scratch registry key, and prints one line per measurement: <operation> <entries> <ms>.
// read-floor and write-floor are what the registry alone takes for the values of a load and a
// save; the two saves that write are also printed as ratios to the write floor. A save that
// renumbers every entry makes three registry calls for each (the number it moves into first
// gets a PhoneNumber that is no text, so that a save cut short never pairs two entries'
// values) where the floor makes two, so its ratio can not go below 1.5.
// Import files hold as many lines as the phone book has entries, half of them duplicates.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "base/list_view.h"
#include "app/find_field.h"
#include "dialing/caller_id.h"
#include "phonebook/find_entry.h"
#include "base/process_state.h"
#include "phonebook/export_import.h"
#include "phonebook/list_rows.h"
#include "phonebook/phone_compare.h"
#include "phonebook/registry_store.h"
#include "scanning_lookup.h"

using namespace zelmora;

namespace {

constexpr wchar_t kBenchKey[] = L"Software\\Brannock\\Zelmora Benchmark";

// Every message box the operations show is answered at once.
LRESULT CALLBACK CloseBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE)
        PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

long long Milliseconds(const std::function<void()> &operation) {
    const auto start = std::chrono::steady_clock::now();
    operation();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

std::wstring Name(std::mt19937 &random) {
    std::wstring name;
    for (int i = 0; i < 8; ++i)
        name += static_cast<wchar_t>((random() % 2 ? L'a' : L'A') + random() % 26);
    return name;
}

std::wstring Phone(int i) { return L"+1 555 " + std::to_wstring(1000000 + i); }

void Fill(HWND list, int count, std::mt19937 &random) {
    ClearList(list);
    SendMessageW(list, LVM_SETITEMCOUNT, count, 0);
    RedrawPause pause(list);
    for (int i = 0; i < count; ++i) {
        const std::wstring name = Name(random);
        AppendRow(list, name.c_str(), Phone(i).c_str());
    }
}

// count lines: every other one repeats a phone already in the book, the rest are new.
void WriteImportFile(const wchar_t *path, int count, std::mt19937 &random) {
    std::wstring text;
    for (int i = 0; i < count; ++i)
        text += Name(random) + L"|" + Phone(i % 2 ? i : count + i) + L"\n";
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size() * 2), &written, nullptr);
    CloseHandle(file);
}

void WriteBytes(const wchar_t *path, const std::string &bytes) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Ascii(const std::wstring &text) { return std::string(text.begin(), text.end()); }

// count contacts as vCards, two numbers each, a photo of some 20 KB in every hundredth card
// (about 3 MB at 10,000); half the first numbers are in the phone book already.
void WriteVCardFile(const wchar_t *path, int count, std::mt19937 &random) {
    std::string photo = "PHOTO;ENCODING=b;TYPE=JPEG:";
    for (int line = 0; line < 270; ++line)
        photo += std::string(74, 'Q') + "\r\n ";
    photo += "Q\r\n";
    std::string cards;
    for (int i = 0; i < count; ++i) {
        const std::string name = Ascii(Name(random));
        cards += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name + "\r\nN:" + name + ";;;;\r\n";
        if (i % 100 == 0)
            cards += photo;
        cards += "TEL;TYPE=CELL:" + Ascii(Phone(i % 2 ? i : count + i)) +
                 "\r\nTEL;TYPE=WORK:" + Ascii(Phone(2 * count + i)) + "\r\nEND:VCARD\r\n";
    }
    WriteBytes(path, cards);
}

// count rows of an Outlook CSV export, two numbers each.
void WriteCsvFile(const wchar_t *path, int count, std::mt19937 &random) {
    std::string rows = "First Name,Last Name,Company,Business Phone,Mobile Phone,Notes\r\n";
    for (int i = 0; i < count; ++i)
        rows += Ascii(Name(random)) + "," + Ascii(Name(random)) + ",\"Acme, Inc.\"," +
                Ascii(Phone(i % 2 ? i : count + i)) + "," + Ascii(Phone(3 * count + i)) + ",\r\n";
    WriteBytes(path, rows);
}

std::string ReadWhole(const wchar_t *path) {
    HANDLE file =
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

// What reading the file alone takes: the floor of an import.
long long ReadFloor(const wchar_t *path) {
    return Milliseconds([path] { ReadWhole(path); });
}

// The import as it would be without the index: every line's Phone compared with every row's.
void ImportScanning(HWND list, const wchar_t *path) {
    const std::string bytes = ReadWhole(path);
    zelmora::ListRows rows(list);
    zelmora::RedrawPause pause(list);
    ScanningLookup lookup(rows, zelmora::ComparePhones);
    zelmora::MergePhoneBookText(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size(),
                                rows, lookup);
}

// The value names of entries entries, made before timing so that the floors time only the
// registry.
std::vector<std::wstring> ValueNames(int entries) {
    std::vector<std::wstring> names;
    for (int i = 0; i < entries; ++i) {
        wchar_t name[32];
        wsprintfW(name, L"%02d_Name", i);
        names.push_back(name);
        wsprintfW(name, L"%02d_PhoneNumber", i);
        names.push_back(name);
    }
    return names;
}

// The registry's own cost of a load or a save: one plain query or one plain write (over the
// value that is there) for every value of the key, with nothing else around it.
long long RegistryFloor(const std::vector<std::wstring> &names, bool write) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kBenchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return -1;
    const std::wstring text = L"+1 555 1000000";
    const long long ms = Milliseconds([&] {
        for (const std::wstring &name : names) {
            BYTE data[520];
            DWORD size = sizeof data;
            if (write)
                RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE *>(text.c_str()),
                               static_cast<DWORD>(text.size() * 2));
            else
                RegQueryValueExW(key, name.c_str(), nullptr, nullptr, data, &size);
        }
    });
    RegCloseKey(key);
    return ms;
}

void Report(const char *operation, int entries, long long ms) {
    std::printf("%s %d %lld\n", operation, entries, ms);
    std::fflush(stdout);
}

} // namespace

int wmain(int argc, wchar_t **argv) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    g_instance = GetModuleHandleW(nullptr);
    lstrcpyW(g_caption, L"Zelmora");
    HWND owner = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                 nullptr, nullptr, g_instance, nullptr);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 300, 200, owner,
                                nullptr, g_instance, nullptr);
    SetUpColumns(list, L"Phone");
    g_phoneBookList = list;
    HHOOK hook = SetWindowsHookExW(WH_CBT, CloseBoxes, nullptr, GetCurrentThreadId());

    std::vector<int> sizes = {1000, 10000, 100000};
    if (argc > 1)
        sizes = {_wtoi(argv[1])};
    std::mt19937 random(7);
    for (int n : sizes) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kBenchKey);
        RegistryStore store(kBenchKey);
        Fill(list, n, random);
        Report("sort", n, Milliseconds([&] { SortByName(list); }));
        // Open and close as the main window does them: load the stored entries, then save the
        // list over them.
        SavePhoneBook(store);
        ClearList(list);
        Report("load", n, Milliseconds([&] { LoadPhoneBook(owner, store); }));
        Report("save", n, Milliseconds([&] { SavePhoneBook(store); }));
        // Saves that write: every entry new, and an entry that sorts first, so that every
        // stored entry moves up one number. Each is set against the write floor below.
        long long saveNew = 0, saveRenumbered = 0;
        Fill(list, n, random);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kBenchKey);
        {
            RegistryStore fresh(kBenchKey);
            ClearList(list);
            LoadPhoneBook(owner, fresh);
            Fill(list, n, random);
            saveNew = Milliseconds([&] { SavePhoneBook(fresh); });
            Report("save-new", n, saveNew);
            AppendRow(list, L"!first", L"+1 555 0000000");
            SortByName(list);
            saveRenumbered = Milliseconds([&] { SavePhoneBook(fresh); });
            Report("save-renumbered", n, saveRenumbered);
        }
        const std::vector<std::wstring> names = ValueNames(n);
        Report("read-floor", n, RegistryFloor(names, false));
        const long long writeFloor = RegistryFloor(names, true);
        Report("write-floor", n, writeFloor);
        if (writeFloor > 0) {
            std::printf("save-new/write-floor %d %.2f\n", n, double(saveNew) / writeFloor);
            std::printf("save-renumbered/write-floor %d %.2f\n", n,
                        double(saveRenumbered) / writeFloor);
        }
        Report("export", n, Milliseconds([&] { ExportPhoneBook(); }));
        WriteImportFile(L"bench-import.txt", n, random);
        const long long indexed = Milliseconds([&] { ImportPhoneBookFrom(L"bench-import.txt"); });
        Report("import-indexed", n, indexed);
        if (n <= 10000) {
            ClearList(list);
            LoadPhoneBook(owner, store);
            Report("import-naive", n,
                   Milliseconds([&] { ImportScanning(list, L"bench-import.txt"); }));
        }
        // Contacts into a phone book of n entries: vCards and an Outlook CSV, each against the
        // time that reading its file alone takes.
        if (n <= 10000) {
            const struct {
                const char *name;
                const wchar_t *file;
                void (*write)(const wchar_t *, int, std::mt19937 &);
            } contacts[] = {{"vcard", L"bench-contacts.vcf", WriteVCardFile},
                            {"csv", L"bench-contacts.csv", WriteCsvFile}};
            for (const auto &c : contacts) {
                c.write(c.file, n, random);
                ClearList(list);
                LoadPhoneBook(owner, store);
                Report((std::string("import-") + c.name).c_str(), n,
                       Milliseconds([&] { ImportPhoneBookFrom(c.file); }));
                Report((std::string("read-") + c.name).c_str(), n, ReadFloor(c.file));
                DeleteFileW(c.file);
            }
        }
        // A caller's number matched to the phone book of the list: reading its numbers from the
        // list, then the match, for the last entry's number as a caller ID gives it in the
        // entries' own area (the median of 21 matches).
        {
            ClearList(list);
            Fill(list, n, random);
            std::vector<std::u16string> phones;
            Report("read-phones", n, Milliseconds([&] {
                       for (int row = 0; row < n; ++row)
                           phones.push_back(zelmora::ReadCell(list, row, 1));
                   }));
            const std::vector<zelmora::Country> countries = {
                {1, 1, u"United States of America", "G", "1FG", "011EFG"}};
            zelmora::Location location;
            location.country = 1;
            location.areaCode = "555";
            const std::string caller = std::to_string(1000000 + n - 1);
            std::vector<double> times;
            for (int round = 0; round < 21; ++round) {
                const auto start = std::chrono::steady_clock::now();
                const auto found = zelmora::MatchCaller(caller, phones, location, countries);
                times.push_back(std::chrono::duration<double, std::milli>(
                                    std::chrono::steady_clock::now() - start)
                                    .count());
                if (!found)
                    std::printf("match-caller %d: no entry found\n", n);
            }
            std::sort(times.begin(), times.end());
            std::printf("match-caller %d %.2f\n", n, times[times.size() / 2]);
            // The find field: each letter of the last entry's name typed, the first entry that
            // the text finds, over the names and numbers as the field reads them once (the
            // median over the letters).
            zelmora::FindEntries entries;
            Report("read-names-and-phones", n, Milliseconds([&] {
                       for (int row = 0; row < n; ++row) {
                           entries.names.push_back(zelmora::ReadCell(list, row, 0));
                           entries.phones.push_back(zelmora::ReadCell(list, row, 1));
                       }
                   }));
            const std::u16string name = entries.names.back();
            times.clear();
            for (std::size_t letters = 1; letters <= name.size(); ++letters) {
                const auto start = std::chrono::steady_clock::now();
                zelmora::FindEntry(entries, name.substr(0, letters), zelmora::FindDirection::First,
                                   0, zelmora::LocaleNameHolds);
                times.push_back(std::chrono::duration<double, std::milli>(
                                    std::chrono::steady_clock::now() - start)
                                    .count());
            }
            std::sort(times.begin(), times.end());
            std::printf("find-as-typed %d %.2f (median of %zu letters, the slowest %.2f)\n", n,
                        times[times.size() / 2], times.size(), times.back());
        }
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kBenchKey);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kBenchKey);
    }
    DeleteFileW(L"bench-import.txt");
    DeleteFileW(L"export_phone_book.txt");
    UnhookWindowsHookEx(hook);
    DestroyWindow(owner);
    return 0;
}
