// The main window's place as Zelmora keeps it.
#include <gtest/gtest.h>

#include "app/window_place.h"

using namespace zelmora;

TEST(WindowPlace, IsKeptAsOneTextAndReadBackOrRefused) {
    const WindowPlace place{-1200, 80, -300, 700, true, 144};
    EXPECT_EQ(FormatWindowPlace(place), u"-1200 80 -300 700 1 144");
    const std::optional<WindowPlace> back = ParseWindowPlace(FormatWindowPlace(place));
    ASSERT_TRUE(back);
    EXPECT_EQ(FormatWindowPlace(*back), FormatWindowPlace(place));
    for (const char16_t *bad :
         {u"", u"1 2 3 4 0", u"1 2 3 4 0 96 7", u"10 10 5 20 0 96", u"1 2 3 4 2 96",
          u"1 2 3 4 0 20", u"1 2 3 4 0 9600", u"1 2 3 x 0 96", u"1  2 3 4 0 96", u"1 2 3 4 0 96 ",
          u"- 2 3 4 0 96", u"1 2 3 99999999999 0 96"})
        EXPECT_FALSE(ParseWindowPlace(bad))
            << std::string(bad, bad + std::char_traits<char16_t>::length(bad));
    // At another DPI the size follows, the corner stays.
    EXPECT_EQ(FormatWindowPlace(AtDpi({100, 50, 800, 550, false, 96}, 144)),
              u"100 50 1150 800 0 144");
}
