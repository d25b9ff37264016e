#include "install/BundleInstaller.h"

#include "install/ArchiveCheck.h"
#include "install/Leftovers.h"
#include "install/Recovery.h"
#include "install/StagingTree.h"
#include "platform/ResidentMemory.h"

namespace
{
    FormatOutcome outcome (const BundleJob& job, InstallProblem problem, const juce::String& detail = {})
    {
        return { job.formatIndex, problem, detail };
    }

    void noteDisposal (FormatOutcome& done, const leftovers::Disposal& disposal)
    {
        if (! disposal.removed)
        {
            done.stillInUse = disposal.leftAt;
            done.hiddenFromHosts = disposal.hiddenFromHosts;
            done.removalScheduled = disposal.removalScheduled;
        }
    }

    // The destination opened once for the whole of this format's work, with what an earlier
    // pass left half done put right through the same handle.
    struct OpenedDestination
    {
        FolderHandle folder;
        FsStatus status = FsStatus::ok;
        juce::Array<juce::File> created; // folders this pass made on the way, outermost first
        RecoveryResult recovered;
    };

    OpenedDestination openDestination (const BundleJob& job, bool create, FileOperations& files)
    {
        OpenedDestination opened;
        opened.folder = FolderHandle::openPath (job.destinationFolder, opened.status, create, &opened.created);

        if (opened.folder.isOpen())
            opened.recovered = recoverBundle (files, opened.folder, job.bundleName);

        return opened;
    }

    // Folders made for a pass that then failed go again, innermost first, while still empty.
    void removeCreatedFolders (const juce::Array<juce::File>& created, FileOperations& files)
    {
        for (int i = created.size(); --i >= 0;)
        {
            FsStatus status;
            const auto parent = FolderHandle::openPath (created[i].getParentDirectory(), status);

            if (parent.isOpen() && parent.kindOf (created[i].getFileName(), status) == ItemKind::folder)
                files.remove (parent, created[i].getFileName());
        }
    }

    void noteOldCopiesKept (FormatOutcome& result, const RecoveryResult& recovered)
    {
        result.oldCopiesKept = recovered.oldCopiesKept;
    }
}

