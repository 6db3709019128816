// Keypad insertion and backspace on the Phone number field's text.
#include "keypad.h"

#include <algorithm>

namespace zelmora {

namespace {

// Keeps a selection inside the text and in order, whatever the control reported.
void ClampSelection(std::u16string_view text, std::size_t &start, std::size_t &end) {
    end = std::min(end, text.size());
    start = std::min(start, end);
}

KeypadEdit Replace(std::u16string_view text, std::size_t start, std::size_t end,
                   std::u16string_view insert) {
    std::u16string result(text.substr(0, start));
    result += insert;
    result += text.substr(end);
    return {std::move(result), start + insert.size()};
}

} // namespace

std::optional<KeypadEdit> KeypadInsert(std::u16string_view text, std::size_t start, std::size_t end,
                                       std::u16string_view key) {
    ClampSelection(text, start, end);
    if (text.size() - (end - start) + key.size() > kMaxCellLength)
        return std::nullopt;
    return Replace(text, start, end, key);
}

KeypadEdit KeypadBackspace(std::u16string_view text, std::size_t start, std::size_t end) {
    ClampSelection(text, start, end);
    if (start != end)
        return Replace(text, start, end, u"");
    if (start > 0)
        return Replace(text, start - 1, start, u"");
    return {std::u16string(text), 0};
}

} // namespace zelmora
