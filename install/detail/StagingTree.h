#pragma once

#include "archive/ArchivePlan.h"
#include "fs/FileOperations.h"
#include "install/InstallReport.h"

#include <map>

// Unpacks a checked archive into the staging folder through handles, every folder reached
// from the one above it, and every loadable name made inert so that no host finds the copy
// before it is swapped in.
namespace kv::install
{
    class StagingTree final
    {
    public:
        StagingTree (fs::FileOperations& files, const fs::FolderHandle& destination, const juce::String& stagingName);

        struct Result
        {
            InstallProblem problem = InstallProblem::none;
            juce::String detail;
            fs::SystemError cause;
        };

        Result unpack (const juce::MemoryBlock& archiveBytes, const std::vector<archive::ZipRecord>& records, const archive::ArchivePlan& plan);

    private:
        // The folder at a "/"-separated path below the staging folder, created when missing.
        const fs::FolderHandle* folderAt (const juce::String& relativePath);

        Result writeFile (const juce::MemoryBlock& archiveBytes, const archive::ZipRecord& record, const fs::FolderHandle& folder, const juce::String& name);

        fs::FileOperations& files;
        std::map<juce::String, fs::FolderHandle> folders;
        fs::FsStatus folderFailure; // why the last folder could not be made or opened

        JUCE_DECLARE_NON_COPYABLE (StagingTree)
    };
}
