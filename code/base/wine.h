// Whether Zelmora runs under Wine, for the few Windows calls whose answers Wine gets wrong.
#pragma once

namespace zelmora {

// True when ntdll exports wine_get_version, which only Wine's ntdll does.
bool RunsUnderWine();

} // namespace zelmora
