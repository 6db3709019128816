// Telling Wine from Windows.
#include "wine.h"

#include <windows.h>

namespace zelmora {

bool RunsUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

} // namespace zelmora
