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

std::wstring SystemErrorText(DWORD error) {
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::wstring message;
    if (length)
        message.assign(text, length);
    LocalFree(text);
    while (!message.empty() &&
           (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    if (message.empty())
        message = L"Error " + std::to_wstring(error);
    return message;
}

int ShowMessageNaming(const char16_t *format, const std::wstring &name, UINT flags, HWND owner) {
    return ShowMessage(owner, U(FormatText(format, {name}).c_str()), flags);
}

} // namespace zelmora
