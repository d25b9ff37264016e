#include "install/detail/Recovery.h"

#include "identity/BundleLocation.h"
#include "install/detail/Disposal.h"
#include "install/detail/InertNames.h"
#include "install/detail/Leftovers.h"
#include "install/detail/PlacedRecord.h"
#include "platform/InstallerLock.h"

namespace kv::install
{
    using fs::FileOperations;
    using fs::FolderHandle;
    using fs::FsStatus;
    using fs::ItemKind;

    void RecoveryResult::add (const RecoveryResult& other)
    {
        restored += other.restored;
        removed += other.removed;
        stillInUse += other.stillInUse;
        oldCopiesKept.addArray (other.oldCopiesKept);
        oldCopiesBesideAnother.addArray (other.oldCopiesBesideAnother);
        leftForNextStart = leftForNextStart || other.leftForNextStart;
    }

    static bool wholeBundleStands (const FolderHandle& folder, const juce::String& bundleName)
    {
        FsStatus status;
        const auto kind = folder.kindOf (bundleName, status);
        return kind == ItemKind::file || kind == ItemKind::folder;
    }

    RecoveryResult recoverBundle (FileOperations& files, const FolderHandle& folder, const juce::String& bundleName, OldCopies oldCopies)
    {
        RecoveryResult result;

        const auto dispose = [&] (const juce::String& name)
        {
            if (leftovers::disposeOf (files, folder, name, bundleName).removed)
                ++result.removed;
            else
                ++result.stillInUse;
        };

        // Half-made and discarded copies go first, so that putting the old copy back never leaves
        // two that a host could load. Their disposal renames none of the old copies.
        std::vector<leftovers::Leftover> olds;
        for (const auto& leftover : leftovers::findIn (folder, bundleName))
        {
            if (leftover.kind == leftovers::Kind::old)
                olds.push_back (leftover);
            else
                dispose (leftover.name);
        }

        FsStatus status;
        folder.kindOf (bundleName, status);
        auto restoredNow = false;

        if (status == FsStatus::notFound && ! olds.empty())
        {
            // The one the last pass moved aside carries the highest number.
            const auto latest = olds.back().name;
            const auto wasInert = leftovers::holdsInertNames (files, folder, latest);

            if (leftovers::undoInert (files, folder, latest) && files.renameRetrying (folder, latest, folder, bundleName) == FsStatus::ok)
            {
                ++result.restored;
                restoredNow = true;
                olds.pop_back();
            }
            else if (wasInert)
            {
                // Left as it was found.
                leftovers::makeInert (files, folder, latest);
            }
        }

        // An old copy goes only while a copy the installer itself put there stands in its place:
        // one it just put back, or the one a pass recorded before its last rename. Anything else
        // under the bundle's name may be a stranger's, and the old copy the user's only one.
        if (! wholeBundleStands (folder, bundleName))
        {
            for (const auto& old : olds)
                result.oldCopiesKept.add (folder.pathOf (old.name));
        }
        else if (restoredNow || oldCopies == OldCopies::goBesideAnyBundle || placed::standsAsPlaced (folder, bundleName))
        {
            for (const auto& old : olds)
                dispose (old.name);
        }
        else
        {
            for (const auto& old : olds)
                result.oldCopiesBesideAnother.add (folder.pathOf (old.name));
        }

        placed::removeAll (files, folder, bundleName);
        return result;
    }

    RecoveryResult recoverBundle (const juce::File& bundle, FileOperations& files)
    {
        if (bundle == juce::File())
            return {};

        FsStatus status;
        const auto folder = FolderHandle::openPath (bundle.getParentDirectory(), status);
        return folder.isOpen() ? recoverBundle (files, folder, bundle.getFileName()) : RecoveryResult();
    }

    RecoveryResult recoverAtStart (const juce::String& productName, const FormatArray<juce::File>& destinationFolders, FileOperations& files,
                                   int lockWaitMs)
    {
        RecoveryResult total;
        files.resetRetryBudget();
        kv::platform::InstallerLock lock (productName, lockWaitMs);

        if (! lock.isHeld())
        {
            total.leftForNextStart = true;
            return total;
        }

        for (int i = 0; i < numFormats; ++i)
            total.add (recoverBundle (bundleFileFor (destinationFolders[(size_t) i], productName, i), files));

        return total;
    }
}
