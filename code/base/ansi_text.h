// Text in the ANSI code page, the Windows code page of the user's language settings: how a file
// that is no Unicode, a contacts export of an older program say, is read.
#pragma once

#include <string>
#include <string_view>

namespace zelmora {

std::u16string FromAnsi(std::string_view bytes);

} // namespace zelmora
