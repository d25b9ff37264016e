#include "install/detail/Destination.h"

#include "install/detail/Recovery.h"

namespace kv::install
{
    using fs::FolderHandle;
    using fs::FsStatus;

    OpenedDestination openDestination (const juce::File& destination, const juce::String& bundleName, bool create, fs::FileOperations& files)
    {
        OpenedDestination opened;
        opened.folder = FolderHandle::openPath (destination, opened.status, create, &opened.created);

        if (opened.folder.isOpen())
            opened.recovered = recoverBundle (files, opened.folder, bundleName);

        return opened;
    }

    void removeCreatedFolders (const juce::Array<juce::File>& created, fs::FileOperations& files)
    {
        for (int i = created.size(); --i >= 0;)
        {
            FsStatus status;
            const auto parent = FolderHandle::openPath (created[i].getParentDirectory(), status);

            if (parent.isOpen() && parent.kindOf (created[i].getFileName(), status) == fs::ItemKind::folder)
                files.remove (parent, created[i].getFileName());
        }
    }
}
