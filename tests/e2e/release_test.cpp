// The two release packages under Wine: the portable ZIP, unpacked by the release_zip step,
// started in its own folder as Explorer starts it; and the installer, its shortcut, the
// program started through that shortcut, and the uninstaller.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "modem_line.h"
#include "version.h"
#include "zelmora_process.h"

namespace {

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelmora";
// What the installer registers for tel: and callto: links, value by value: key, name, data
// (%s: the install folder). The ZIP registers none of it.
const struct {
    const wchar_t *key, *name, *data;
} kLinkRegistration[] = {
    {L"Software\\Classes\\Zelmora.Link", nullptr, L"Telephone link (Zelmora)"},
    // A ProgID with "URL Protocol" would be a scheme of its own, "zelmora.link:".
    {L"Software\\Classes\\Zelmora.Link", L"URL Protocol", L"<missing>"},
    {L"Software\\Classes\\Zelmora.Link\\shell\\open\\command", nullptr,
     L"\"%s\\zelmora.exe\" \"%1\""},
    {L"Software\\Brannock\\Zelmora\\Capabilities", L"ApplicationName", L"Zelmora"},
    {L"Software\\Brannock\\Zelmora\\Capabilities\\URLAssociations", L"tel", L"Zelmora.Link"},
    {L"Software\\Brannock\\Zelmora\\Capabilities\\URLAssociations", L"callto", L"Zelmora.Link"},
    {L"Software\\RegisteredApplications", L"Zelmora", L"Software\\Brannock\\Zelmora\\Capabilities"},
};

const wchar_t *const kInstalledFiles[] = {L"zelmora.exe",        L"dial.wav",    L"Zelmora.chm",
                                          L"manual\\index.html", L"LICENSE.txt", L"README.txt",
                                          L"Uninstall.exe"};

std::wstring BuildFolder() {
    const char *build = std::getenv("ZELMORA_BUILD_DIR");
    const std::string path = build ? build : "";
    return std::wstring(path.begin(), path.end());
}

// This build's installer: the release's, or the 64-bit test build's.
std::wstring Installer() { return BuildFolder() + L"\\" + ZELMORA_SETUP_NAME; }

std::wstring KnownFolder(int id) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Exists(const std::wstring &path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A program run to its end; its exit code, or -1.
long RunToEnd(const std::wstring &exe, const std::wstring &arguments) {
    ZelmoraProcess process(exe, arguments, L"");
    return process.Wait(60000);
}

std::wstring RegistryText(HKEY root, const wchar_t *key, const wchar_t *value) {
    wchar_t text[512] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return text;
}

// The link registration's values as they should be for an install in folder (expected), or as
// they are now ("<missing>" for each that is not there).
std::vector<std::wstring> LinkRegistration(const std::wstring &folder, bool expected) {
    std::vector<std::wstring> values;
    for (const auto &value : kLinkRegistration) {
        std::wstring data = value.data;
        if (const std::size_t at = data.find(L"%s"); at != std::wstring::npos)
            data.replace(at, 2, folder);
        values.push_back(expected ? data : RegistryText(HKEY_CURRENT_USER, value.key, value.name));
    }
    return values;
}

bool KeyExists(const wchar_t *key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

struct Shortcut {
    std::wstring target;
    std::wstring folder;
};

// The target and the working folder of a .lnk, read back through the shell.
Shortcut ReadShortcut(const std::wstring &path) {
    Shortcut shortcut;
    CoInitialize(nullptr);
    IShellLinkW *link = nullptr;
    IPersistFile *file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void **>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file))) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        wchar_t text[MAX_PATH] = {};
        link->GetPath(text, MAX_PATH, nullptr, 0);
        shortcut.target = text;
        link->GetWorkingDirectory(text, MAX_PATH);
        shortcut.folder = text;
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return shortcut;
}

// Starts zelmora.exe in folder with the quick-dial arguments; the bytes that reach COM5.
std::string QuickDialFrom(const std::wstring &exe, const std::wstring &folder) {
    const std::size_t before = ModemBytes("com5").size();
    ZelmoraProcess zelmora(exe, L"/phone:123 /port:COM5", folder);
    EXPECT_EQ(zelmora.Wait(10000), 0);
    return WaitForModemBytes("com5", before);
}

} // namespace

TEST(Release, PortableZipDialsFromItsOwnFolder) {
    ASSERT_TRUE(TestModemAvailable());
    const std::wstring folder = BuildFolder() + L"\\release-zip\\Zelmora";
    for (const wchar_t *file : {L"zelmora.exe", L"dial.wav", L"Zelmora.chm", L"manual\\index.html",
                                L"manual\\style.css", L"LICENSE.txt", L"README.txt"})
        EXPECT_TRUE(Exists(folder + L"\\" + file)) << testing::PrintToString(std::wstring(file));
    EXPECT_EQ(QuickDialFrom(folder + L"\\zelmora.exe", folder), "at&d0\r\natd 123;\r\n");
    EXPECT_FALSE(Exists(folder + L"\\temp.bat"));
    EXPECT_FALSE(KeyExists(L"Software\\Classes\\Zelmora.Link")) << "the ZIP registers no links";
}

