// The Windows layer passes UTF-16 text between wchar_t (the API) and char16_t (the core); on
// Windows both are 16 bits.
#pragma once

namespace zelmora {

inline const wchar_t *W(const char16_t *text) { return reinterpret_cast<const wchar_t *>(text); }
inline wchar_t *W(char16_t *text) { return reinterpret_cast<wchar_t *>(text); }
inline const char16_t *U(const wchar_t *text) { return reinterpret_cast<const char16_t *>(text); }

} // namespace zelmora
