#include "fs/FolderHandle.h"

#include "fs/StrictRulesPosix.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv::fs
{
    namespace
    {
        FsStatus::Code codeFromErrno (int error)
        {
            switch (error)
            {
                case 0: return FsStatus::ok;
                case ENOENT: return FsStatus::notFound;
                case EEXIST: return FsStatus::exists;
                case ENOTEMPTY: return FsStatus::notEmpty;
                case ELOOP:
                case ENOTDIR: return FsStatus::notAFolder;
                // Refused permission, an immutable item or a read-only volume: waiting changes nothing.
                case EACCES:
                case EPERM:
                case EROFS: return FsStatus::denied;
                case EBUSY:
                case ETXTBSY: return FsStatus::busy;
                case ENOSPC:
                case EDQUOT: return FsStatus::noSpace;
                case ENODEV:
                case ENXIO:
                case ENOMEDIUM: return FsStatus::notReady;
                default: return FsStatus::failed;
            }
        }

        FsStatus statusFromErrno (int error)
        {
            return { codeFromErrno (error), error == 0 ? SystemError() : SystemError::posix (error) };
        }

        FsStatus lastStatus() { return statusFromErrno (errno); }

        // Where Windows' rules would refuse to make the name: it is delete pending, or another
        // item has it but for case.
        FsStatus strictCreateRefusal (int folder, const juce::String& name)
        {
            if (strict::detail::isDeletePending (folder, name))
                return FsStatus::busy;

            return strict::detail::collidesIgnoringCase (folder, name) ? FsStatus (FsStatus::exists) : FsStatus (FsStatus::ok);
        }

        ItemKind kindFromMode (mode_t mode)
        {
            if (S_ISLNK (mode))
                return ItemKind::link;
            if (S_ISDIR (mode))
                return ItemKind::folder;
            if (S_ISREG (mode))
                return ItemKind::file;
            return ItemKind::other;
        }

        class PosixOutputStream final : public HandleOutputStream
        {
        public:
            explicit PosixOutputStream (int fdToOwn)
                : fd (fdToOwn)
            {
            }
            ~PosixOutputStream() override { close(); }

            bool setTimes (juce::Time, juce::Time modified, juce::Time accessed) override
            {
                const auto toSpec = [] (juce::Time t)
                {
                    const auto ms = t.toMilliseconds();
                    auto seconds = ms / 1000, rest = ms % 1000;
                    if (rest < 0)
                        --seconds, rest += 1000;
                    return timespec { (time_t) seconds, (long) rest * 1000000L };
                };

                const timespec times[2] { toSpec (accessed), toSpec (modified) };
                return fd >= 0 && ::futimens (fd, times) == 0;
            }

            bool close() override
            {
                if (fd >= 0)
                {
                    // The disk starts on this file's bytes now, while the next entry is
                    // inflated; the sync before the swap then waits for less.
#if defined(__linux__)
                    ::sync_file_range (fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
                    strict::detail::closed (fd);
                    if (::close (fd) != 0)
                        fail (lastStatus());
                    fd = -1;
                }

                return ! failed;
            }

        private:
            juce::int64 writeSome (const char* bytes, size_t size) override
            {
                const auto written = ::write (fd, bytes, size);

                if (written < 0 && errno == EINTR)
                    return 0;

                if (written > 0)
                    return (juce::int64) written;

                fail (written < 0 ? lastStatus() : FsStatus (FsStatus::failed));
                return -1;
            }

            int fd = -1;
        };
    }

    void FolderHandle::closeNative (Native native) noexcept
    {
        strict::detail::closed (native);
        ::close (native);
    }

    FolderHandle FolderHandle::openPath (const juce::File& folder, FsStatus& status)
    {
        const auto fd = ::open (folder.getFullPathName().toRawUTF8(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        status = fd < 0 ? lastStatus() : FsStatus (FsStatus::ok);
        if (fd >= 0)
            strict::detail::openedByPath (fd, folder);
        return fd < 0 ? FolderHandle() : FolderHandle (fd, folder);
    }

    FsStatus FolderHandle::identity (ItemIdentity& identity) const
    {
        struct stat info;

        if (::fstat (handle, &info) != 0)
            return lastStatus();

        identity = { (juce::uint64) info.st_dev, (juce::uint64) info.st_ino };
        return FsStatus::ok;
    }

    ItemKind FolderHandle::kindOf (const juce::String& name, FsStatus& status) const
    {
        struct stat info;

        // Windows opens no name that is delete pending, not even to read its attributes.
        if (strict::detail::isDeletePending (handle, name))
        {
            status = FsStatus::busy;
            return ItemKind::absent;
        }

        if (::fstatat (handle, name.toRawUTF8(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        {
            status = lastStatus();
            return ItemKind::absent;
        }

        status = FsStatus::ok;
        return kindFromMode (info.st_mode);
    }

    FsStatus FolderHandle::list (juce::StringArray& names) const
    {
        names.clear();
        const auto copy = ::fcntl (handle, F_DUPFD_CLOEXEC, 0);

        if (copy < 0)
            return lastStatus();

        auto* dir = ::fdopendir (copy);

        if (dir == nullptr)
        {
            ::close (copy);
            return lastStatus();
        }

        ::rewinddir (dir);
        errno = 0;

        while (auto* entry = ::readdir (dir))
        {
            const juce::String name (juce::CharPointer_UTF8 (entry->d_name));

            if (name != "." && name != "..")
                names.add (name);
        }

        const auto status = lastStatus();
        ::closedir (dir);
        return status;
    }

    FolderHandle FolderHandle::openFolder (const juce::String& name, FsStatus& status) const
    {
        if (strict::detail::isDeletePending (handle, name))
        {
            status = FsStatus::busy;
            return {};
        }

        const auto fd = ::openat (handle, name.toRawUTF8(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        status = fd < 0 ? lastStatus() : FsStatus (FsStatus::ok);
        if (fd >= 0)
            strict::detail::openedBelow (fd, handle, name);
        return fd < 0 ? FolderHandle() : FolderHandle (fd, pathOf (name));
    }

    FsStatus FolderHandle::createFolder (const juce::String& name) const
    {
        if (const auto refused = strictCreateRefusal (handle, name); refused != FsStatus::ok)
            return refused;

        return ::mkdirat (handle, name.toRawUTF8(), 0755) == 0 ? FsStatus (FsStatus::ok) : lastStatus();
    }

    std::unique_ptr<HandleOutputStream> FolderHandle::createFile (const juce::String& name, FsStatus& status) const
    {
        if (status = strictCreateRefusal (handle, name); status != FsStatus::ok)
            return nullptr;

        const auto fd = ::openat (handle, name.toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        status = fd < 0 ? lastStatus() : FsStatus (FsStatus::ok);
        if (fd >= 0)
            strict::detail::openedBelow (fd, handle, name);
        return fd < 0 ? nullptr : std::make_unique<PosixOutputStream> (fd);
    }

    FsStatus FolderHandle::rename (const juce::String& name, const FolderHandle& toFolder, const juce::String& toName) const
    {
        // Windows refuses to rename a folder with a handle open below it as access denied on a
        // handle opened for DELETE: a refusal that passes.
        if (strict::detail::refuses (handle, name, false) || strict::detail::isDeletePending (handle, name))
            return FsStatus::busy;

        if (const auto refused = strictCreateRefusal (toFolder.handle, toName); refused != FsStatus::ok)
            return refused;

        if (::renameat2 (handle, name.toRawUTF8(), toFolder.handle, toName.toRawUTF8(), RENAME_NOREPLACE) == 0)
            return FsStatus::ok;

        if (errno != EINVAL && errno != ENOSYS)
            return lastStatus();

        // A file system without a no-replace rename: the names are our own, so a check suffices.
        struct stat info;
        if (::fstatat (toFolder.handle, toName.toRawUTF8(), &info, AT_SYMLINK_NOFOLLOW) == 0)
            return FsStatus::exists;

        return ::renameat (handle, name.toRawUTF8(), toFolder.handle, toName.toRawUTF8()) == 0 ? FsStatus (FsStatus::ok) : lastStatus();
    }

    FsStatus FolderHandle::remove (const juce::String& name) const
    {
        // Already on its way out: its name goes when the program that holds it lets go.
        if (strict::detail::isDeletePending (handle, name))
            return FsStatus::ok;

        FsStatus status;
        const auto kind = kindOf (name, status);

        if (kind == ItemKind::absent)
            return status;

        if (strict::detail::refuses (handle, name, true))
            return FsStatus::busy;

        if (strict::detail::removalPends (handle, name))
            return FsStatus::ok;

        if (::unlinkat (handle, name.toRawUTF8(), kind == ItemKind::folder ? AT_REMOVEDIR : 0) == 0)
            return FsStatus::ok;

        // Swapped between the look and the removal: whatever stands there now, never followed.
        if (errno == ENOTDIR || errno == EISDIR)
            return ::unlinkat (handle, name.toRawUTF8(), kind == ItemKind::folder ? 0 : AT_REMOVEDIR) == 0 ? FsStatus (FsStatus::ok) : lastStatus();

        return errno == EEXIST ? FsStatus (FsStatus::notEmpty) : lastStatus();
    }

    FsStatus FolderHandle::removeIfSame (const juce::String& name, const ItemIdentity& expected) const
    {
        // POSIX has no removal of an opened item: the look and the removal are two calls, both
        // by name from this folder's handle, so at worst an empty folder of the same name that
        // another put here in between goes, never anything outside this folder.
        ItemIdentity found;

        if (const auto looked = identityOf (name, found); looked != FsStatus::ok)
            return looked;

        return found == expected ? remove (name) : FsStatus (FsStatus::failed);
    }

    FsStatus FolderHandle::clearProtectiveAttributes (const juce::String& name) const
    {
        struct stat info;

        if (::fstatat (handle, name.toRawUTF8(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            return lastStatus();

        if (S_ISLNK (info.st_mode))
            return FsStatus::notAFolder;

        // The mode belongs to the file, not the name: one with another name is left as it is.
        if (S_ISREG (info.st_mode) && info.st_nlink > 1)
            return FsStatus::denied;

        const mode_t wanted = S_ISDIR (info.st_mode) ? S_IRWXU : (S_IRUSR | S_IWUSR);
        if ((info.st_mode & wanted) == wanted)
            return FsStatus::ok;

        // With AT_SYMLINK_NOFOLLOW the C library changes the item it opened, and refuses a link
        // swapped in after the look above.
        const auto mode = (info.st_mode & 07777) | wanted;
        return ::fchmodat (handle, name.toRawUTF8(), mode, AT_SYMLINK_NOFOLLOW) == 0 ? FsStatus (FsStatus::ok) : lastStatus();
    }

    FsStatus FolderHandle::protectiveAttributes (const juce::String& name, juce::uint32& marks) const
    {
        struct stat info;

        if (::fstatat (handle, name.toRawUTF8(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            return lastStatus();

        marks = (juce::uint32) (info.st_mode & 07777);
        return S_ISLNK (info.st_mode) ? FsStatus (FsStatus::notAFolder) : FsStatus (FsStatus::ok);
    }

    FsStatus FolderHandle::restoreProtectiveAttributes (const juce::String& name, juce::uint32 marks) const
    {
        juce::uint32 now = 0;

        if (const auto looked = protectiveAttributes (name, now); looked != FsStatus::ok || now == marks)
            return looked;

        return ::fchmodat (handle, name.toRawUTF8(), (mode_t) marks, AT_SYMLINK_NOFOLLOW) == 0 ? FsStatus (FsStatus::ok) : lastStatus();
    }

    void FolderHandle::syncToDisk() const { ::syncfs (handle); }

    FsStatus FolderHandle::identityOf (const juce::String& name, ItemIdentity& identity) const
    {
        struct stat info;

        if (::fstatat (handle, name.toRawUTF8(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            return lastStatus();

        identity = { (juce::uint64) info.st_dev, (juce::uint64) info.st_ino };
        return FsStatus::ok;
    }

    bool FolderHandle::othersMayChange() const
    {
        struct stat info;

        if (::fstat (handle, &info) != 0)
            return true;

        const auto ownedByOther = info.st_uid != 0 && info.st_uid != ::geteuid();
        return ownedByOther || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    }

    bool FolderHandle::scheduleRemovalAtRestart (const juce::String&) const { return false; }
}
