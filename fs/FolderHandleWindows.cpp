#include "fs/NtFilesWindows.h"
#include "text/TextEncoding.h"

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

        constexpr DWORD protectiveMarks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        constexpr ACCESS_MASK folderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL;
        constexpr ACCESS_MASK removalAccess = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;

        FsStatus removeOpened (HANDLE item)
        {
            DWORD attributes = 0;
            const auto kind = kindOfOpened (item, &attributes);

            // Straight to ntdll, so that the NTSTATUS is read before any mapping.
            const auto dispose = [item] (ULONG infoClass, ULONG flags)
            {
                IO_STATUS_BLOCK io {};
                ULONG ex = flags;
                BOOLEAN plain = TRUE;
                const auto asEx = infoClass == fileDispositionInformationEx;
                const auto result = ntdll().setInformation (item, &io, asEx ? (PVOID) &ex : (PVOID) &plain,
                                                            asEx ? (ULONG) sizeof (ex) : (ULONG) sizeof (plain), infoClass);
                return statusFromNt (result, windows_rules::NtStep::dispose);
            };

            // POSIX semantics take the name away at once, even while another program holds the
            // file, and past a read-only mark without changing it. Wine, FAT and Windows before
            // 10 1809 have no such disposition: the plain one below serves there.
            const auto exStatus = dispose (fileDispositionInformationEx, dispositionDelete | dispositionPosix | dispositionIgnoreReadOnly);
            if (exStatus == FsStatus::ok || exStatus == FsStatus::notEmpty || exStatus == FsStatus::busy)
                return exStatus;

            // Only the read-only mark stops a plain delete; a link's attributes are its own, and
            // a file with another name elsewhere keeps them, as they belong to that name too:
            // without a disposition that ignores the mark, that name stays, as refused.
            const auto marked = kind != ItemKind::link && (attributes & FILE_ATTRIBUTE_READONLY) != 0;

            if (marked && linkCount (item) > 1)
                return FsStatus::denied;

            if (marked)
                if (const auto cleared = setAttributes (item, attributes & ~protectiveMarks); cleared != FsStatus::ok)
                    return FsStatus (FsStatus::denied, cleared.error);

            const auto refused = dispose (fileDispositionInformation, 0);
            if (refused == FsStatus::ok)
                return refused;

            // A refused delete leaves the item as it was found, marks included.
            if (marked)
                setAttributes (item, attributes);

            return refused;
        }

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

        // The named item opened as itself to read or change its marks: a link there is refused,
        // never followed. INVALID_HANDLE_VALUE with the reason in status when it cannot be.
        HANDLE openForMarks (HANDLE folder, const juce::String& name, ACCESS_MASK access, DWORD& attributes, FsStatus& status)
        {
            const auto item = openChild (folder, name, access, dispositionOpen, 0, status);

            if (item != INVALID_HANDLE_VALUE && kindOfOpened (item, &attributes) == ItemKind::link)
            {
                ::CloseHandle (item);
                status = FsStatus (FsStatus::notAFolder);
                return INVALID_HANDLE_VALUE;
            }

            return item;
        }
    }

    void FolderHandle::closeNative (Native native) noexcept { ::CloseHandle (native); }

    FolderHandle FolderHandle::openPath (const juce::File& folder, FsStatus& status)
    {
        const auto native = ::CreateFileW (longPath (folder).c_str(), folderAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);

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

    FsStatus FolderHandle::identity (ItemIdentity& identity) const
    {
        return identityOfOpened (handle, identity) ? FsStatus (FsStatus::ok) : lastStatus();
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

        // A name that is not well-formed UTF-16 (an unpaired surrogate) would not come back from
        // a String as the name Windows has: it could be neither reached nor removed, and would
        // read as gone while its folder stayed not empty. Such a folder is reported at once.
        auto unreachable = false;

        for (;;)
        {
            if (! ::GetFileInformationByHandleEx (listing.handle, infoClass, buffer.data(), (DWORD) buffer.size()))
            {
                if (::GetLastError() != ERROR_NO_MORE_FILES)
                    return lastStatus();
                return unreachable ? FsStatus (FsStatus::failed) : FsStatus (FsStatus::ok);
            }

            infoClass = FileIdBothDirectoryInfo;

            for (size_t offset = 0;;)
            {
                const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*> (buffer.data() + offset);
                unreachable = unreachable || ! text::isWellFormedUtf16 (entry->FileName, entry->FileNameLength, false);
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
        return statusFromNt (result, windows_rules::NtStep::rename, kindOfOpened (item.handle) == ItemKind::folder);
    }

    FsStatus FolderHandle::remove (const juce::String& name) const
    {
        FsStatus status;
        ScopedHandle item { openChild (handle, name, removalAccess, dispositionOpen, 0, status) };

        // Already on its way out: its name goes as the last program that holds it lets go.
        if (status.error == SystemError::ntstatus ((LONG) windows_rules::statusDeletePending))
            return FsStatus::ok;

        return item.handle == INVALID_HANDLE_VALUE ? status : removeOpened (item.handle);
    }

    FsStatus FolderHandle::removeIfSame (const juce::String& name, const ItemIdentity& expected) const
    {
        // The item is checked and removed through one handle: nothing put under the name in
        // between can be the one that goes.
        FsStatus status;
        ScopedHandle item { openChild (handle, name, removalAccess, dispositionOpen, 0, status) };

        if (item.handle == INVALID_HANDLE_VALUE)
            return status;

        ItemIdentity found;
        if (! identityOfOpened (item.handle, found))
            return lastStatus();

        return found == expected ? removeOpened (item.handle) : FsStatus (FsStatus::failed);
    }

    FsStatus FolderHandle::clearProtectiveAttributes (const juce::String& name) const
    {
        FsStatus status;
        DWORD attributes = 0;
        ScopedHandle item { openForMarks (handle, name, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, attributes, status) };

        if (item.handle == INVALID_HANDLE_VALUE)
            return status;

        // Attributes belong to the file, not the name: one with another name is left as it is.
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && linkCount (item.handle) > 1)
            return FsStatus::denied;

        return (attributes & protectiveMarks) == 0 ? FsStatus (FsStatus::ok) : setAttributes (item.handle, attributes & ~protectiveMarks);
    }

    FsStatus FolderHandle::protectiveAttributes (const juce::String& name, juce::uint32& marks) const
    {
        FsStatus status;
        DWORD attributes = 0;
        ScopedHandle item { openForMarks (handle, name, FILE_READ_ATTRIBUTES, attributes, status) };

        if (item.handle == INVALID_HANDLE_VALUE)
            return status;

        marks = attributes & protectiveMarks;
        return FsStatus::ok;
    }

    FsStatus FolderHandle::restoreProtectiveAttributes (const juce::String& name, juce::uint32 marks) const
    {
        FsStatus status;
        DWORD attributes = 0;
        ScopedHandle item { openForMarks (handle, name, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, attributes, status) };

        if (item.handle == INVALID_HANDLE_VALUE)
            return status;

        const auto wanted = (attributes & ~protectiveMarks) | (marks & protectiveMarks);
        return wanted == attributes ? FsStatus (FsStatus::ok) : setAttributes (item.handle, wanted);
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
