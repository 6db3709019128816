// Message boxes captioned with the product name.
#include "message_box.h"

#include "process_state.h"
#include "text_cast.h"

namespace zelmora {

int ShowMessage(HWND owner, const char16_t *text, UINT flags) {
    return MessageBoxW(owner, W(text), g_caption, flags);
}

std::wstring FormatText(const char16_t *format, std::initializer_list<std::wstring> fills) {
    std::wstring text;
    const std::wstring *fill = fills.begin();
    for (const wchar_t *at = W(format); *at; ++at) {
        if (at[0] == L'%' && (at[1] == L's' || at[1] == L'd') && fill != fills.end()) {
            text += *fill++;
            ++at;
        } else {
            text += *at;
        }
    }
    return text;
}

int ShowMessageNaming(const char16_t *format, const std::wstring &name, UINT flags, HWND owner) {
    return ShowMessage(owner, U(FormatText(format, {name}).c_str()), flags);
}

} // namespace zelmora
