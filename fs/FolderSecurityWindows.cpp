#include "fs/NtFilesWindows.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

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

    bool windows::othersMayChangeFolder (HANDLE folder, windows_rules::PartOfPath part)
    {
        PSID owner = nullptr;
        PACL dacl = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;

        if (::GetSecurityInfo (folder, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr, &dacl, nullptr,
                               &descriptor)
            != ERROR_SUCCESS)
            return true;

        std::vector<windows_rules::AccessEntry> entries;

        for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i)
        {
            ACE_HEADER* header = nullptr;
            windows_rules::AccessEntry entry;
            entry.type = windows_rules::AccessEntry::Type::other;

            if (::GetAce (dacl, i, (LPVOID*) &header))
            {
                // Allowed and denied entries share their layout up to the SID.
                const auto* ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*> (header);
                entry.type = header->AceType == ACCESS_ALLOWED_ACE_TYPE  ? windows_rules::AccessEntry::Type::allowed
                             : header->AceType == ACCESS_DENIED_ACE_TYPE ? windows_rules::AccessEntry::Type::denied
                                                                         : windows_rules::AccessEntry::Type::other;
                entry.inheritOnly = (header->AceFlags & INHERIT_ONLY_ACE) != 0;
                entry.mask = ace->Mask;
                entry.trustedSid = entry.type != windows_rules::AccessEntry::Type::other && isTrustedSid ((PSID) &ace->SidStart);
            }

            entries.push_back (entry);
        }

        const auto others = windows_rules::othersMayChange (isTrustedSid (owner), dacl != nullptr, entries, part);
        ::LocalFree (descriptor);
        return others;
    }

    bool FolderHandle::othersMayChange() const { return windows::othersMayChangeFolder (handle); }
}
