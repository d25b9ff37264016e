#include "install/detail/BundleInstaller.h"

#include "identity/BundleLocation.h"
#include "install/detail/Destination.h"
#include "install/detail/Disposal.h"
#include "install/detail/Leftovers.h"
#include "install/detail/PlacedRecord.h"
#include "install/detail/Refusal.h"
#include "install/detail/Staging.h"
#include "install/detail/Swap.h"

// One format's install, step by step: check the archive, open the destination, stage the new
// copy, swap it in, then let the old copies go. A failure at any step rolls back to the copy
// the user had.
namespace kv::install
{
    using fs::FileOperations;
    using fs::FolderHandle;
    using fs::FsStatus;
    using fs::ItemKind;

    namespace
    {
        FormatOutcome outcome (const BundleJob& job, InstallProblem problem, const juce::String& detail = {}, fs::SystemError cause = {})
        {
            return { job.formatIndex, problem, detail, cause };
        }

        // A step the system refused: what it is for the user, where, and what the system said.
        FormatOutcome refused (const BundleJob& job, FsStatus status, InstallProblem otherwise, const juce::String& where)
        {
            return outcome (job, problemFor (status, otherwise), where, status.error);
        }

        void noteDisposal (FormatOutcome& done, const leftovers::Disposal& disposal)
        {
            if (! disposal.removed)
            {
                done.stillInUse = disposal.leftAt;
                done.hiddenFromHosts = disposal.hiddenFromHosts;
                done.removalScheduled = disposal.removalScheduled;
                done.removalRefused = disposal.refused;
            }
        }

        // What a failed pass made goes again: the staging folder (handles into it all closed by
        // now) and the folders created on the way, once the destination's own handle is closed:
        // Windows keeps a folder while a handle below it is open. The old copy is where the
        // swap left it.
        FormatOutcome rollBack (const BundleJob& job, FileOperations& files, OpenedDestination& destination,
                                const juce::String& stagingName, InstallProblem problem, const juce::String& detail, fs::SystemError cause)
        {
            auto failed = outcome (job, problem, detail, cause);
            FsStatus status;

            if (stagingName.isNotEmpty() && destination.folder.kindOf (stagingName, status) != ItemKind::absent)
            {
                if (const auto disposal = leftovers::disposeOf (files, destination.folder, stagingName, job.bundleName); ! disposal.removed)
                {
                    failed.leftoverAt = disposal.leftAt;
                    failed.leftoverHidden = disposal.hiddenFromHosts;
                }
            }

            removeCreatedFolders (destination, files);
            failed.oldCopiesKept = destination.recovered.oldCopiesKept;
            failed.oldCopiesKept.addArray (destination.recovered.oldCopiesBesideAnother);
            return failed;
        }

        // With the new copy in place, every old one may go: the pass's own, and any an earlier
        // pass could not put back. The outcome tells of the pass's own, or else the first kept.
        FormatOutcome finishSwap (const BundleJob& job, FileOperations& files, const FolderHandle& folder, const juce::String& stagingName,
                                  const juce::String& previous)
        {
            files.removeRetrying (folder, stagingName);
            auto done = outcome (job, InstallProblem::none);

            for (const auto& leftover : leftovers::findIn (folder, job.bundleName))
            {
                if (leftover.kind != leftovers::Kind::old)
                    continue;

                const auto disposal = leftovers::disposeOf (files, folder, leftover.name, job.bundleName);

                if (leftover.name == previous || done.stillInUse == juce::File())
                    noteDisposal (done, disposal);
            }

            placed::removeAll (files, folder, job.bundleName);

            return done;
        }
    }

    FormatOutcome installBundle (const BundleJob& job, FileOperations& files)
    {
        if (! isUsableDestination (job.destinationFolder))
            return outcome (job, InstallProblem::noDestination);

        PreparedArchive prepared;
        if (const auto badArchive = prepareArchive (job, prepared))
            return *badArchive;

        auto destination = openDestination (job.destinationFolder, job.bundleName, true, files);

        if (! destination.folder.isOpen())
        {
            removeCreatedFolders (destination, files);
            return refused (job, destination.status, InstallProblem::destinationNotCreatable, job.destinationFolder.getFullPathName());
        }

        const auto staged = stageNewCopy (files, destination.folder, job.bundleName, prepared);

        if (staged.problem != InstallProblem::none)
            return rollBack (job, files, destination, staged.stagingName, staged.problem, staged.detail, staged.cause);

        const auto swap = swapIn (files, destination.folder, job.bundleName, staged.stagingName);

        if (swap.problem != InstallProblem::none)
        {
            auto failed = rollBack (job, files, destination, staged.stagingName, swap.problem, swap.detail, swap.cause);
            failed.previousCopyAt = swap.previousCopyAt;
            failed.leftoverHidden = failed.leftoverHidden && swap.stagedCopyHidden;
            return failed;
        }

        return finishSwap (job, files, destination.folder, staged.stagingName, swap.previous);
    }

    FormatOutcome removeBundle (const BundleJob& job, FileOperations& files)
    {
        if (! isUsableDestination (job.destinationFolder))
            return outcome (job, InstallProblem::noDestination);

        const auto destination = openDestination (job.destinationFolder, job.bundleName, false, files);
        const auto& folder = destination.folder;

        // A destination that is not there holds no bundle; one that cannot be opened might.
        if (! folder.isOpen())
            return destination.status == FsStatus::notFound
                       ? outcome (job, InstallProblem::none)
                       : refused (job, destination.status, InstallProblem::bundleInUse, job.destinationFolder.getFullPathName());

        FsStatus status;

        if (folder.kindOf (job.bundleName, status) == ItemKind::absent)
        {
            auto result = status == FsStatus::notFound ? outcome (job, InstallProblem::none)
                                                       : refused (job, status, InstallProblem::bundleInUse, folder.pathOf (job.bundleName).getFullPathName());
            result.oldCopiesKept = destination.recovered.oldCopiesKept;
            return result;
        }

        // Moved aside in one step: a bundle that cannot be moved is left exactly as it was, and
        // one that could is gone from every host's sight, whatever of it is still in use.
        const auto removing = leftovers::freeNameFor (folder, job.bundleName, leftovers::Kind::removing);

        if (const auto moved = files.renameRetrying (folder, job.bundleName, folder, removing); moved != FsStatus::ok)
            return refused (job, moved, InstallProblem::bundleInUse, folder.pathOf (job.bundleName).getFullPathName());

        auto done = outcome (job, InstallProblem::none);
        noteDisposal (done, leftovers::disposeOf (files, folder, removing, job.bundleName));
        return done;
    }
}
