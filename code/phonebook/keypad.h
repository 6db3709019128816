// The on-screen keypad's two edits of the Phone number field: typing a key and backspace.
// Platform-free: positions count UTF-16 code units, as the edit control does.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "../base/limits.h"

namespace zelmora {

struct KeypadEdit {
    std::u16string text;
    std::size_t caret;
};

// The key text replaces the selection [start, end) and the caret lands after it. Nothing when
// the result would be longer than a field holds (kMaxCellLength).
std::optional<KeypadEdit> KeypadInsert(std::u16string_view text, std::size_t start, std::size_t end,
                                       std::u16string_view key);

// Erases the selection, or the character before the caret when nothing is selected.
KeypadEdit KeypadBackspace(std::u16string_view text, std::size_t start, std::size_t end);

} // namespace zelmora
