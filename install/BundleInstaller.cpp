#include "install/BundleInstaller.h"

#include "install/ArchiveCheck.h"
#include "install/Leftovers.h"
#include "platform/FileItems.h"
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
            done.removalScheduled = disposal.removalScheduled;
        }
    }

    // Writes one entry, checking what was written against the archive's records.
    InstallProblem unpackEntry (const juce::MemoryBlock& archive, const juce::ZipFile& zip, int index, const ZipRecord& record,
                                const juce::File& target, FileOperations& files)
    {
        if (! files.createDirectory (target.getParentDirectory()))
            return InstallProblem::writeFailed;

        auto out = files.createOutput (target);

        if (out == nullptr)
            return InstallProblem::writeFailed;

        switch (copyEntryVerified (archive.getData(), archive.getSize(), record, out.get()))
        {
            case EntryCopy::ok: break;
            case EntryCopy::damaged: return InstallProblem::archiveDamaged;
            case EntryCopy::writeFailed: return InstallProblem::writeFailed;
        }

        // The file carries its entry's time, as JUCE's own unpacking gives it, not the install's.
        out.reset();
        const auto time = zip.getEntry (index)->fileTime;
        target.setCreationTime (time);
        target.setLastModificationTime (time);
        target.setLastAccessTime (time);
        return InstallProblem::none;
    }
}

FormatOutcome installBundle (const BundleJob& job, FileOperations& files)
{
    const auto& destination = job.destinationFolder;

    if (! isUsableDestination (destination))
        return outcome (job, InstallProblem::noDestination);

    // One private copy of the archive, alive only while this format is unpacked.
    juce::MemoryBlock archive (job.archiveData, job.archiveSize);

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

    juce::ZipFile zip (new juce::MemoryInputStream (archive.getData(), archive.getSize(), false), true);

    if (zip.getNumEntries() != (int) records.size())
        return outcome (job, InstallProblem::archiveDamaged);

    // The folders this pass creates go again if it fails: a refused archive leaves no trace.
    auto firstCreated = juce::File();
    for (auto folder = destination; ! itemExists (folder) && folder != folder.getParentDirectory(); folder = folder.getParentDirectory())
        firstCreated = folder;

    auto removeCreatedFolders = [&]
    {
        if (firstCreated == juce::File())
            return;

        for (auto folder = destination; folder.isAChildOf (firstCreated.getParentDirectory()); folder = folder.getParentDirectory())
            if (kv::platform::childrenOf (folder).isEmpty())
                files.removeItem (folder);
    };

    if (! destination.isDirectory() && ! files.createDirectory (destination))
    {
        removeCreatedFolders();
        return outcome (job, InstallProblem::destinationNotCreatable, destination.getFullPathName());
    }

    const auto bundle = destination.getChildFile (job.bundleName);
    const auto staging = leftovers::freeNameFor (bundle, leftovers::Kind::staging);

    if (! files.createDirectory (staging))
    {
        removeCreatedFolders();
        return outcome (job, InstallProblem::writeFailed, destination.getFullPathName());
    }

    auto abandon = [&] (InstallProblem problem, const juce::String& detail = {})
    {
        leftovers::disposeOf (staging, bundle, files);
        removeCreatedFolders();
        return outcome (job, problem, detail);
    };

    for (const auto& entry : plan.entries)
    {
        const auto& record = records[(size_t) entry.index];

        if (zip.getEntry (entry.index)->filename != record.name)
            return abandon (InstallProblem::archiveDamaged, record.name);

        const auto target = staging.getChildFile (entry.relativePath);

        if (entry.isDirectory)
        {
            if (! files.createDirectory (target))
                return abandon (InstallProblem::writeFailed);

            continue;
        }

        const auto problem = unpackEntry (archive, zip, entry.index, record, target, files);
        if (problem != InstallProblem::none)
            return abandon (problem, problem == InstallProblem::archiveDamaged ? record.name : juce::String());
    }

    const auto staged = staging.getChildFile (job.bundleName);
    juce::File previous;

    if (itemExists (bundle))
    {
        previous = leftovers::freeNameFor (bundle, leftovers::Kind::old);

        if (! files.move (bundle, previous))
            return abandon (InstallProblem::bundleInUse, bundle.getFullPathName());
    }

    if (! files.move (staged, bundle))
    {
        // The previous copy goes back first; the report says where it is if it cannot.
        const auto notBack = previous != juce::File() && ! files.move (previous, bundle);
        auto failed = abandon (InstallProblem::writeFailed, bundle.getFullPathName());

        if (notBack)
            failed.previousCopyAt = previous;

        return failed;
    }

    files.removeRecursively (staging);

    auto done = outcome (job, InstallProblem::none);

    if (previous != juce::File())
        noteDisposal (done, leftovers::disposeOf (previous, bundle, files));

    return done;
}

FormatOutcome removeBundle (const BundleJob& job, FileOperations& files)
{
    const auto& destination = job.destinationFolder;

    if (! isUsableDestination (destination))
        return outcome (job, InstallProblem::noDestination);

    const auto bundle = destination.getChildFile (job.bundleName);

    if (! itemExists (bundle))
        return outcome (job, InstallProblem::none);

    // Moved aside in one step: a bundle that cannot be moved is left exactly as it was, and
    // one that could is gone from every host's sight, whatever of it is still in use.
    const auto removing = leftovers::freeNameFor (bundle, leftovers::Kind::removing);

    if (! files.move (bundle, removing))
        return outcome (job, InstallProblem::bundleInUse, bundle.getFullPathName());

    auto done = outcome (job, InstallProblem::none);
    noteDisposal (done, leftovers::disposeOf (removing, bundle, files));
    return done;
}
