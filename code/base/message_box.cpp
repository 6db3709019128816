// Message boxes captioned with the product name.
#include "message_box.h"

#include "process_state.h"
#include "text_cast.h"

namespace zelmora {

int ShowMessage(HWND owner, const char16_t *text, UINT flags) {
    return MessageBoxW(owner, W(text), g_caption, flags);
}

int ShowMessageNaming(const char16_t *format, const std::wstring &name, UINT flags, HWND owner) {
    std::wstring text(lstrlenW(reinterpret_cast<const wchar_t *>(format)) + name.size(), L'\0');
    text.resize(wsprintfW(text.data(), reinterpret_cast<const wchar_t *>(format), name.c_str()));
    return ShowMessage(owner, reinterpret_cast<const char16_t *>(text.c_str()), flags);
}

} // namespace zelmora
