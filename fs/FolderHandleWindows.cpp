#include "fs/NtFilesWindows.h"

#include <vector>

namespace kv::fs
{
    using namespace windows;

    namespace
    {
        FsStatus setAttributes (HANDLE handle, DWORD attributes)
        {
            FILE_BASIC_INFO basic {};
            basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
            return ::SetFileInformationByHandle (handle, FileBasicInfo, &basic, sizeof (basic)) ? FsStatus (FsStatus::ok) : lastStatus();
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
                    if (! ::FlushFileBuffers (handle))
                        fail (lastStatus());
                    if (! ::CloseHandle (handle))
                        fail (lastStatus());
                    handle = INVALID_HANDLE_VALUE;
                }

                return ! failed;
            }

        private:
            juce::int64 writeSome (const char* bytes, size_t size) override
            {
                DWORD written = 0;
                const auto piece = (DWORD) juce::jmin (size, (size_t) (64 * 1024 * 1024));
                if (::WriteFile (handle, bytes, piece, &written, nullptr) && written > 0)
                    return (juce::int64) written;

                fail (lastStatus());
                return -1;
            }

            HANDLE handle = INVALID_HANDLE_VALUE;
        };
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
                return ::GetLastError() == ERROR_NO_MORE_FILES ? FsStatus (FsStatus::ok) : lastStatus();

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
        return result >= 0 ? FsStatus (FsStatus::ok) : statusOfOpenedItem (nt.toDosError (result));
    }

    FsStatus FolderHandle::remove (const juce::String& name) const
    {
        FsStatus status;
        ScopedHandle item { openChild (handle, name, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, dispositionOpen, 0, status) };

        if (item.handle == INVALID_HANDLE_VALUE)
            return status;

        DWORD attributes = 0;
        const auto kind = kindOfOpened (item.handle, &attributes);

        // The attributes of a link would be its own, but leave them: only a link's name goes. A
        // file with another name elsewhere keeps its attributes, which belong to that name too.
        const auto protectedFile = kind != ItemKind::link && (attributes & protectiveAttributes) != 0;
        const auto sharedWithAnotherName = protectedFile && linkCount (item.handle) > 1;

        if (protectedFile && ! sharedWithAnotherName)
            setAttributes (item.handle, attributes & ~protectiveAttributes);

        // POSIX semantics take the name away at once, even while another program holds the file.
        // Wine has no FileDispositionInfoEx: the plain disposition below serves there.
        FILE_DISPOSITION_INFO_EX ex { dispositionDelete | dispositionPosix | dispositionIgnoreReadOnly };
        if (::SetFileInformationByHandle (item.handle, fileDispositionInfoEx, &ex, sizeof (ex)))
            return FsStatus::ok;

        const auto exStatus = statusOfOpenedItem (::GetLastError());
        if (exStatus == FsStatus::notEmpty || exStatus == FsStatus::busy)
            return exStatus;

        // Without a disposition that ignores the mark, this name cannot go unless the file's
        // attributes change, for its other names too: it stays, as refused.
        if (sharedWithAnotherName)
            return FsStatus::denied;

        FILE_DISPOSITION_INFO plain { TRUE };
        return ::SetFileInformationByHandle (item.handle, FileDispositionInfo, &plain, sizeof (plain)) ? FsStatus (FsStatus::ok)
                                                                                                       : statusOfOpenedItem (::GetLastError());
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

        // Attributes belong to the file, not the name: one with another name is left as it is.
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && linkCount (item.handle) > 1)
            return FsStatus::denied;

        return (attributes & protectiveAttributes) == 0 ? FsStatus (FsStatus::ok) : setAttributes (item.handle, attributes & ~protectiveAttributes);
    }

    void FolderHandle::syncToDisk() const {}

    FsStatus FolderHandle::identityOf (const juce::String& name, ItemIdentity& identity) const
    {
        FsStatus status;
        ScopedHandle item { openChild (handle, name, FILE_READ_ATTRIBUTES, dispositionOpen, 0, status) };

        if (item.handle == INVALID_HANDLE_VALUE)
            return status;

        return identityOfOpened (item.handle, identity) ? FsStatus (FsStatus::ok) : lastStatus();
    }
}
