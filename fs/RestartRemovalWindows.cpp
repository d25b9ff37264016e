#include "fs/NtFilesWindows.h"

#include <vector>

// Removal at the next start of Windows, by the Session Manager's list of pending renames.
namespace kv::fs
{
    using namespace windows;

    namespace
    {
        // True when the value already lists this path for deletion at the next start.
        bool alreadyScheduled (const std::wstring& path)
        {
            HKEY key = nullptr;
            if (::RegOpenKeyExW (HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
                return false;

            DWORD type = 0, bytes = 0;
            std::vector<wchar_t> value;

            if (::RegQueryValueExW (key, L"PendingFileRenameOperations", nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS && type == REG_MULTI_SZ)
            {
                value.resize (bytes / sizeof (wchar_t) + 2, 0);
                if (::RegQueryValueExW (key, L"PendingFileRenameOperations", nullptr, &type, (LPBYTE) value.data(), &bytes) != ERROR_SUCCESS)
                    value.clear();
            }

            ::RegCloseKey (key);

            // Pairs of source and target; an empty target means "delete". Sources are "\??\" paths.
            const auto wanted = juce::String ("\\??\\") + juce::String (path.c_str()).fromFirstOccurrenceOf ("\\\\?\\", false, false);
            std::vector<juce::String> strings;

            for (size_t i = 0; i < value.size() && value[i] != 0; i += wcslen (&value[i]) + 1)
                strings.emplace_back (&value[i]);

            for (size_t i = 0; i + 1 < strings.size(); i += 2)
                if (strings[i].equalsIgnoreCase (wanted) && strings[i + 1].isEmpty())
                    return true;

            return false;
        }
    }

    bool FolderHandle::scheduleRemovalAtRestart (const juce::String& name) const
    {
        const auto path = longPath (pathOf (name));
        return alreadyScheduled (path) || ::MoveFileExW (path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
    }
}
