// Phone numbers compared as the phone book compares them for its duplicate check: lstrcmpW,
// the user's locale, and the sort key that lets an import look a number up instead.
#pragma once

#include <string>

namespace zelmora {

// 0 when the two are the same number.
int ComparePhones(const std::u16string &a, const std::u16string &b);

// The locale sort key that lstrcmpW compares by: equal keys exactly for equal phones.
std::string PhoneSortKey(const std::u16string &phone);

} // namespace zelmora
