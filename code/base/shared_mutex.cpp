// Named mutexes with the security that every Zelmora shares.
#include "shared_mutex.h"

#include <sddl.h>

#include "scoped.h"

namespace zelmora {

HANDLE CreateSharedMutex(const wchar_t *name, bool owned) {
    PSECURITY_DESCRIPTOR made = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kSharedMutexSecurity, SDDL_REVISION_1,
                                                              &made, nullptr))
        return nullptr;
    HANDLE mutex = nullptr;
    DWORD error = 0;
    {
        const LocalMemory<void> descriptor(made);
        SECURITY_ATTRIBUTES attributes = {sizeof attributes, made, FALSE};
        mutex = CreateMutexExW(&attributes, name, owned ? CREATE_MUTEX_INITIAL_OWNER : 0,
                               kSharedMutexRights);
        error = GetLastError();
    }
    SetLastError(error); // the creation's, not the descriptor's release
    return mutex;
}

} // namespace zelmora
