#include "fs/NtFilesWindows.h"

namespace kv::fs::windows
{
    const Ntdll& ntdll()
    {
        static const Ntdll functions;
        return functions;
    }

    FsStatus statusFromError (DWORD error)
    {
        switch (error)
        {
            case ERROR_SUCCESS: return FsStatus::ok;
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND: return FsStatus::notFound;
            case ERROR_FILE_EXISTS:
            case ERROR_ALREADY_EXISTS: return FsStatus::exists;
            // Refused permission to open the item: waiting changes nothing.
            case ERROR_ACCESS_DENIED: return FsStatus::denied;
            case ERROR_DELETE_PENDING:
            case ERROR_SHARING_VIOLATION:
            case ERROR_LOCK_VIOLATION:
            case ERROR_USER_MAPPED_FILE: return FsStatus::busy;
            case ERROR_DIR_NOT_EMPTY: return FsStatus::notEmpty;
            case ERROR_DIRECTORY:
            case ERROR_CANT_ACCESS_FILE: return FsStatus::notAFolder;
            default: return FsStatus::failed;
        }
    }

    FsStatus statusOfOpenedItem (DWORD error)
    {
        const auto status = statusFromError (error);
        return status == FsStatus::denied ? FsStatus::busy : status;
    }

    DWORD linkCount (HANDLE handle)
    {
        FILE_STANDARD_INFO info {};
        return ::GetFileInformationByHandleEx (handle, FileStandardInfo, &info, sizeof (info)) ? info.NumberOfLinks : 1;
    }

    FsStatus lastStatus() { return statusFromError (::GetLastError()); }

    std::wstring longPath (const juce::File& file)
    {
        const auto path = file.getFullPathName();

        if (path.startsWith ("\\\\?\\"))
            return path.toWideCharPointer();
        if (path.startsWith ("\\\\"))
            return (juce::String ("\\\\?\\UNC\\") + path.substring (2)).toWideCharPointer();

        return (juce::String ("\\\\?\\") + path).toWideCharPointer();
    }

    HANDLE openChild (HANDLE parent, const juce::String& name, ACCESS_MASK access, ULONG disposition, ULONG options, FsStatus& status)
    {
        const auto& nt = ntdll();

        if (nt.createFile == nullptr || nt.setInformation == nullptr || nt.toDosError == nullptr)
        {
            status = FsStatus::failed;
            return INVALID_HANDLE_VALUE;
        }

        std::wstring wide (name.toWideCharPointer());
        UNICODE_STRING objectName;
        objectName.Buffer = wide.empty() ? nullptr : wide.data();
        objectName.Length = (USHORT) (wide.size() * sizeof (wchar_t));
        objectName.MaximumLength = objectName.Length;

        OBJECT_ATTRIBUTES attributes {};
        attributes.Length = sizeof (attributes);
        attributes.RootDirectory = parent;
        attributes.ObjectName = &objectName;
        attributes.Attributes = OBJ_CASE_INSENSITIVE;

        IO_STATUS_BLOCK io {};
        HANDLE handle = INVALID_HANDLE_VALUE;
        const auto result = nt.createFile (&handle, access | SYNCHRONIZE, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, disposition,
                                           options | openReparsePoint | synchronousIo, nullptr, 0);

        if (result < 0)
        {
            status = result == statusObjectNameNotFound || result == statusObjectPathNotFound ? FsStatus::notFound
                                                                                              : statusFromError (nt.toDosError (result));
            return INVALID_HANDLE_VALUE;
        }

        status = FsStatus::ok;
        return handle;
    }

    ItemKind kindOfOpened (HANDLE handle, DWORD* attributesOut)
    {
        FILE_ATTRIBUTE_TAG_INFO info {};

        if (! ::GetFileInformationByHandleEx (handle, FileAttributeTagInfo, &info, sizeof (info)))
            return ItemKind::other;

        if (attributesOut != nullptr)
            *attributesOut = info.FileAttributes;
        if ((info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            return ItemKind::link;

        return (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ItemKind::folder : ItemKind::file;
    }
}
