// The phone book's comparison of phone numbers.
#include "phone_compare.h"

#include <windows.h>

#include "../base/text_cast.h"

namespace zelmora {

int ComparePhones(const std::u16string &a, const std::u16string &b) {
    return lstrcmpW(W(a.c_str()), W(b.c_str()));
}

std::string PhoneSortKey(const std::u16string &phone) {
    const int size =
        LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, W(phone.c_str()), -1, nullptr, 0);
    std::string key(size > 0 ? size : 0, '\0');
    if (size > 0)
        LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, W(phone.c_str()), -1,
                     reinterpret_cast<wchar_t *>(key.data()), size);
    return key;
}

} // namespace zelmora
