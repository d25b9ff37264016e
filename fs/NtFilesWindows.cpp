#include "fs/NtFilesWindows.h"

namespace kv::fs::windows
{
    const Ntdll& ntdll()
    {
        static const Ntdll functions;
        return functions;
    }

    static FsStatus::Code codeFromError (DWORD error)
    {
        switch (error)
        {
            case ERROR_SUCCESS: return FsStatus::ok;
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND: return FsStatus::notFound;
            case ERROR_FILE_EXISTS:
            case ERROR_ALREADY_EXISTS: return FsStatus::exists;
            // Refused permission to open the item, or a write-protected medium: waiting changes nothing.
            case ERROR_ACCESS_DENIED:
            case ERROR_WRITE_PROTECT: return FsStatus::denied;
            case ERROR_DISK_FULL:
            case ERROR_HANDLE_DISK_FULL:
            case 1295: /* ERROR_DISK_QUOTA_EXCEEDED, which MinGW's headers lack */ return FsStatus::noSpace;
            case ERROR_NOT_READY:
            case ERROR_DEV_NOT_EXIST:
            case ERROR_DEVICE_NOT_CONNECTED: return FsStatus::notReady;
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

    FsStatus statusFromError (DWORD error)
    {
        return { codeFromError (error), error == ERROR_SUCCESS ? SystemError() : SystemError::win32 (error) };
    }

    FsStatus statusFromNt (LONG status, windows_rules::NtStep step, bool isFolder)
    {
        if (status >= 0)
            return FsStatus::ok;

        const auto code = windows_rules::codeFromNtStatus ((juce::uint32) status, step, isFolder);
        return { code ? *code : codeFromError (ntdll().toDosError (status)), SystemError::ntstatus (status) };
    }

    DWORD linkCount (HANDLE handle)
    {
        FILE_STANDARD_INFO info {};
        return ::GetFileInformationByHandleEx (handle, FileStandardInfo, &info, sizeof (info)) ? info.NumberOfLinks : 1;
    }

    FsStatus lastStatus() { return statusFromError (::GetLastError()); }

    std::wstring longPath (const juce::File& file)
    {
        return platform::windowsLongPath (file.getFullPathName()).toWideCharPointer();
    }

    namespace
    {
        constexpr ULONG objDontReparse = 0x00001000; // OBJ_DONT_REPARSE, Windows 10 1803 on

        // Wine may take the flag and still follow Unix links: there, every item is opened as itself.
        bool dontReparseWorks()
        {
            static const bool wine = ::GetProcAddress (::GetModuleHandleW (L"ntdll.dll"), "wine_get_version") != nullptr;
            return ! wine;
        }
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

        HANDLE handle = INVALID_HANDLE_VALUE;
        const auto open = [&] (bool asItself)
        {
            IO_STATUS_BLOCK io {};
            attributes.Attributes = OBJ_CASE_INSENSITIVE | (asItself ? 0 : objDontReparse);
            return nt.createFile (&handle, access | SYNCHRONIZE, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, disposition,
                                  options | (asItself ? openReparsePoint : 0) | synchronousIo, nullptr, 0);
        };

        // Where Windows has OBJ_DONT_REPARSE, a placeholder's filter serves it as the folder or file
        // it shows, and any link on the way is refused rather than followed; a link at the name
        // itself, a tag no filter handles, or a Windows without the flag then has this one call
        // open the item as itself. Elsewhere every item is opened as itself.
        auto result = dontReparseWorks() ? open (false) : (LONG) 0xC000050BL;

        if (result < 0 && windows_rules::opensAsItselfAfter ((juce::uint32) result))
            result = open (true);

        if (result < 0)
        {
            status = statusFromNt (result, windows_rules::NtStep::open);
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
        if ((info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && windows_rules::isNameSurrogate (info.ReparseTag))
            return ItemKind::link;

        return (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ItemKind::folder : ItemKind::file;
    }

    bool identityOfOpened (HANDLE handle, ItemIdentity& identity)
    {
        BY_HANDLE_FILE_INFORMATION info {};

        if (! ::GetFileInformationByHandle (handle, &info))
            return false;

        windows_rules::IdentityFacts facts;
        facts.volumeSerial32 = info.dwVolumeSerialNumber;
        facts.fileIndex = ((juce::uint64) info.nFileIndexHigh << 32) | info.nFileIndexLow;
        facts.creationTime = ((juce::uint64) info.ftCreationTime.dwHighDateTime << 32) | info.ftCreationTime.dwLowDateTime;
        facts.isFolder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;

        WCHAR fileSystem[MAX_PATH + 1] {};
        if (::GetVolumeInformationByHandleW (handle, nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH + 1))
            facts.fileSystem = juce::String (fileSystem);

        // FILE_ID_INFO, declared here as older MinGW headers lack it.
        struct
        {
            ULONGLONG VolumeSerialNumber;
            BYTE FileId[16];
        } idInfo {};
        constexpr auto fileIdInfo = (FILE_INFO_BY_HANDLE_CLASS) 18;

        if (::GetFileInformationByHandleEx (handle, fileIdInfo, &idInfo, sizeof (idInfo)))
        {
            facts.hasFileIdInfo = true;
            facts.volumeSerial64 = idInfo.VolumeSerialNumber;
            memcpy (facts.fileId128.data(), idInfo.FileId, 16);
        }

        identity = windows_rules::identityFrom (facts);
        return true;
    }

    bool sameItem (HANDLE a, HANDLE b)
    {
        ItemIdentity first, second;
        return identityOfOpened (a, first) && identityOfOpened (b, second) && first == second;
    }
}