TEST(Release, InstallerInstallsForTheUserAndTheUninstallerKeepsThePhoneBook) {
    ASSERT_TRUE(TestModemAvailable());
    const std::wstring installed = KnownFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Zelmora";
    const std::wstring shortcut = KnownFolder(CSIDL_PROGRAMS) + L"\\Zelmora.lnk";
    ASSERT_EQ(RunToEnd(Installer(), L"/S"), 0);

    for (const wchar_t *file : kInstalledFiles)
        EXPECT_TRUE(Exists(installed + L"\\" + file)) << testing::PrintToString(std::wstring(file));
    const Shortcut link = ReadShortcut(shortcut);
    EXPECT_EQ(link.target, installed + L"\\zelmora.exe");
    EXPECT_EQ(link.folder, installed);
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayName"), L"Zelmora");
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayVersion"),
              std::wstring(L"" ZELMORA_VERSION_TEXT));
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, L"Publisher"), L"Zelmora developers");
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayIcon"),
              installed + L"\\zelmora.exe,0");
    EXPECT_EQ(LinkRegistration(installed, false), LinkRegistration(installed, true));

    DWORD kib = 0, size = sizeof kib; // the installed files come to about 1,140 KiB
    RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"EstimatedSize", RRF_RT_REG_DWORD, nullptr,
                 &kib, &size);
    EXPECT_GT(kib, 1000u);
    EXPECT_LT(kib, 10000u);

    EXPECT_EQ(QuickDialFrom(link.target, link.folder), "at&d0\r\natd 123;\r\n");

    {
        // While Zelmora runs, neither replaces or removes a file: silently they fail with exit
        // code 2, and the installer asks the user to close it (Cancel: exit code 1).
        ZelmoraProcess running(link.target, L"", link.folder);
        HWND main = running.FindWindowTitled(L"Zelmora");
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(RunToEnd(Installer(), L"/S"), 2);
        // _?= keeps the uninstaller in place, so that its exit code can be seen.
        EXPECT_EQ(RunToEnd(installed + L"\\Uninstall.exe", L"/S _?=" + installed), 2);
        ZelmoraProcess asking(Installer(), L"", L"");
        HWND box = asking.FindWindowTitled(L"Zelmora 1.0 Setup", 10000,
                                           L"Zelmora is running. Close Zelmora, then press Retry.");
        ASSERT_NE(box, nullptr);
        SaveScreenshot(box, L"installer-zelmora-running");
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(asking.Wait(10000), 1);
        for (const wchar_t *file : kInstalledFiles)
            EXPECT_TRUE(Exists(installed + L"\\" + file));
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(running.Wait(10000), 0);
    }

    DeletePhoneBookKey();
    StoreEntries({{L"Ann", L"123"}});
    // The uninstaller copies itself away and returns at once: wait for its work instead.
    RunToEnd(installed + L"\\Uninstall.exe", L"/S");
    const auto uninstalled = [&] {
        return !Exists(installed) &&
               RegistryText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayName") == L"<missing>";
    };
    for (int i = 0; i < 100 && !uninstalled(); ++i)
        Sleep(100);
    EXPECT_FALSE(Exists(installed));
    EXPECT_FALSE(Exists(shortcut));
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayName"), L"<missing>");
    // Every key and value of the link registration is gone, and nothing else of the user's.
    for (const wchar_t *key : {L"Software\\Classes\\Zelmora.Link", L"Software\\Brannock"})
        EXPECT_FALSE(KeyExists(key)) << testing::PrintToString(std::wstring(key));
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, L"Software\\RegisteredApplications", L"Zelmora"),
              L"<missing>");
    EXPECT_EQ(StoredValues(), (std::vector<std::pair<std::wstring, std::wstring>>{
                                  {L"00_Name", L"Ann"}, {L"00_PhoneNumber", L"123"}}));
}

TEST(Release, ASecondSilentInstallGoesIntoTheFolderOfTheFirst) {
    const std::wstring chosen =
        KnownFolder(CSIDL_LOCAL_APPDATA) + L"\\Mein Zelmora \x00e4\x00df\x0436";
    const std::wstring standard = KnownFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Zelmora";
    ASSERT_EQ(RunToEnd(Installer(), L"/S /D=" + chosen), 0);
    EXPECT_TRUE(Exists(chosen + L"\\zelmora.exe"));
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation"), chosen);
    DeleteFileW((chosen + L"\\dial.wav").c_str());
    ASSERT_EQ(RunToEnd(Installer(), L"/S"), 0); // an update
    EXPECT_TRUE(Exists(chosen + L"\\dial.wav")) << "the update went elsewhere";
    EXPECT_FALSE(Exists(standard + L"\\zelmora.exe"));
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation"), chosen);
    RunToEnd(chosen + L"\\Uninstall.exe", L"/S _?=" + chosen);
    // The uninstaller's file may stay in use for a moment after its process has ended.
    EXPECT_TRUE(WaitUntil([&] {
        DeleteFileW((chosen + L"\\Uninstall.exe").c_str());
        return RemoveDirectoryW(chosen.c_str()) || !Exists(chosen);
    }));
}
