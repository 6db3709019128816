// Text in the ANSI code page.
#include "ansi_text.h"

#include <windows.h>

#include "text_cast.h"

namespace zelmora {

std::u16string FromAnsi(std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string text(length > 0 ? length : 0, u'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), W(text.data()),
                            length);
    return text;
}

} // namespace zelmora
