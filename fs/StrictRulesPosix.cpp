#include "fs/StrictRulesPosix.h"

#include <algorithm>
#include <atomic>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kv::fs::strict
{
    namespace
    {
        struct ItemId
        {
            dev_t device = 0;
            ino_t inode = 0;

            bool operator== (const ItemId& other) const noexcept { return device == other.device && inode == other.inode; }
        };

        struct OpenItem
        {
            ItemId id;
            std::vector<ItemId> above; // every folder the item lay in when it was opened
            juce::String path;
            bool refusesRename = false, refusesRemoval = false; // the layer's own handles share delete
            bool pendsRemoval = false; // a removal leaves the name delete pending until this handle goes
        };

        // A name removed while a handle that shares delete held it: still there until that goes.
        struct PendingName
        {
            ItemId folder;
            juce::String name;
            int folderFd = -1; // a copy of the folder's handle, to remove the name when it is let go
            int holdFd = -1;
        };

        struct Registry
        {
            std::mutex lock;
            std::map<int, OpenItem> open;
            std::vector<PendingName> pending;
            std::atomic<bool> enabled { false };
            int refused = 0;
            juce::String last;
        };

        Registry& registry()
        {
            static Registry instance;
            return instance;
        }

        bool idOf (int fd, ItemId& id)
        {
            struct stat info;
            if (::fstat (fd, &info) != 0)
                return false;
            id = { info.st_dev, info.st_ino };
            return true;
        }

        std::vector<ItemId> foldersAbove (const juce::File& path)
        {
            std::vector<ItemId> above;
            char* real = ::realpath (path.getFullPathName().toRawUTF8(), nullptr);
            auto folder = juce::File (real != nullptr ? juce::String::fromUTF8 (real) : path.getFullPathName()).getParentDirectory();
            ::free (real);

            for (;; folder = folder.getParentDirectory())
            {
                struct stat info;
                if (::stat (folder.getFullPathName().toRawUTF8(), &info) == 0)
                    above.push_back ({ info.st_dev, info.st_ino });
                if (folder == folder.getParentDirectory())
                    break;
            }

            return above;
        }

        void record (int fd, OpenItem item)
        {
            auto& r = registry();
            const std::lock_guard<std::mutex> guard (r.lock);
            r.open[fd] = std::move (item);
        }
    }

    void enable (bool on)
    {
        const std::lock_guard<std::mutex> guard (registry().lock);
        registry().enabled = on;

        // Off, nothing is counted: counts from before would go stale.
        if (! on)
            registry().open.clear();
    }

    bool isEnabled() { return registry().enabled; }

    int refusedCount()
    {
        const std::lock_guard<std::mutex> guard (registry().lock);
        return registry().refused;
    }

    juce::String lastRefusal()
    {
        const std::lock_guard<std::mutex> guard (registry().lock);
        return registry().last;
    }

    Hold::Hold (const juce::File& item, Kind heldAs)
        : fd (::open (item.getFullPathName().toRawUTF8(), O_RDONLY | O_CLOEXEC))
    {
        const auto withoutDeleteSharing = heldAs == Kind::openWithoutDeleteSharing || heldAs == Kind::currentFolder;

        if (fd >= 0)
            detail::openedByPath (fd, item, withoutDeleteSharing, heldAs != Kind::sharingDelete, heldAs == Kind::sharingDelete);
    }

    Hold::~Hold()
    {
        if (fd < 0)
            return;

        // The program lets go: a name deleted meanwhile goes now.
        std::vector<PendingName> released;
        {
            auto& r = registry();
            const std::lock_guard<std::mutex> guard (r.lock);
            const auto mine = std::stable_partition (r.pending.begin(), r.pending.end(), [this] (const PendingName& p)
                                                     { return p.holdFd != fd; });
            released.assign (mine, r.pending.end());
            r.pending.erase (mine, r.pending.end());
        }

        for (const auto& name : released)
        {
            struct stat info;
            const auto isFolder = ::fstatat (name.folderFd, name.name.toRawUTF8(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR (info.st_mode);
            ::unlinkat (name.folderFd, name.name.toRawUTF8(), isFolder ? AT_REMOVEDIR : 0);
            ::close (name.folderFd);
        }

        detail::closed (fd);
        ::close (fd);
    }

    namespace detail
    {
        void openedByPath (int fd, const juce::File& path, bool refusesRename, bool refusesRemoval, bool pendsRemoval)
        {
            if (! isEnabled())
                return;

            OpenItem item;
            if (! idOf (fd, item.id))
                return;
            item.above = foldersAbove (path);
            item.path = path.getFullPathName();
            item.refusesRename = refusesRename;
            item.refusesRemoval = refusesRemoval;
            item.pendsRemoval = pendsRemoval;
            record (fd, std::move (item));
        }

        void openedBelow (int fd, int parentFd, const juce::String& name)
        {
            if (! isEnabled())
                return;

            OpenItem item;
            ItemId parentId;
            if (! idOf (fd, item.id) || ! idOf (parentFd, parentId))
                return;

            auto& r = registry();
            const std::lock_guard<std::mutex> guard (r.lock);

            if (const auto parent = r.open.find (parentFd); parent != r.open.end())
            {
                item.above = parent->second.above;
                item.path = parent->second.path + "/" + name;
            }

            item.above.push_back (parentId);
            r.open[fd] = std::move (item);
        }

        void closed (int fd)
        {
            if (! isEnabled())
                return;

            const std::lock_guard<std::mutex> guard (registry().lock);
            registry().open.erase (fd);
        }

        bool refuses (int parentFd, const juce::String& name, bool removal)
        {
            if (! isEnabled())
                return false;

            struct stat info;
            if (::fstatat (parentFd, name.toRawUTF8(), &info, AT_SYMLINK_NOFOLLOW) != 0)
                return false;

            const ItemId id { info.st_dev, info.st_ino };
            const auto isFolder = S_ISDIR (info.st_mode);
            auto& r = registry();
            const std::lock_guard<std::mutex> guard (r.lock);

            for (const auto& [fd, item] : r.open)
            {
                const auto below = std::find (item.above.begin(), item.above.end(), id) != item.above.end();
                const auto held = item.id == id && (removal ? item.refusesRemoval : item.refusesRename);

                if ((isFolder && below) || held)
                {
                    ++r.refused;
                    r.last = juce::String (removal ? "removal" : "rename") + " of \"" + name + "\" refused as Windows would: "
                             + (isFolder && below ? "a handle below it is open: " : "it is held open by another program: ") + item.path;
                    return true;
                }
            }

            return false;
        }

        bool removalPends (int parentFd, const juce::String& name)
        {
            if (! isEnabled())
                return false;

            ItemId id, folder;
            struct stat info;
            if (::fstatat (parentFd, name.toRawUTF8(), &info, AT_SYMLINK_NOFOLLOW) != 0 || ! idOf (parentFd, folder))
                return false;
            id = { info.st_dev, info.st_ino };

            auto& r = registry();
            const std::lock_guard<std::mutex> guard (r.lock);

            for (const auto& [fd, item] : r.open)
            {
                if (item.pendsRemoval && item.id == id)
                {
                    r.pending.push_back ({ folder, name, ::fcntl (parentFd, F_DUPFD_CLOEXEC, 0), fd });
                    return true;
                }
            }

            return false;
        }

        bool isDeletePending (int parentFd, const juce::String& name)
        {
            ItemId folder;
            if (! isEnabled() || ! idOf (parentFd, folder))
                return false;

            auto& r = registry();
            const std::lock_guard<std::mutex> guard (r.lock);
            return std::any_of (r.pending.begin(), r.pending.end(), [&] (const PendingName& p)
                                { return p.folder == folder && p.name.equalsIgnoreCase (name); });
        }

        bool collidesIgnoringCase (int folderFd, const juce::String& name)
        {
            if (! isEnabled())
                return false;

            const auto copy = ::fcntl (folderFd, F_DUPFD_CLOEXEC, 0);
            auto* dir = copy >= 0 ? ::fdopendir (copy) : nullptr;

            if (dir == nullptr)
            {
                if (copy >= 0)
                    ::close (copy);
                return false;
            }

            ::rewinddir (dir);
            auto collides = false;

            while (auto* entry = ::readdir (dir))
            {
                const auto other = juce::String::fromUTF8 (entry->d_name);
                collides = collides || (other != name && other.equalsIgnoreCase (name));
            }

            ::closedir (dir);
            return collides;
        }
    }
}
