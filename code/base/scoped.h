// Resources that release themselves, one guard for each kind that Zelmora holds: kernel handles
// (files, processes, threads, jobs, mutexes), a mutex's ownership, LocalAlloc memory, a
// window's device context, GDI objects, registry keys and COM interfaces.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace zelmora {

// A kernel handle, closed when the guard goes. Some calls say "no handle" with NULL, others
// with INVALID_HANDLE_VALUE: both make an empty guard.
class ScopedHandle {
  public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) : handle_(Usable(handle)) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(ScopedHandle &&other) noexcept : handle_(other.release()) {}
    ScopedHandle &operator=(ScopedHandle &&other) noexcept {
        reset(other.release());
        return *this;
    }
    ScopedHandle(const ScopedHandle &) = delete;
    ScopedHandle &operator=(const ScopedHandle &) = delete;

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    HANDLE release() { return std::exchange(handle_, nullptr); }
    void reset(HANDLE handle = nullptr) {
        if (handle_)
            CloseHandle(handle_);
        handle_ = Usable(handle);
    }

  private:
    static HANDLE Usable(HANDLE handle) {
        return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
    }
    HANDLE handle_ = nullptr;
};

// Empty when the file could not be opened.
using FileHandle = ScopedHandle;

// The ownership of a mutex that a wait gave this thread, given up when the guard goes; the
// handle stays with whoever holds it, and must outlive the guard.
class MutexOwnership {
  public:
    MutexOwnership() = default;
    explicit MutexOwnership(HANDLE mutex) : mutex_(mutex) {}
    ~MutexOwnership() {
        if (mutex_)
            ReleaseMutex(mutex_);
    }
    MutexOwnership(MutexOwnership &&other) noexcept
        : mutex_(std::exchange(other.mutex_, nullptr)) {}
    MutexOwnership &operator=(MutexOwnership &&other) noexcept {
        std::swap(mutex_, other.mutex_);
        return *this;
    }
    MutexOwnership(const MutexOwnership &) = delete;
    MutexOwnership &operator=(const MutexOwnership &) = delete;
    bool held() const { return mutex_ != nullptr; }

  private:
    HANDLE mutex_ = nullptr;
};

// Memory that a call allocated with LocalAlloc for its caller (an argument array, a security
// descriptor).
struct LocalFreer {
    void operator()(void *memory) const { LocalFree(memory); }
};
template <typename T> using LocalMemory = std::unique_ptr<T, LocalFreer>;

// A window's device context, from GetDC.
class WindowDC {
  public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC &) = delete;
    WindowDC &operator=(const WindowDC &) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// A GDI object (a bitmap, say), deleted when the guard goes.
struct GdiObjectDeleter {
    void operator()(void *object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

struct RegistryKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using RegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegistryKeyCloser>;

// A COM interface pointer, released when the guard goes. put() hands a call that creates an
// interface (CoCreateInstance, ConnectServer, ExecQuery) the place to fill.
template <typename Interface> class ComInterface {
  public:
    ComInterface() = default;
    explicit ComInterface(Interface *object) : object_(object) {}
    ~ComInterface() { reset(); }
    ComInterface(const ComInterface &) = delete;
    ComInterface &operator=(const ComInterface &) = delete;

    Interface *get() const { return object_; }
    Interface *operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    void reset() {
        if (object_)
            std::exchange(object_, nullptr)->Release();
    }
    // Releases what the guard holds and hands out the empty place.
    Interface **put() {
        reset();
        return &object_;
    }

  private:
    Interface *object_ = nullptr;
};

// The thread's COM apartment, entered when the guard is made and left when it goes. A thread
// already in the other kind of apartment keeps it (RPC_E_CHANGED_MODE), and is not left.
class ComApartment {
  public:
    explicit ComApartment(DWORD kind) : result_(CoInitializeEx(nullptr, kind)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;
    HRESULT result() const { return result_; }

  private:
    HRESULT result_;
};

// A VARIANT, cleared when the guard goes.
struct ScopedVariant : VARIANT {
    ScopedVariant() { VariantInit(this); }
    ~ScopedVariant() { VariantClear(this); }
    ScopedVariant(const ScopedVariant &) = delete;
    ScopedVariant &operator=(const ScopedVariant &) = delete;
};

} // namespace zelmora
