#include "fs/NtFilesWindows.h"

#include <vector>

// Removal at the next start of Windows, by the Session Manager's list of pending renames. At
// boot Windows deletes by the path it was given, as SYSTEM, before anyone can look: so the
// path is the item's own final path (its volume by GUID, from the item's handle), never the
// settings' spelling, and every folder from the volume's root down to the item is checked to
// be no reparse point and to be such that no standard user can replace any part of the way,
// on a fixed local volume. The destination and every folder below it are checked, by the
// handles the pass holds, for every changing right before this is asked (Disposal.cpp); the
// walk here ends at the very folder those checks were made on.
namespace kv::fs
{
    using namespace windows;

    namespace
    {
        std::vector<std::pair<juce::String, juce::String>> pendingRenames()
        {
            HKEY key = nullptr;
            std::vector<char16_t> value;

            if (::RegOpenKeyExW (HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
                return {};

            DWORD type = 0, bytes = 0;

            if (::RegQueryValueExW (key, L"PendingFileRenameOperations", nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS && type == REG_MULTI_SZ)
            {
                value.resize (bytes / sizeof (char16_t) + 1, 0);
                if (::RegQueryValueExW (key, L"PendingFileRenameOperations", nullptr, &type, (LPBYTE) value.data(), &bytes) != ERROR_SUCCESS)
                    value.clear();
                else
                    value.resize (bytes / sizeof (char16_t));
            }

            ::RegCloseKey (key);
            return windows_rules::readPendingRenames (value.data(), value.size());
        }

        // The item's path as Windows resolves it now: "\\?\Volume{...}\folder\item".
        juce::String finalPathOf (HANDLE item)
        {
            std::vector<wchar_t> path (32768);
            const auto length = ::GetFinalPathNameByHandleW (item, path.data(), (DWORD) path.size(), FILE_NAME_NORMALIZED | VOLUME_NAME_GUID);
            return length > 0 && length < path.size() ? juce::String (path.data()) : juce::String();
        }

        // Walks from the volume's root to the item's folder by handles, one name at a time, and
        // checks each folder; true when the walk ends at the very folder the item is in.
        bool everyFolderAboveIsSafe (const juce::String& finalPath, HANDLE itemParent)
        {
            const auto parts = juce::StringArray::fromTokens (finalPath.fromFirstOccurrenceOf ("\\\\?\\", false, false), "\\", {});

            if (parts.size() < 2)
                return false;

            const auto root = "\\\\?\\" + parts[0] + "\\";
            ScopedHandle folder { ::CreateFileW (root.toWideCharPointer(), FILE_READ_ATTRIBUTES | READ_CONTROL | FILE_TRAVERSE,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr) };

            if (::GetDriveTypeW (root.toWideCharPointer()) != DRIVE_FIXED)
                return false;

            for (int i = 1;; ++i)
            {
                DWORD attributes = 0;

                if (folder.handle == INVALID_HANDLE_VALUE || kindOfOpened (folder.handle, &attributes) != ItemKind::folder
                    || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0
                    || othersMayChangeFolder (folder.handle, windows_rules::PartOfPath::aboveTheDestination))
                    return false;

                if (i == parts.size() - 1)
                    return sameItem (folder.handle, itemParent);

                FsStatus status;
                ScopedHandle next { openChild (folder.handle, parts[i], FILE_READ_ATTRIBUTES | READ_CONTROL | FILE_TRAVERSE, dispositionOpen, directoryFile, status) };
                std::swap (folder.handle, next.handle);
            }
        }
    }

    bool FolderHandle::scheduleRemovalAtRestart (const juce::String& name) const
    {
        FsStatus status;
        ScopedHandle item { openChild (handle, name, FILE_READ_ATTRIBUTES, dispositionOpen, 0, status) };

        if (item.handle == INVALID_HANDLE_VALUE)
            return false;

        const auto finalPath = finalPathOf (item.handle);

        // Anything not checked is left as it is: the next start of the installer removes it.
        if (finalPath.isEmpty() || ! everyFolderAboveIsSafe (finalPath, handle))
            return false;

        const auto ntPath = "\\??\\" + finalPath.fromFirstOccurrenceOf ("\\\\?\\", false, false);

        if (windows_rules::isScheduledForRemoval (pendingRenames(), ntPath))
            return true;

        return ::MoveFileExW (finalPath.toWideCharPointer(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
    }
}
