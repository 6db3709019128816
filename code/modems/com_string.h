// BSTR arguments for WMI calls: a reference-counted holder (its copies, if any, hold one BSTR,
// freed with the last), and the error hook that turns an allocation or conversion failure into
// a _com_error.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace zelmora {

// Called with a failing HRESULT; the default raises _com_error with that HRESULT.
using ComErrorHook = void(__cdecl *)(HRESULT);
extern ComErrorHook g_comErrorHook;

// Makes the BSTRs; tests replace it to force an allocation failure.
using BstrAllocator = BSTR(WINAPI *)(const OLECHAR *);
extern BstrAllocator g_allocateBstr;

// The last error as an HRESULT: 0x8007xxxx for a positive code, the code itself otherwise.
HRESULT HresultFromLastError(DWORD code);

class ComString {
  public:
    // From UTF-16 text.
    static ComString FromWide(const wchar_t *text);
    // From text in the ANSI code page.
    static ComString FromAnsi(const char *text);

    ComString(const ComString &other);
    ComString &operator=(const ComString &) = delete;
    ~ComString();

    BSTR Get() const { return record_ ? record_->text : nullptr; }
    // Drops this holder's share; the BSTR is freed with the last one. The holder is empty then.
    void Release();

  private:
    struct Record {
        BSTR text;
        LONG references;
    };
    ComString() = default;
    // Takes ownership of text; a null text is reported as E_OUTOFMEMORY.
    explicit ComString(BSTR text);
    Record *record_ = nullptr;
};

} // namespace zelmora
