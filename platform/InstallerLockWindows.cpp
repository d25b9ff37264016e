#include "platform/InstallerLock.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

namespace kv::platform
{
    namespace
    {
        // Wine runs every program as one user and names the Unix user as every object's owner:
        // there the name alone serves.
        bool isWine()
        {
            static const bool wine = ::GetProcAddress (::GetModuleHandleW (L"ntdll.dll"), "wine_get_version") != nullptr;
            return wine;
        }

        // True when SYSTEM or Administrators own the object: only an elevated installer (or
        // Windows itself) made it.
        bool ownedByAdministrators (HANDLE object)
        {
            PSID owner = nullptr;
            PSECURITY_DESCRIPTOR descriptor = nullptr;

            if (::GetSecurityInfo (object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr, &descriptor)
                != ERROR_SUCCESS)
                return false;

            const auto trusted = owner != nullptr && (::IsWellKnownSid (owner, WinBuiltinAdministratorsSid) || ::IsWellKnownSid (owner, WinLocalSystemSid));
            ::LocalFree (descriptor);
            return trusted;
        }
    }

    InstallerLock::InstallerLock (const juce::String& productName, int timeoutMs)
    {
        // One name for every session. Made by an installer, it is owned by Administrators and only
        // they and SYSTEM may open it. A name a standard user made first is refused by its owner,
        // so a squatter can stop passes (each says it could not make sure it is alone) but never
        // let two run at once.
        const auto name = "Global\\Korvane_kv_installer_" + productName;
        SECURITY_ATTRIBUTES attributes { sizeof (attributes), nullptr, FALSE };

        if (! isWine()
            && ! ::ConvertStringSecurityDescriptorToSecurityDescriptorW (L"O:BAD:P(A;;GA;;;BA)(A;;GA;;;SY)", SDDL_REVISION_1,
                                                                         &attributes.lpSecurityDescriptor, nullptr))
        {
            unavailable = true;
            return;
        }

        mutex = ::CreateMutexW (isWine() ? nullptr : &attributes, FALSE, name.toWideCharPointer());

        if (attributes.lpSecurityDescriptor != nullptr)
            ::LocalFree (attributes.lpSecurityDescriptor);

        // Fail closed: without the lock no pass may run, and the screen says why. The owner is
        // checked whoever made it: one made first by a standard user is opened, not made, here.
        if (mutex != nullptr && ! isWine() && ! ownedByAdministrators (mutex))
        {
            ::CloseHandle (mutex);
            mutex = nullptr;
        }

        if (mutex == nullptr)
        {
            unavailable = true;
            return;
        }

        // An abandoned mutex is one whose holder died: its work is what recovery puts right.
        const auto waited = ::WaitForSingleObject (mutex, (DWORD) juce::jmax (0, timeoutMs));
        held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }

    InstallerLock::~InstallerLock()
    {
        if (mutex != nullptr)
        {
            if (held)
                ::ReleaseMutex (mutex);
            ::CloseHandle (mutex);
        }
    }
}
