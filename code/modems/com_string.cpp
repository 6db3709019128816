// The reference-counted BSTR holder and its error reporting.
#include "com_string.h"

#include <comdef.h>

#include <memory>
#include <new>

namespace zelmora {

namespace {

void RaiseComError(HRESULT result) { throw _com_error(result); }

void Fail(HRESULT result) { g_comErrorHook(result); }

} // namespace

ComErrorHook g_comErrorHook = RaiseComError;
BstrAllocator g_allocateBstr = SysAllocString;

HRESULT HresultFromLastError(DWORD code) {
    const LONG value = static_cast<LONG>(code);
    return value > 0 ? static_cast<HRESULT>(0x80070000u | (code & 0xFFFF)) : value;
}

ComString::ComString(BSTR text) {
    if (!text) {
        Fail(E_OUTOFMEMORY);
        return;
    }
    record_ = new (std::nothrow) Record{text, 1};
    if (!record_) {
        SysFreeString(text);
        Fail(E_OUTOFMEMORY);
    }
}

ComString ComString::FromWide(const wchar_t *text) { return ComString(g_allocateBstr(text)); }

ComString ComString::FromAnsi(const char *text) {
    const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units == 0) {
        Fail(HresultFromLastError(GetLastError()));
        return ComString();
    }
    std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[units]);
    if (!wide) {
        Fail(E_OUTOFMEMORY);
        return ComString();
    }
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide.get(), units) == 0) {
        Fail(HresultFromLastError(GetLastError()));
        return ComString();
    }
    return ComString(g_allocateBstr(wide.get()));
}

ComString::ComString(const ComString &other) : record_(other.record_) {
    if (record_)
        InterlockedIncrement(&record_->references);
}

ComString::~ComString() { Release(); }

void ComString::Release() {
    if (record_ && InterlockedDecrement(&record_->references) == 0) {
        SysFreeString(record_->text);
        delete record_;
    }
    record_ = nullptr;
}

} // namespace zelmora
