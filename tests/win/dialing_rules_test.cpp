// Dialing rules under Wine: Windows' telephony country list, the location in force, and the
// dialog that shows it and stores what the user chooses.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "dialing/dialing_location.h"
#include "dialing/dialing_rules_dialog.h"
#include "dialog_driver.h"
#include "main_window_fixture.h"
#include "res/resource.h"

using namespace zelmora;

namespace {

const std::wstring kDialingKey = std::wstring(kProgramKey) + L"\\Dialing";

// Chooses the country whose item starts with country (none: leaves the list as it is), fills
// the three codes and the check boxes, and presses OK.
Response Choose(const wchar_t *country, const wchar_t *area, const wchar_t *local,
                const wchar_t *distant, bool always, bool plus) {
    return [=](const SeenWindow &w) {
        if (country)
            SendDlgItemMessageW(w.window, IDC_COUNTRY, CB_SELECTSTRING, -1,
                                reinterpret_cast<LPARAM>(country));
        SetDlgItemTextW(w.window, IDC_AREA_CODE, area);
        SetDlgItemTextW(w.window, IDC_OUTSIDE_ACCESS, local);
        SetDlgItemTextW(w.window, IDC_LONG_DISTANCE_ACCESS, distant);
        CheckDlgButton(w.window, IDC_ALWAYS_AREA_CODE, always);
        CheckDlgButton(w.window, IDC_DIALS_PLUS, plus);
        PostCommand(w.window, IDOK);
    };
}

} // namespace

TEST(DialingRules, TheCountryListAndTheLocationInForceComeFromWindows) {
    const std::vector<Country> &countries = TelephonyCountries();
    std::printf("telephony countries: %zu\n", countries.size());
    ASSERT_GT(countries.size(), 200u);
    const auto germany = std::find_if(countries.begin(), countries.end(),
                                      [](const Country &c) { return c.id == 49; });
    ASSERT_NE(germany, countries.end());
    EXPECT_EQ(germany->code, 49u);
    EXPECT_EQ(germany->name, u"Germany");
    EXPECT_EQ(germany->sameArea + "|" + germany->longDistance + "|" + germany->international,
              "G|0FG|00EFG");
    // With nothing stored, Windows' location or else the region gives a country of the list.
    DeletePhoneBookKey();
    const std::optional<Location> inForce = LocationInForce();
    ASSERT_TRUE(inForce.has_value());
    std::printf("location in force: country %u, area \"%s\"\n", inForce->country,
                inForce->areaCode.c_str());
    EXPECT_TRUE(std::any_of(countries.begin(), countries.end(),
                            [&](const Country &c) { return c.id == inForce->country; }));
}

