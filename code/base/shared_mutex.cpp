// Named mutexes with the security that every Zelmora shares.
#include "shared_mutex.h"

#include <sddl.h>

namespace zelmora {

HANDLE CreateSharedMutex(const wchar_t *name, bool owned) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kSharedMutexSecurity, SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return nullptr;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    HANDLE mutex = CreateMutexExW(&attributes, name, owned ? CREATE_MUTEX_INITIAL_OWNER : 0,
                                  kSharedMutexRights);
    const DWORD error = GetLastError();
    LocalFree(descriptor);
    SetLastError(error);
    return mutex;
}

} // namespace zelmora
