// The main window's place as one text.
#include "window_place.h"

#include <vector>

#include "../base/characters.h"

namespace zelmora {

std::u16string FormatWindowPlace(const WindowPlace &place) {
    std::u16string text;
    for (int value :
         {place.left, place.top, place.right, place.bottom, place.maximized ? 1 : 0, place.dpi}) {
        const std::string number = std::to_string(value);
        if (!text.empty())
            text += u' ';
        text.append(number.begin(), number.end());
    }
    return text;
}

std::optional<WindowPlace> ParseWindowPlace(std::u16string_view text) {
    std::vector<long long> values;
    if (!text.empty() && text.back() == u' ')
        return std::nullopt;
    for (std::size_t i = 0; i < text.size();) {
        const bool negative = text[i] == u'-';
        std::size_t at = i + (negative ? 1 : 0);
        long long value = 0;
        const std::size_t digits = at;
        for (; at < text.size() && IsDigit(text[at]) && value < 1000000; ++at)
            value = value * 10 + (text[at] - u'0');
        if (at == digits || (at < text.size() && text[at] != u' ') || values.size() == 6)
            return std::nullopt;
        values.push_back(negative ? -value : value);
        i = at + 1;
    }
    if (values.size() != 6 || values[2] <= values[0] || values[3] <= values[1] ||
        (values[4] != 0 && values[4] != 1) || values[5] < 48 || values[5] > 960)
        return std::nullopt;
    for (int i : {0, 1, 2, 3})
        if (values[i] <= -100000 || values[i] >= 100000)
            return std::nullopt;
    return WindowPlace{static_cast<int>(values[0]),
                       static_cast<int>(values[1]),
                       static_cast<int>(values[2]),
                       static_cast<int>(values[3]),
                       values[4] == 1,
                       static_cast<int>(values[5])};
}

WindowPlace AtDpi(const WindowPlace &place, int dpi) {
    WindowPlace scaled = place;
    scaled.right = place.left + (place.right - place.left) * dpi / place.dpi;
    scaled.bottom = place.top + (place.bottom - place.top) * dpi / place.dpi;
    scaled.dpi = dpi;
    return scaled;
}

} // namespace zelmora