TEST_F(MainWindowTest, DialingRulesStoresWhatTheUserChoosesOrNamesTheFieldThatCanNotBeDialled) {
    const struct {
        Response answer;
        const wchar_t *refusal; // the box, after which the dialog stays open
        std::optional<Location> stored;
    } cases[] = {
        {Choose(L"Germany (49)", L"30", L"0,", L"0,", false, false), nullptr,
         Location{49, "30", "0,", "0,", false, false}},
        {Choose(L"United States of America (1)", L"206", L"9", L"9W", true, true), nullptr,
         Location{1, "206", "9", "9W", true, true}},
        {Choose(L"Germany (49)", L"(030)", L"", L"", false, false),
         L"The area code \"(030)\" can not be dialled: it may hold digits only.", std::nullopt},
        {Choose(L"Germany (49)", L"30", L"0&calc", L"", false, false),
         L"The number for an outside line \"0&calc\" can not be dialled: it may hold digits, *, "
         L"#, commas, blanks and the letters W, P and T only.",
         std::nullopt},
    };
    for (const auto &c : cases) {
        DeletePhoneBookKey();
        DialogDriver driver;
        HWND dialog = nullptr;
        driver.Then([&](const SeenWindow &w) {
            dialog = w.window;
            c.answer(w);
        });
        // The box's OK, then Cancel in the dialog that stayed open.
        if (c.refusal)
            driver.Then([&](const SeenWindow &box) {
                PostCommand(box.window, IDOK);
                PostCommand(dialog, IDCANCEL);
            });
        Command(IDM_DIALING_RULES);
        ASSERT_GE(driver.seen.size(), 1u);
        EXPECT_EQ(driver.seen[0].title, L"Dialing rules");
        EXPECT_EQ(driver.seen[0].owner, main_);
        if (c.refusal) {
            ASSERT_GE(driver.seen.size(), 2u);
            ExpectOkBox(driver.seen[1], c.refusal, BoxIcon::Error, driver.seen[0].window);
        }
        const std::optional<Location> stored = StoredLocation();
        ASSERT_EQ(stored.has_value(), c.stored.has_value());
        if (stored) {
            EXPECT_EQ(stored->country, c.stored->country);
            EXPECT_EQ(stored->areaCode, c.stored->areaCode);
            EXPECT_EQ(stored->outsideAccess + "|" + stored->longDistanceAccess,
                      c.stored->outsideAccess + "|" + c.stored->longDistanceAccess);
            EXPECT_EQ(stored->alwaysDialAreaCode, c.stored->alwaysDialAreaCode);
            EXPECT_EQ(stored->dialsPlus, c.stored->dialsPlus);
        }
    }
    // Each label before its field, and each access key once.
    {
        DialogDriver driver;
        driver.Then([&](const SeenWindow &w) {
            ExpectLabelledTemplateOrder(w.window, {{-1, L"&Country/region:"},
                                                   {IDC_COUNTRY},
                                                   {-1, L"&Area code:"},
                                                   {IDC_AREA_CODE},
                                                   {-1, L"Outside line for &local calls:"},
                                                   {IDC_OUTSIDE_ACCESS},
                                                   {-1, L"Outside line for lo&ng-distance calls:"},
                                                   {IDC_LONG_DISTANCE_ACCESS},
                                                   {IDC_ALWAYS_AREA_CODE},
                                                   {IDC_DIALS_PLUS},
                                                   {IDOK},
                                                   {IDCANCEL}});
            PostCommand(w.window, IDCANCEL);
        });
        Command(IDM_DIALING_RULES);
    }
    // Shown again, the dialog holds what was stored; Cancel changes nothing.
    StoreLocation({49, "30", "0,", "", true, false});
    DialogDriver driver;
    std::wstring shown;
    driver.Then([&](const SeenWindow &w) {
        wchar_t text[64] = {};
        GetDlgItemTextW(w.window, IDC_COUNTRY, text, 64);
        shown = std::wstring(text) + L"|" + ItemText(w.window, IDC_AREA_CODE) + L"|" +
                ItemText(w.window, IDC_OUTSIDE_ACCESS) + L"|" +
                (IsDlgButtonChecked(w.window, IDC_ALWAYS_AREA_CODE) ? L"always" : L"");
        SetDlgItemTextW(w.window, IDC_AREA_CODE, L"89");
        PostCommand(w.window, IDCANCEL);
    });
    Command(IDM_DIALING_RULES);
    EXPECT_EQ(shown, L"Germany (49)|30|0,|always");
    EXPECT_EQ(StoredLocation()->areaCode, "30");
    // A value that another writer left (what registry virtualization shows from another store)
    // does not mix into the location stored whole; without the whole, the values are read.
    {
        const RegistryKey key = OpenMachineKey(kDialingKey, KeyAccess::Write);
        WriteText(key.get(), L"AreaCode", u"89");
    }
    EXPECT_EQ(StoredLocation()->areaCode, "30");
    {
        const RegistryKey key = OpenMachineKey(kDialingKey, KeyAccess::Write);
        DeleteValue(key.get(), L"Location");
    }
    EXPECT_EQ(StoredLocation()->areaCode, "89");
}

