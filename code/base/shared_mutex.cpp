// Named mutexes with the security that every Zelmora shares.
#include "shared_mutex.h"

#include <sddl.h>

#include "scoped.h"

namespace zelmora {

namespace {

// Makes an object with the security that security describes, by make.
template <typename Make> HANDLE WithSecurity(const wchar_t *security, Make make) {
    PSECURITY_DESCRIPTOR made = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(security, SDDL_REVISION_1, &made,
                                                              nullptr))
        return nullptr;
    HANDLE object = nullptr;
    DWORD error = 0;
    {
        const LocalMemory<void> descriptor(made);
        SECURITY_ATTRIBUTES attributes = {sizeof attributes, made, FALSE};
        object = make(&attributes);
        error = GetLastError();
    }
    SetLastError(error); // the creation's, not the descriptor's release
    return object;
}

} // namespace

HANDLE CreateSharedMutex(const wchar_t *name, bool owned) {
    return WithSecurity(kSharedMutexSecurity, [&](SECURITY_ATTRIBUTES *attributes) {
        return CreateMutexExW(attributes, name, owned ? CREATE_MUTEX_INITIAL_OWNER : 0,
                              kSharedMutexRights);
    });
}

HANDLE CreateSharedEvent(const wchar_t *name) {
    return WithSecurity(kSharedEventSecurity, [&](SECURITY_ATTRIBUTES *attributes) {
        return CreateEventExW(attributes, name, 0, kSharedEventRights);
    });
}

} // namespace zelmora
