#pragma once

#include "archive/ArchivePlan.h"
#include "fs/FileOperations.h"
#include "install/InstallReport.h"
#include "install/detail/BundleJob.h"

#include <optional>

namespace kv::install
{
    // The pass's private copy of one archive, checked, with the plan of where each entry goes.
    struct PreparedArchive
    {
        juce::MemoryBlock bytes;
        std::vector<archive::ZipRecord> records;
        archive::ArchivePlan plan;
    };

    // Copies the job's archive and checks it before anything is created, so that a bad one
    // leaves no trace: the failure's outcome, or nothing when it may be unpacked.
    std::optional<FormatOutcome> prepareArchive (const BundleJob& job, PreparedArchive& prepared);

    struct Staged
    {
        InstallProblem problem = InstallProblem::none;
        juce::String detail;
        fs::SystemError cause;
        juce::String stagingName; // set as soon as the staging folder may exist
    };

    // Unpacks the archive into a new staging folder beside the bundle, every loadable name
    // inert. Every handle into the staging folder is closed again when this returns.
    Staged stageNewCopy (fs::FileOperations& files, const fs::FolderHandle& folder, const juce::String& bundleName,
                         const PreparedArchive& prepared);
}
