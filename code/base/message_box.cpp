// Message boxes captioned with the product name.
#include "message_box.h"

#include "globals.h"
#include "text_cast.h"

namespace zelmora {

int ShowMessage(HWND owner, const char16_t *text, UINT flags) {
    return MessageBoxW(owner, W(text), g_caption, flags);
}

} // namespace zelmora
