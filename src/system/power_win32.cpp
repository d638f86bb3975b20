// The Windows power service: a forced power-off through ExitWindowsEx, after enabling the
// shutdown privilege that the NT family requires of the calling process.
#include <windows.h>

#include "system/power.h"

namespace {

// Closes the process token on every path out of EnableShutdownPrivilege.
class ScopedHandle {
   public:
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() {
        if (handle_ != nullptr) {
            CloseHandle(handle_);
        }
    }

   private:
    HANDLE handle_;
};

bool IsNtFamily() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExW(&version)) {
        // Every Windows this program still runs on is NT.
        return true;
    }
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// True when the privilege is enabled, or not needed outside the NT family.
bool EnableShutdownPrivilege() {
    if (!IsNtFamily()) {
        return true;
    }
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return false;
    }
    const ScopedHandle tokenCloser(token);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        return false;
    }
    // AdjustTokenPrivileges succeeds even when the token lacks the privilege; only the last
    // error (ERROR_NOT_ALL_ASSIGNED) tells.
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    return GetLastError() == ERROR_SUCCESS;
}

}  // namespace

bool ShutDownSystem(ShutdownKind /*kind*/, bool force) {
    const bool nt = IsNtFamily();
    if (nt && !EnableShutdownPrivilege()) {
        return false;
    }
    UINT flags = nt ? EWX_POWEROFF : EWX_SHUTDOWN;
    if (force) {
        flags |= EWX_FORCE;
    }
    // A planned shutdown, so the system's event log does not record an unexpected one.
    const DWORD reason =
        SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;
    return ExitWindowsEx(flags, reason) != 0;
}
