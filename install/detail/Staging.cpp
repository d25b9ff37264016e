#include "install/detail/Staging.h"

#include "archive/Archive.h"
#include "install/detail/Leftovers.h"
#include "install/detail/Refusal.h"
#include "install/detail/StagingTree.h"

namespace kv::install
{
    std::optional<FormatOutcome> prepareArchive (const BundleJob& job, PreparedArchive& prepared)
    {
        // One private copy of the archive, alive only while this format is unpacked; in large
        // pages where the system has them, as the copy would otherwise fault page by page.
        prepared.bytes.setSize (job.archiveSize, false);
        archive::preferLargePages (prepared.bytes.getData(), prepared.bytes.getSize());
        prepared.bytes.copyFrom (job.archiveData, 0, job.archiveSize);

        // With the copy made, the executable's own pages of it need not stay resident.
        if (job.archiveMappedFromExecutable)
            archive::releaseExecutablePages (job.archiveData, job.archiveSize);

        const auto check = archive::checkArchiveLayout (prepared.bytes.getData(), prepared.bytes.getSize(), job.bundleName,
                                                        prepared.records, prepared.plan);

        if (! check.passed())
        {
            FormatOutcome refused { job.formatIndex,
                                    check.verdict == archive::ArchiveVerdict::unsafe ? InstallProblem::archiveUnsafe
                                                                                     : InstallProblem::archiveDamaged,
                                    check.entry };
            refused.archiveFinding = check.finding;
            return refused;
        }

        // Entries are inflated whole in memory: an archive this computer cannot unpack is refused
        // here, before anything is created.
        if (const auto memory = archive::checkMemoryToUnpack (prepared.records, prepared.bytes.getSize()); ! memory.passed())
        {
            FormatOutcome refused { job.formatIndex, InstallProblem::notEnoughMemory };
            refused.archiveFinding = memory.finding;
            return refused;
        }

        return std::nullopt;
    }

    Staged stageNewCopy (fs::FileOperations& files, const fs::FolderHandle& folder, const juce::String& bundleName,
                         const PreparedArchive& prepared)
    {
        Staged staged;
        staged.stagingName = leftovers::freeNameFor (folder, bundleName, leftovers::Kind::staging);

        if (const auto created = files.createFolder (folder, staged.stagingName); created != fs::FsStatus::ok)
        {
            staged.problem = problemFor (created, InstallProblem::writeFailed);
            staged.detail = folder.path().getFullPathName();
            staged.cause = created.error;
            return staged;
        }

        // The tree's folder handles go with it, before anyone renames or removes the staging folder.
        StagingTree tree (files, folder, staged.stagingName);
        const auto unpacked = tree.unpack (prepared.bytes, prepared.records, prepared.plan);
        staged.problem = unpacked.problem;
        staged.detail = unpacked.detail;
        staged.cause = unpacked.cause;
        return staged;
    }
}