namespace {

// Windows' location stand-in: Germany, area 30, current. And its translation: what the last
// call was given, and what it answers (nothing, as Wine's does, when empty).
std::wstring g_translated, g_answer;

LONG WINAPI FakeCaps(HLINEAPP, DWORD, LPLINETRANSLATECAPS caps) {
    const std::wstring area = L"30";
    const DWORD needed = sizeof(LINETRANSLATECAPS) + sizeof(LINELOCATIONENTRY) +
                         static_cast<DWORD>((area.size() + 1) * sizeof(wchar_t));
    caps->dwNeededSize = needed;
    if (caps->dwTotalSize < needed)
        return 0;
    BYTE *base = reinterpret_cast<BYTE *>(caps);
    caps->dwNumLocations = 1;
    caps->dwLocationListOffset = sizeof(LINETRANSLATECAPS);
    caps->dwCurrentLocationID = 7;
    auto *entry = reinterpret_cast<LINELOCATIONENTRY *>(base + caps->dwLocationListOffset);
    *entry = {};
    entry->dwPermanentLocationID = 7;
    entry->dwCountryID = 49;
    entry->dwCityCodeOffset = caps->dwLocationListOffset + sizeof(LINELOCATIONENTRY);
    entry->dwCityCodeSize = static_cast<DWORD>((area.size() + 1) * sizeof(wchar_t));
    std::memcpy(base + entry->dwCityCodeOffset, area.c_str(), entry->dwCityCodeSize);
    return 0;
}

LONG WINAPI FakeTranslate(HLINEAPP, DWORD, DWORD, LPCWSTR address, DWORD, DWORD,
                          LPLINETRANSLATEOUTPUT output) {
    g_translated = address;
    const DWORD size = static_cast<DWORD>(g_answer.size() * sizeof(wchar_t));
    output->dwNeededSize = sizeof(LINETRANSLATEOUTPUT) + size + sizeof(wchar_t);
    if (g_answer.empty() || output->dwTotalSize < output->dwNeededSize)
        return 0;
    output->dwDialableStringOffset = sizeof(LINETRANSLATEOUTPUT);
    output->dwDialableStringSize = size + sizeof(wchar_t);
    std::memcpy(reinterpret_cast<BYTE *>(output) + sizeof(LINETRANSLATEOUTPUT), g_answer.c_str(),
                size + sizeof(wchar_t));
    return 0;
}

} // namespace

TEST(DialingRules, WindowsOwnLocationTranslatesTheNumberWhereItCan) {
    const TranslateCapsFunction realCaps = g_translateCaps;
    const TranslateAddressFunction realTranslate = g_translateAddress;
    g_translateCaps = FakeCaps;
    g_translateAddress = FakeTranslate;
    const struct {
        bool stored; // a location of Zelmora's own, which Windows does not translate
        const wchar_t *number, *answer, *translated, *dialled;
    } cases[] = {
        {true, L"+49 30 1234567", L"T99", L"", L"1234567"},
        {false, L"+49 30 1234567", L"T1234567", L"+49 (30) 1234567", L"T1234567"},
        // Another area of the own country: its area code's length is not known, so the rules.
        {false, L"+49 (0)89 123456,45", L"T99", L"", L"089123456,45"},
        {false, L"+49 (89) 123456,45", L"P089123456", L"+49 (89) 123456", L"P089123456,45"},
        {false, L"+1 212 555 0199", L"T0012125550199", L"+1 (212) 5550199", L"T0012125550199"},
        {false, L"+49 30 1234567", L"", L"+49 (30) 1234567", L"1234567"}, // Wine's: nothing
        {false, L"+49 30 1234567", L"9&calc", L"+49 (30) 1234567", L"1234567"},
        {false, L"5550123", L"T99", L"", L"5550123"}, // dialled as written
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.number)));
        DeletePhoneBookKey();
        if (c.stored)
            StoreLocation({49, "30", "", "", false, false});
        g_translated.clear();
        g_answer = c.answer;
        EXPECT_EQ(NumberToDial(nullptr, 0, c.number), std::optional<std::wstring>(c.dialled));
        EXPECT_EQ(g_translated, c.translated);
    }
    g_translateCaps = realCaps;
    g_translateAddress = realTranslate;
    DeletePhoneBookKey();
}
