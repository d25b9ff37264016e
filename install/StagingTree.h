#pragma once

#include "install/ArchivePlan.h"
#include "install/FileOperations.h"
#include "install/InstallReport.h"

#include <map>

// Unpacks a checked archive into the staging folder through handles, every folder reached
// from the one above it, and every loadable name made inert so that no host finds the copy
// before it is swapped in.
class StagingTree final
{
public:
    StagingTree (FileOperations& files, const FolderHandle& destination, const juce::String& stagingName);

    struct Result
    {
        InstallProblem problem = InstallProblem::none;
        juce::String detail;
    };

    Result unpack (const juce::MemoryBlock& archive, const std::vector<ZipRecord>& records, const ArchivePlan& plan);

private:
    // The folder at a "/"-separated path below the staging folder, created when missing.
    const FolderHandle* folderAt (const juce::String& relativePath);

    Result writeFile (const juce::MemoryBlock& archive, const ZipRecord& record, const FolderHandle& folder, const juce::String& name);

    FileOperations& files;
    std::map<juce::String, FolderHandle> folders;

    JUCE_DECLARE_NON_COPYABLE (StagingTree)
};
