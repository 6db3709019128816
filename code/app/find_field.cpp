// The find field: the phone book's names and numbers as the field looks through them, and the
// entry found.
#include "find_field.h"

#include <optional>

#include "../base/list_view.h"
#include "../base/process_state.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "../phonebook/find_entry.h"
#include "../res/resource.h"

namespace zelmora {

namespace {

// The phone book as the field last read it, in the list's order; read again once it changed.
std::optional<FindEntries> g_entries;

const FindEntries &Entries() {
    if (!g_entries) {
        g_entries.emplace();
        const int count = ListCount(g_phoneBookList);
        g_entries->names.reserve(count);
        g_entries->phones.reserve(count);
        for (int row = 0; row < count; ++row) {
            g_entries->names.push_back(ReadCell(g_phoneBookList, row, 0));
            g_entries->phones.push_back(ReadCell(g_phoneBookList, row, 1));
        }
    }
    return *g_entries;
}

std::u16string FieldText(HWND window) {
    wchar_t text[kCellCapacity] = {};
    GetDlgItemTextW(window, IDC_FIND, text, kCellCapacity);
    return U(text);
}

void Find(HWND window, FindDirection direction) {
    const int selected = SelectedRow(g_phoneBookList);
    const std::u16string text = FieldText(window);
    const std::optional<std::size_t> found =
        FindEntry(Entries(), text, direction, selected < 0 ? 0 : selected, LocaleNameHolds);
    SetDlgItemTextW(window, IDC_FIND_STATUS, found || text.empty() ? L"" : W(kFindNoMatch));
    if (!found)
        return; // the selection stays as it was
    MarkRow(g_phoneBookList, static_cast<int>(*found));
    ShowRow(g_phoneBookList, static_cast<int>(*found));
}

} // namespace

bool LocaleNameHolds(const std::u16string &name, const std::u16string &text) {
    return FindNLSStringEx(LOCALE_NAME_USER_DEFAULT,
                           FIND_FROMSTART | LINGUISTIC_IGNORECASE | LINGUISTIC_IGNOREDIACRITIC,
                           W(name.c_str()), static_cast<int>(name.size()), W(text.c_str()),
                           static_cast<int>(text.size()), nullptr, nullptr, nullptr, 0) >= 0;
}

void FindAsTyped(HWND window) { Find(window, FindDirection::First); }

void FindAgain(HWND window, bool forward) {
    Find(window, forward ? FindDirection::Next : FindDirection::Previous);
}

void ForgetFoundEntries() { g_entries.reset(); }

bool EmptyFindField(HWND window) {
    if (FieldText(window).empty())
        return false;
    SetDlgItemTextW(window, IDC_FIND, L"");
    return true;
}

} // namespace zelmora
