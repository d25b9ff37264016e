#include "platform/FolderHandle.h"

#if JUCE_WINDOWS

#include <aclapi.h>
#include <sddl.h>
#include <windows.h>
#include <winternl.h>

#include <vector>

namespace kv::platform
{
    namespace
    {
        // Kept here rather than from ntstatus.h, which clashes with windows.h.
        constexpr LONG statusObjectNameNotFound = (LONG) 0xC0000034L;
        constexpr LONG statusObjectPathNotFound = (LONG) 0xC000003AL;
        constexpr ULONG openReparsePoint = 0x00200000; // FILE_OPEN_REPARSE_POINT
        constexpr ULONG directoryFile = 0x00000001, nonDirectoryFile = 0x00000040, synchronousIo = 0x00000020;
        constexpr ULONG dispositionOpen = 1, dispositionCreate = 2;
        constexpr auto fileDispositionInfoEx = (FILE_INFO_BY_HANDLE_CLASS) 21;
        constexpr DWORD dispositionDelete = 0x1, dispositionPosix = 0x2, dispositionIgnoreReadOnly = 0x10;

        using NtCreateFileFn = LONG (NTAPI*) (PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER, ULONG, ULONG, ULONG,
                                              ULONG, PVOID, ULONG);
        using NtSetInformationFileFn = LONG (NTAPI*) (HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, ULONG);
        using RtlNtStatusToDosErrorFn = ULONG (NTAPI*) (LONG);
        constexpr ULONG fileRenameInformation = 10;

        struct Ntdll
        {
            NtCreateFileFn createFile = nullptr;
            NtSetInformationFileFn setInformation = nullptr;
            RtlNtStatusToDosErrorFn toDosError = nullptr;