FormatOutcome installBundle (const BundleJob& job, FileOperations& files)
{
    if (! isUsableDestination (job.destinationFolder))
        return outcome (job, InstallProblem::noDestination);

    // One private copy of the archive, alive only while this format is unpacked; in large
    // pages where the system has them, as the copy would otherwise fault page by page.
    juce::MemoryBlock archive (job.archiveSize, false);
    kv::platform::preferLargePages (archive.getData(), archive.getSize());
    archive.copyFrom (job.archiveData, 0, job.archiveSize);

    // With the copy made, the executable's own pages of it need not stay resident.
    if (job.archiveMappedFromExecutable)
        kv::platform::releaseExecutablePages (job.archiveData, job.archiveSize);

    // The archive is checked before anything is created, so a bad one leaves no trace.
    std::vector<ZipRecord> records;
    ArchivePlan plan;
    const auto check = checkArchiveLayout (archive.getData(), archive.getSize(), job.bundleName, records, plan);

    if (! check.passed())
        return outcome (job, check.verdict == ArchiveVerdict::unsafe ? InstallProblem::archiveUnsafe : InstallProblem::archiveDamaged,
                        check.entry);

    // Entries are inflated whole in memory: an archive this computer cannot unpack is refused
    // here, before anything is created.
    if (const auto memory = checkMemoryToUnpack (records, archive.getSize()); ! memory.passed())
        return outcome (job, InstallProblem::notEnoughMemory, memory.reason);

    auto destination = openDestination (job, true, files);
    const auto& folder = destination.folder;

    if (! folder.isOpen())
    {
        removeCreatedFolders (destination.created, files);
        return outcome (job, InstallProblem::destinationNotCreatable, job.destinationFolder.getFullPathName());
    }

    const auto& bundleName = job.bundleName;
    const auto stagingName = leftovers::freeNameFor (folder, bundleName, leftovers::Kind::staging);

    auto fail = [&] (InstallProblem problem, const juce::String& detail = {})
    {
        FsStatus status;
        if (folder.kindOf (stagingName, status) != ItemKind::absent)
            leftovers::disposeOf (files, folder, stagingName, bundleName);

        removeCreatedFolders (destination.created, files);
        auto failed = outcome (job, problem, detail);
        noteOldCopiesKept (failed, destination.recovered);
        return failed;
    };

    if (files.createFolder (folder, stagingName) != FsStatus::ok)
        return fail (InstallProblem::writeFailed, job.destinationFolder.getFullPathName());

    // The new copy is unpacked under inert names: until the swap, no host may find it.
    const auto stagedName = leftovers::inertNameFor (bundleName);
    {
        StagingTree tree (files, folder, stagingName);
        const auto problem = tree.unpack (archive, records, plan);

        if (problem.problem != InstallProblem::none)
            return fail (problem.problem, problem.detail);
    }

    FsStatus status;
    FolderHandle staging = files.openFolder (folder, stagingName, status);
    const auto bundleKind = folder.kindOf (bundleName, status);

    // Only "not found" means there is no copy to keep.
    if (! staging.isOpen() || (bundleKind == ItemKind::absent && status != FsStatus::notFound))
        return fail (InstallProblem::bundleInUse, folder.pathOf (bundleName).getFullPathName());

    // The new copy's bytes reach the disk before any rename can make it the bundle, and while
    // the old copy still stands.
    staging.syncToDisk();

    juce::String previous;

    if (bundleKind != ItemKind::absent)
    {
        previous = leftovers::freeNameFor (folder, bundleName, leftovers::Kind::old);

        if (files.renameRetrying (folder, bundleName, folder, previous) != FsStatus::ok)
            return fail (InstallProblem::bundleInUse, folder.pathOf (bundleName).getFullPathName());

        // The old copy leaves every host's sight before the new one may be seen.
        if (! leftovers::makeInert (files, folder, previous))
        {
            const auto back = leftovers::undoInert (files, folder, previous)
                              && files.renameRetrying (folder, previous, folder, bundleName) == FsStatus::ok;
            auto failed = fail (InstallProblem::bundleInUse, folder.pathOf (bundleName).getFullPathName());
            if (! back)
                failed.previousCopyAt = folder.pathOf (previous);
            return failed;
        }
    }

    const auto swapped = leftovers::undoInert (files, staging, stagedName)
                         && files.renameRetrying (staging, stagedName, folder, bundleName) == FsStatus::ok;

    if (! swapped)
    {
        // The previous copy goes back first; the report says where it is if it cannot.
        leftovers::makeInert (files, staging, stagedName);
        const auto back = previous.isEmpty()
                          || (leftovers::undoInert (files, folder, previous)
                              && files.renameRetrying (folder, previous, folder, bundleName) == FsStatus::ok);
        auto failed = fail (InstallProblem::writeFailed, folder.pathOf (bundleName).getFullPathName());

        if (! back)
            failed.previousCopyAt = folder.pathOf (previous);

        return failed;
    }

    staging = {};
    files.removeRetrying (folder, stagingName);

    auto done = outcome (job, InstallProblem::none);

    // With the new copy in place, every old one may go: the pass's own, and any an earlier
    // pass could not put back.
    for (const auto& leftover : leftovers::findIn (folder, bundleName))
    {
        if (leftover.kind == leftovers::Kind::old)
        {
            const auto disposal = leftovers::disposeOf (files, folder, leftover.name, bundleName);

            if (leftover.name == previous || done.stillInUse == juce::File())
                noteDisposal (done, disposal);
        }
    }

    return done;
}

FormatOutcome removeBundle (const BundleJob& job, FileOperations& files)
{
    if (! isUsableDestination (job.destinationFolder))
        return outcome (job, InstallProblem::noDestination);

    auto destination = openDestination (job, false, files);
    const auto& folder = destination.folder;

    if (! folder.isOpen())
    {
        // A destination that is not there holds no bundle; one that cannot be opened might.
        return destination.status == FsStatus::notFound ? outcome (job, InstallProblem::none)
                                                        : outcome (job, InstallProblem::bundleInUse, job.destinationFolder.getFullPathName());
    }

    FsStatus status;
    const auto kind = folder.kindOf (job.bundleName, status);

    if (kind == ItemKind::absent)
    {
        auto result = status == FsStatus::notFound ? outcome (job, InstallProblem::none)
                                                   : outcome (job, InstallProblem::bundleInUse, folder.pathOf (job.bundleName).getFullPathName());
        noteOldCopiesKept (result, destination.recovered);
        return result;
    }

    // Moved aside in one step: a bundle that cannot be moved is left exactly as it was, and
    // one that could is gone from every host's sight, whatever of it is still in use.
    const auto removing = leftovers::freeNameFor (folder, job.bundleName, leftovers::Kind::removing);

    if (files.renameRetrying (folder, job.bundleName, folder, removing) != FsStatus::ok)
        return outcome (job, InstallProblem::bundleInUse, folder.pathOf (job.bundleName).getFullPathName());

    auto done = outcome (job, InstallProblem::none);
    noteDisposal (done, leftovers::disposeOf (files, folder, removing, job.bundleName));
    return done;
}
