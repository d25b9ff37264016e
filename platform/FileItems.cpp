#include "platform/FileItems.h"

#if JUCE_WINDOWS
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kv::platform
{
#if JUCE_WINDOWS
    static DWORD attributesOf (const juce::File& item)
    {
        return ::GetFileAttributesW (item.getFullPathName().toWideCharPointer());
    }
#else
    static bool lstatOf (const juce::File& item, struct stat& info)
    {
        return ::lstat (item.getFullPathName().toRawUTF8(), &info) == 0;
    }
#endif

    bool itemExists (const juce::File& item)
    {
        if (item == juce::File())
            return false;
#if JUCE_WINDOWS
        return attributesOf (item) != INVALID_FILE_ATTRIBUTES;
#else
        struct stat info;
        return lstatOf (item, info);
#endif
    }

    bool isRealFolder (const juce::File& item)
    {
#if JUCE_WINDOWS
        const auto attributes = attributesOf (item);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
               && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
#else
        struct stat info;
        return lstatOf (item, info) && S_ISDIR (info.st_mode);
#endif
    }

    juce::Array<juce::File> childrenOf (const juce::File& folder)
    {
        if (! isRealFolder (folder))
            return {};

        return folder.findChildFiles (juce::File::findFilesAndDirectories, false, "*", juce::File::FollowSymlinks::no);
    }

    bool clearProtectiveAttributes (const juce::File& item)
    {
#if JUCE_WINDOWS
        const auto attributes = attributesOf (item);
        constexpr DWORD protective = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            return false;
        if ((attributes & protective) == 0)
            return true;

        auto cleared = attributes & ~protective;
        return ::SetFileAttributesW (item.getFullPathName().toWideCharPointer(), cleared == 0 ? FILE_ATTRIBUTE_NORMAL : cleared) != 0;
#else
        struct stat info;

        if (! lstatOf (item, info) || S_ISLNK (info.st_mode))
            return false;

        const mode_t wanted = S_ISDIR (info.st_mode) ? (S_IRWXU) : (S_IRUSR | S_IWUSR);
        if ((info.st_mode & wanted) == wanted)
            return true;

        return ::chmod (item.getFullPathName().toRawUTF8(), info.st_mode | wanted) == 0;
#endif
    }

    bool removeItem (const juce::File& item)
    {
        if (! itemExists (item))
            return true;

        clearProtectiveAttributes (item);
#if JUCE_WINDOWS
        const auto path = item.getFullPathName().toWideCharPointer();
        // A folder junction or folder link is removed as a folder, never entered.
        const auto removed = (attributesOf (item) & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ::RemoveDirectoryW (path) : ::DeleteFileW (path);
        juce::ignoreUnused (removed);
#else
        if (isRealFolder (item))
            ::rmdir (item.getFullPathName().toRawUTF8());
        else
            ::unlink (item.getFullPathName().toRawUTF8());
#endif
        return ! itemExists (item);
    }

    bool renameItem (const juce::File& from, const juce::File& to)
    {
        if (! itemExists (from) || itemExists (to))
            return false;
#if JUCE_WINDOWS
        return ::MoveFileW (from.getFullPathName().toWideCharPointer(), to.getFullPathName().toWideCharPointer()) != 0;
#else
        return std::rename (from.getFullPathName().toRawUTF8(), to.getFullPathName().toRawUTF8()) == 0;
#endif
    }

#if JUCE_WINDOWS
    static void collectForRestart (const juce::File& item, juce::Array<juce::File>& files, juce::Array<juce::File>& folders)
    {
        if (isRealFolder (item))
        {
            for (const auto& child : childrenOf (item))
                collectForRestart (child, files, folders);

            folders.add (item); // after its children: the deepest come first
        }
        else if (itemExists (item))
        {
            files.add (item);
        }
    }
#endif

    bool scheduleRemovalAtRestart (const juce::File& item)
    {
#if JUCE_WINDOWS
        juce::Array<juce::File> files, folders;
        collectForRestart (item, files, folders);

        bool all = true;
        for (const auto& list : { files, folders })
            for (const auto& entry : list)
                all &= ::MoveFileExW (entry.getFullPathName().toWideCharPointer(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;

        return all && (files.size() + folders.size()) > 0;
#else
        juce::ignoreUnused (item);
        return false;
#endif
    }
}