            Ntdll()
            {
                if (auto* module = ::GetModuleHandleW (L"ntdll.dll"))
                {
                    createFile = (NtCreateFileFn) (void*) ::GetProcAddress (module, "NtCreateFile");
                    setInformation = (NtSetInformationFileFn) (void*) ::GetProcAddress (module, "NtSetInformationFile");
                    toDosError = (RtlNtStatusToDosErrorFn) (void*) ::GetProcAddress (module, "RtlNtStatusToDosError");
                }
            }
        };

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
                case ERROR_SHARING_VIOLATION:
                case ERROR_ACCESS_DENIED:
                case ERROR_LOCK_VIOLATION:
                case ERROR_USER_MAPPED_FILE: return FsStatus::busy;
                case ERROR_DIR_NOT_EMPTY: return FsStatus::notEmpty;
                case ERROR_DIRECTORY:
                case ERROR_CANT_ACCESS_FILE: return FsStatus::notAFolder;
                default: return FsStatus::failed;
            }
        }

        FsStatus lastStatus() { return statusFromError (::GetLastError()); }

        // Past 260 characters only the "\\?\" form of a path works everywhere.
        std::wstring longPath (const juce::File& file)
        {
            const auto path = file.getFullPathName();

            if (path.startsWith ("\\\\?\\"))
                return path.toWideCharPointer();
            if (path.startsWith ("\\\\"))
                return (juce::String ("\\\\?\\UNC\\") + path.substring (2)).toWideCharPointer();

            return (juce::String ("\\\\?\\") + path).toWideCharPointer();
        }

        // Opens a child of a folder by name: never through a link, which is opened itself.
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

        struct ScopedHandle
        {
            HANDLE handle;
            ~ScopedHandle()
            {
                if (handle != INVALID_HANDLE_VALUE)
                    ::CloseHandle (handle);
            }
        };

        ItemKind kindOfOpened (HANDLE handle, DWORD* attributesOut = nullptr)
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

        FsStatus setAttributes (HANDLE handle, DWORD attributes)
        {
            FILE_BASIC_INFO basic {};
            basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
            return ::SetFileInformationByHandle (handle, FileBasicInfo, &basic, sizeof (basic)) ? FsStatus::ok : lastStatus();
        }

        constexpr DWORD protectiveAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        constexpr ACCESS_MASK folderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL;

        FILETIME toFileTime (juce::Time time)
        {
            const auto ticks = (ULONGLONG) (time.toMilliseconds() + 11644473600000LL) * 10000ULL;
            return { (DWORD) ticks, (DWORD) (ticks >> 32) };
        }

        class WindowsOutputStream final : public HandleOutputStream
        {
        public:
            explicit WindowsOutputStream (HANDLE handleToOwn)
                : handle (handleToOwn)
            {
            }
            ~WindowsOutputStream() override { close(); }

            bool setTimes (juce::Time created, juce::Time modified, juce::Time accessed) override
            {
                const auto c = toFileTime (created), m = toFileTime (modified), a = toFileTime (accessed);
                return handle != INVALID_HANDLE_VALUE && ::SetFileTime (handle, &c, &a, &m);
            }

            bool close() override
            {
                if (handle != INVALID_HANDLE_VALUE)
                {
                    // Windows has no flush of a whole volume for us: each new file goes to the disk
                    // before it may be renamed into place.
                    failed |= ! ::FlushFileBuffers (handle);
                    failed |= ! ::CloseHandle (handle);
                    handle = INVALID_HANDLE_VALUE;
                }

                return ! failed;
            }

        private:
            juce::int64 writeSome (const char* bytes, size_t size) override
            {
                DWORD written = 0;
                const auto piece = (DWORD) juce::jmin (size, (size_t) (64 * 1024 * 1024));
                return ::WriteFile (handle, bytes, piece, &written, nullptr) && written > 0 ? (juce::int64) written : -1;
            }

            HANDLE handle = INVALID_HANDLE_VALUE;
        };

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

    void FolderHandle::closeNative (Native native) noexcept { ::CloseHandle (native); }

    FolderHandle FolderHandle::openPath (const juce::File& folder, FsStatus& status, bool create, juce::Array<juce::File>* created)
    {
        const auto open = [] (const juce::File& f)
        {
            return ::CreateFileW (longPath (f).c_str(), folderAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        };

        auto native = open (folder);

        if (native == INVALID_HANDLE_VALUE && create && lastStatus() == FsStatus::notFound)
        {
            juce::Array<juce::File> missing;
            for (auto f = folder; ! f.exists() && f != f.getParentDirectory(); f = f.getParentDirectory())
                missing.insert (0, f);

            for (const auto& f : missing)
            {
                const auto made = ::CreateDirectoryW (longPath (f).c_str(), nullptr) != 0;

                if (! made && ::GetLastError() != ERROR_ALREADY_EXISTS)
                {
                    status = lastStatus();
                    return {};
                }

                if (made && created != nullptr)
                    created->add (f);
            }

            native = open (folder);
        }

        if (native == INVALID_HANDLE_VALUE)
        {
            status = lastStatus();
            return {};
        }

        // The folder itself is reached through any link or junction; it must be a folder.
        if (kindOfOpened (native) != ItemKind::folder)
        {
            ::CloseHandle (native);
            status = FsStatus::notAFolder;
            return {};
        }

        status = FsStatus::ok;
        return FolderHandle (native, folder);
    }

    ItemKind FolderHandle::kindOf (const juce::String& name, FsStatus& status) const
    {
        ScopedHandle item { openChild (handle, name, FILE_READ_ATTRIBUTES, dispositionOpen, 0, status) };
        return item.handle == INVALID_HANDLE_VALUE ? ItemKind::absent : kindOfOpened (item.handle);
    }

    FsStatus FolderHandle::list (juce::StringArray& names) const
    {
        names.clear();

        // Each listing reads through a handle of its own, opened from this one by an empty name:
        // Wine keeps a handle's first listing and would not show what changed since.
        FsStatus status;
        ScopedHandle listing { openChild (handle, {}, FILE_LIST_DIRECTORY | FILE_TRAVERSE, dispositionOpen, directoryFile, status) };

        if (listing.handle == INVALID_HANDLE_VALUE)
            return status;

        std::vector<char> buffer (64 * 1024);
        auto infoClass = FileIdBothDirectoryRestartInfo;

        for (;;)
        {
            if (! ::GetFileInformationByHandleEx (listing.handle, infoClass, buffer.data(), (DWORD) buffer.size()))
                return ::GetLastError() == ERROR_NO_MORE_FILES ? FsStatus::ok : lastStatus();

            infoClass = FileIdBothDirectoryInfo;

            for (size_t offset = 0;;)
            {
                const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*> (buffer.data() + offset);
                const juce::String name (juce::CharPointer_UTF16 ((const juce::CharPointer_UTF16::CharType*) entry->FileName),
                                         juce::CharPointer_UTF16 ((const juce::CharPointer_UTF16::CharType*) entry->FileName
                                                                  + entry->FileNameLength / sizeof (WCHAR)));

                if (name != "." && name != "..")
                    names.add (name);

                if (entry->NextEntryOffset == 0)
                    break;

                offset += entry->NextEntryOffset;
            }
        }
    }

    FolderHandle FolderHandle::openFolder (const juce::String& name, FsStatus& status) const
    {
        const auto native = openChild (handle, name, folderAccess, dispositionOpen, directoryFile, status);

        if (native == INVALID_HANDLE_VALUE)
        {
            if (status == FsStatus::failed)
                status = FsStatus::notAFolder;
            return {};
        }

        // A junction or folder link is opened as itself: never entered.
        if (kindOfOpened (native) != ItemKind::folder)
        {
            ::CloseHandle (native);
            status = FsStatus::notAFolder;
            return {};
        }

        return FolderHandle (native, pathOf (name));
    }

    FsStatus FolderHandle::createFolder (const juce::String& name) const
    {
        FsStatus status;
        ScopedHandle created { openChild (handle, name, FILE_READ_ATTRIBUTES, dispositionCreate, directoryFile, status) };
        return status;
    }

    std::unique_ptr<HandleOutputStream> FolderHandle::createFile (const juce::String& name, FsStatus& status) const
    {
        const auto native = openChild (handle, name, FILE_GENERIC_WRITE | FILE_WRITE_ATTRIBUTES, dispositionCreate, nonDirectoryFile, status);
        return native == INVALID_HANDLE_VALUE ? nullptr : std::make_unique<WindowsOutputStream> (native);
    }

    FsStatus FolderHandle::rename (const juce::String& name, const FolderHandle& toFolder, const juce::String& toName) const
    {
        FsStatus status;
        ScopedHandle item { openChild (handle, name, DELETE | FILE_READ_ATTRIBUTES, dispositionOpen, 0, status) };

        if (item.handle == INVALID_HANDLE_VALUE)
            return status;

        const std::wstring target (toName.toWideCharPointer());
        std::vector<char> buffer (sizeof (FILE_RENAME_INFO) + (target.size() + 1) * sizeof (wchar_t));
        auto* info = reinterpret_cast<FILE_RENAME_INFO*> (buffer.data());
        info->ReplaceIfExists = FALSE;
        info->RootDirectory = toFolder.handle;
        info->FileNameLength = (DWORD) (target.size() * sizeof (wchar_t));
        memcpy (info->FileName, target.c_str(), (target.size() + 1) * sizeof (wchar_t));

        // Straight to ntdll: Wine's SetFileInformationByHandle refuses FileRenameInfo.
        IO_STATUS_BLOCK io {};
        const auto& nt = ntdll();
        const auto result = nt.setInformation (item.handle, &io, info, (ULONG) buffer.size(), fileRenameInformation);
        return result >= 0 ? FsStatus::ok : statusFromError (nt.toDosError (result));
    }

    FsStatus FolderHandle::remove (const juce::String& name) const
    {
        FsStatus status;
        ScopedHandle item { openChild (handle, name, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, dispositionOpen, 0, status) };

        if (item.handle == INVALID_HANDLE_VALUE)
            return status;

        DWORD attributes = 0;
        const auto kind = kindOfOpened (item.handle, &attributes);

        // The attributes of a link would be its own, but leave them: only a link's name goes.
        if (kind != ItemKind::link && (attributes & protectiveAttributes) != 0)
            setAttributes (item.handle, attributes & ~protectiveAttributes);

        // POSIX semantics take the name away at once, even while another program holds the file.
        // Wine has no FileDispositionInfoEx: the plain disposition below serves there.
        FILE_DISPOSITION_INFO_EX ex { dispositionDelete | dispositionPosix | dispositionIgnoreReadOnly };
        if (::SetFileInformationByHandle (item.handle, fileDispositionInfoEx, &ex, sizeof (ex)))
            return FsStatus::ok;

        const auto exStatus = lastStatus();
        if (exStatus == FsStatus::notEmpty || exStatus == FsStatus::busy)
            return exStatus;

        FILE_DISPOSITION_INFO plain { TRUE };
        return ::SetFileInformationByHandle (item.handle, FileDispositionInfo, &plain, sizeof (plain)) ? FsStatus::ok : lastStatus();
    }

    FsStatus FolderHandle::clearProtectiveAttributes (const juce::String& name) const
    {
        FsStatus status;
        ScopedHandle item { openChild (handle, name, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, dispositionOpen, 0, status) };

        if (item.handle == INVALID_HANDLE_VALUE)
            return status;

        DWORD attributes = 0;
        if (kindOfOpened (item.handle, &attributes) == ItemKind::link)
            return FsStatus::notAFolder;

        return (attributes & protectiveAttributes) == 0 ? FsStatus::ok : setAttributes (item.handle, attributes & ~protectiveAttributes);
    }

    void FolderHandle::syncToDisk() const {}

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

    bool FolderHandle::scheduleRemovalAtRestart (const juce::String& name) const
    {
        const auto path = longPath (pathOf (name));
        return alreadyScheduled (path) || ::MoveFileExW (path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
    }
}

#endif
