#include "fs/NtFilesWindows.h"

#include <aclapi.h>
#include <sddl.h>

// Who may change a folder, from its security descriptor: the rule that decides whether
// Windows may be asked to delete something in it at boot, by path, as SYSTEM.
namespace kv::fs
{
    namespace
    {
        bool isTrustedSid (PSID sid)
        {
            if (sid == nullptr)
                return false;

            for (const auto known : { WinLocalSystemSid, WinBuiltinAdministratorsSid })
                if (::IsWellKnownSid (sid, known))
                    return true;

            LPWSTR text = nullptr;
            if (! ::ConvertSidToStringSidW (sid, &text))
                return false;

            // TrustedInstaller, which owns Windows' own folders.
            const auto trusted = juce::String (text) == "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
            ::LocalFree (text);
            return trusted;
        }

    }

    bool FolderHandle::othersMayChange() const
    {
        PSID owner = nullptr;
        PACL dacl = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;

        if (::GetSecurityInfo (handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr, &dacl, nullptr,
                               &descriptor)
            != ERROR_SUCCESS)
            return true;

        // An owner may always change the folder's permissions; no list grants everyone everything.
        auto others = ! isTrustedSid (owner) || dacl == nullptr;
        constexpr ACCESS_MASK changing = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER
                                         | GENERIC_WRITE | GENERIC_ALL | MAXIMUM_ALLOWED;

        for (DWORD i = 0; ! others && i < dacl->AceCount; ++i)
        {
            ACE_HEADER* header = nullptr;
            if (! ::GetAce (dacl, i, (LPVOID*) &header))
            {
                others = true;
                break;
            }

            if ((header->AceFlags & INHERIT_ONLY_ACE) != 0 || header->AceType == ACCESS_DENIED_ACE_TYPE)
                continue;

            if (header->AceType != ACCESS_ALLOWED_ACE_TYPE)
            {
                others = true; // an entry this check does not read: assume the worst
                break;
            }

            const auto* ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*> (header);
            if ((ace->Mask & changing) != 0 && ! isTrustedSid ((PSID) &ace->SidStart))
                others = true;
        }

        ::LocalFree (descriptor);
        return others;
    }
}
