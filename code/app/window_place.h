// The main window's size, place and maximized state as Zelmora keeps them between runs, in
// the text of one registry value. Platform-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelmora {

struct WindowPlace {
    int left = 0, top = 0, right = 0, bottom = 0; // the restored window, in screen pixels
    bool maximized = false;
    int dpi = 96; // of the monitor it stood on
};

// "left top right bottom maximized dpi", as "100 80 800 600 0 144".
std::u16string FormatWindowPlace(const WindowPlace &place);
// Nothing for a text that is not one: fields missing or more, no number, an empty or
// inverted rectangle, a DPI that no monitor has (below 48 or above 960).
std::optional<WindowPlace> ParseWindowPlace(std::u16string_view text);

// The place's size for a monitor of another DPI, its top left corner kept.
WindowPlace AtDpi(const WindowPlace &place, int dpi);

} // namespace zelmora
