// The dialing rules' dialog: the country list with its codes, the area and access codes, the
// two check boxes; OK stores all of them at once, after checking that each can be dialled.
#include "dialing_rules_dialog.h"

#include <string>

#include "../base/message_box.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "../res/resource.h"
#include "dialing_location.h"

namespace zelmora {

namespace {

constexpr int kCodeLength = 32; // no area or access code is longer

void OnInitDialog(HWND dialog) {
    const std::optional<Location> current = LocationInForce();
    const Location location = current.value_or(Location{});
    HWND list = GetDlgItem(dialog, IDC_COUNTRY);
    for (const Country &country : TelephonyCountries()) {
        const std::wstring item = std::wstring(country.name.begin(), country.name.end()) + L" (" +
                                  std::to_wstring(country.code) + L")";
        const LRESULT index =
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (index < 0)
            continue;
        SendMessageW(list, CB_SETITEMDATA, index, country.id);
        if (current && country.id == location.country)
            SendMessageW(list, CB_SETCURSEL, index, 0);
    }
    const std::pair<int, const std::string *> fields[] = {
        {IDC_AREA_CODE, &location.areaCode},
        {IDC_OUTSIDE_ACCESS, &location.outsideAccess},
        {IDC_LONG_DISTANCE_ACCESS, &location.longDistanceAccess}};
    for (const auto &[id, text] : fields) {
        SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, kCodeLength, 0);
        SetDlgItemTextA(dialog, id, text->c_str());
    }
    CheckDlgButton(dialog, IDC_ALWAYS_AREA_CODE,
                   location.alwaysDialAreaCode ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_DIALS_PLUS, location.dialsPlus ? BST_CHECKED : BST_UNCHECKED);
}

// The field's text when it can be dialled (valid), else a box that names it, the focus on the
// field, and nothing.
std::optional<std::string> DialableField(HWND dialog, int id, bool (*valid)(const std::string &),
                                         const char16_t *refusal) {
    wchar_t text[kCodeLength + 1] = {};
    GetDlgItemTextW(dialog, id, text, kCodeLength + 1);
    std::string ascii;
    bool plain = true;
    for (const wchar_t *c = text; *c; ++c) {
        plain = plain && *c < 0x7F;
        ascii += static_cast<char>(*c);
    }
    if (plain && valid(ascii))
        return ascii;
    ShowMessageNaming(refusal, text, MB_ICONERROR, dialog);
    SetFocus(GetDlgItem(dialog, id));
    return std::nullopt;
}

void OnOk(HWND dialog) {
    Location location;
    HWND list = GetDlgItem(dialog, IDC_COUNTRY);
    const LRESULT chosen = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR) {
        ShowMessage(dialog, kTextChooseCountry, MB_ICONINFORMATION);
        SetFocus(list);
        return;
    }
    location.country = static_cast<std::uint32_t>(SendMessageW(list, CB_GETITEMDATA, chosen, 0));
    const auto area = DialableField(dialog, IDC_AREA_CODE, IsAreaCode, kTextAreaCodeNotDialable);
    if (!area)
        return;
    const auto local =
        DialableField(dialog, IDC_OUTSIDE_ACCESS, IsAccessCode, kTextAccessCodeNotDialable);
    if (!local)
        return;
    const auto distant =
        DialableField(dialog, IDC_LONG_DISTANCE_ACCESS, IsAccessCode, kTextAccessCodeNotDialable);
    if (!distant)
        return;
    location.areaCode = *area;
    location.outsideAccess = *local;
    location.longDistanceAccess = *distant;
    location.alwaysDialAreaCode = IsDlgButtonChecked(dialog, IDC_ALWAYS_AREA_CODE) == BST_CHECKED;
    location.dialsPlus = IsDlgButtonChecked(dialog, IDC_DIALS_PLUS) == BST_CHECKED;
    if (!StoreLocation(location)) {
        ShowMessage(dialog, kTextCannotSave, MB_ICONERROR);
        return;
    }
    EndDialog(dialog, IDOK);
}

} // namespace

INT_PTR CALLBACK DialingRulesProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        RunReportingOutOfMemory(dialog, [dialog] { OnInitDialog(dialog); });
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            RunReportingOutOfMemory(dialog, [dialog] { OnOk(dialog); });
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace zelmora
