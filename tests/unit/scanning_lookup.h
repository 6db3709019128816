// The import's duplicate check done the simple way: every earlier row's Phone read back from
// the rows, quadratic over an import. The reference that the program's indexed check is
// compared with, in the tests and the benchmark.
#pragma once

#include <string>
#include <utility>

#include "phonebook/phone_book_text.h"

class ScanningLookup : public zelmora::PhoneLookup {
  public:
    ScanningLookup(zelmora::PhoneBookRows &rows, zelmora::PhoneCompare compare)
        : rows_(rows), compare_(std::move(compare)) {}
    bool Contains(const std::u16string &phone) override {
        // The row just appended is the last one: compare with every row before it.
        const int earlier = rows_.Count() - 1;
        for (int i = 0; i < earlier; ++i)
            if (compare_(phone, rows_.ReadCell(i, zelmora::kPhoneColumn)) == 0)
                return true;
        return false;
    }
    void Add(const std::u16string &) override {}

  private:
    zelmora::PhoneBookRows &rows_;
    zelmora::PhoneCompare compare_;
};
