#include "install/detail/Destination.h"

#include "install/detail/Recovery.h"

namespace kv::install
{
    using fs::FolderHandle;
    using fs::FsStatus;

    namespace
    {
        // The nearest folder on the way that exists is opened by path, as the settings name it;
        // each missing one below it is made from its parent's handle and entered from there, never
        // through a link.
        void openCreating (const juce::File& destination, OpenedDestination& opened, fs::FileOperations& files)
        {
            juce::StringArray missing;
            auto existing = destination;
            auto folder = FolderHandle::openPath (existing, opened.status);

            while (! folder.isOpen() && opened.status == FsStatus::notFound && existing != existing.getParentDirectory())
            {
                missing.insert (0, existing.getFileName());
                existing = existing.getParentDirectory();
                folder = FolderHandle::openPath (existing, opened.status);
            }

            for (const auto& name : missing)
            {
                if (! folder.isOpen())
                    return;

                const auto made = files.createFolder (folder, name);

                if (made != FsStatus::ok && made != FsStatus::exists)
                {
                    opened.status = made;
                    return;
                }

                auto child = files.openFolder (folder, name, opened.status);
                fs::ItemIdentity identity;

                if (made == FsStatus::ok && child.isOpen() && child.identity (identity) == FsStatus::ok)
                    opened.created.push_back ({ std::move (folder), name, identity });

                folder = std::move (child);
            }

            opened.folder = std::move (folder);
        }
    }

    OpenedDestination openDestination (const juce::File& destination, const juce::String& bundleName, bool forInstall, fs::FileOperations& files)
    {
        OpenedDestination opened;

        if (forInstall)
            openCreating (destination, opened, files);
        else
            opened.folder = FolderHandle::openPath (destination, opened.status);

        if (opened.folder.isOpen())
            opened.recovered = recoverBundle (files, opened.folder, bundleName, forInstall ? OldCopies::goBesideAPlacedCopy : OldCopies::goBesideAnyBundle);

        return opened;
    }

    void removeCreatedFolders (OpenedDestination& destination, fs::FileOperations& files)
    {
        destination.folder = {};

        // Each one's own handle is closed by now: the destination's, or the next one's parent.
        while (! destination.created.empty())
        {
            const auto& made = destination.created.back();
            files.removeIfSame (made.parent, made.name, made.identity);
            destination.created.pop_back();
        }
    }
}
