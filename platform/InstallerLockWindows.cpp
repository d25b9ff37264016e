#include "platform/InstallerLock.h"

#include <windows.h>
#include <sddl.h>

namespace kv::platform
{
    namespace
    {
        // Wine 8 exports none of the private-namespace calls, and a static import would stop the
        // executable from loading there: they are looked up when first needed. Wine runs every
        // program as the same user, so the Global name serves it; Windows always has them.
        struct NamespaceCalls
        {
            using CreateBoundary = HANDLE (WINAPI*) (LPCWSTR, ULONG);
            using AddSid = BOOL (WINAPI*) (HANDLE*, PSID);
            using DeleteBoundary = VOID (WINAPI*) (HANDLE);
            using CreateNamespace = HANDLE (WINAPI*) (LPSECURITY_ATTRIBUTES, LPVOID, LPCWSTR);
            using OpenNamespace = HANDLE (WINAPI*) (LPVOID, LPCWSTR);
            using CloseNamespace = BOOLEAN (WINAPI*) (HANDLE, ULONG);

            CreateBoundary createBoundary = nullptr;
            AddSid addSid = nullptr;
            DeleteBoundary deleteBoundary = nullptr;
            CreateNamespace createNamespace = nullptr;
            OpenNamespace openNamespace = nullptr;
            CloseNamespace closeNamespace = nullptr;

            NamespaceCalls()
            {
                if (auto* kernel = ::GetModuleHandleW (L"kernel32.dll"))
                {
                    createBoundary = (CreateBoundary) (void*) ::GetProcAddress (kernel, "CreateBoundaryDescriptorW");
                    addSid = (AddSid) (void*) ::GetProcAddress (kernel, "AddSIDToBoundaryDescriptor");
                    deleteBoundary = (DeleteBoundary) (void*) ::GetProcAddress (kernel, "DeleteBoundaryDescriptor");
                    createNamespace = (CreateNamespace) (void*) ::GetProcAddress (kernel, "CreatePrivateNamespaceW");
                    openNamespace = (OpenNamespace) (void*) ::GetProcAddress (kernel, "OpenPrivateNamespaceW");
                    closeNamespace = (CloseNamespace) (void*) ::GetProcAddress (kernel, "ClosePrivateNamespace");
                }
            }

            bool available() const
            {
                return createBoundary && addSid && deleteBoundary && createNamespace && openNamespace && closeNamespace;
            }
        };

        const NamespaceCalls& namespaceCalls()
        {
            static const NamespaceCalls calls;
            return calls;
        }

        constexpr const wchar_t* namespaceName = L"Korvane_kv_installer";

        // The namespace only an elevated member of Administrators can create or open: a
        // standard user can neither squat the lock's name nor take the lock.
        HANDLE openAdministratorsNamespace (const NamespaceCalls& calls)
        {
            HANDLE boundary = calls.createBoundary (namespaceName, 0);
            BYTE sid[SECURITY_MAX_SID_SIZE];
            DWORD sidSize = sizeof (sid);
            HANDLE opened = nullptr;

            if (boundary != nullptr && ::CreateWellKnownSid (WinBuiltinAdministratorsSid, nullptr, sid, &sidSize)
                && calls.addSid (&boundary, sid))
            {
                SECURITY_ATTRIBUTES attributes { sizeof (attributes), nullptr, FALSE };

                if (::ConvertStringSecurityDescriptorToSecurityDescriptorW (L"D:(A;;GA;;;BA)", SDDL_REVISION_1, &attributes.lpSecurityDescriptor,
                                                                            nullptr))
                {
                    opened = calls.createNamespace (&attributes, boundary, namespaceName);

                    if (opened == nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS)
                        opened = calls.openNamespace (boundary, namespaceName);

                    ::LocalFree (attributes.lpSecurityDescriptor);
                }
            }

            if (boundary != nullptr)
                calls.deleteBoundary (boundary);

            return opened;
        }
    }

    InstallerLock::InstallerLock (const juce::String& productName, int timeoutMs)
    {
        const auto& calls = namespaceCalls();
        juce::String name = "Korvane_kv_installer_" + productName;

        if (calls.available())
        {
            privateNamespace = openAdministratorsNamespace (calls);
            name = juce::String (namespaceName) + "\\" + name;
        }
        else
        {
            name = "Global\\" + name;
        }

        // Fail closed: without the lock no pass may run, and the screen says why.
        if (calls.available() && privateNamespace == nullptr)
        {
            unavailable = true;
            return;
        }

        mutex = ::CreateMutexW (nullptr, FALSE, name.toWideCharPointer());

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

        if (privateNamespace != nullptr)
            namespaceCalls().closeNamespace (privateNamespace, 0);
    }
}
