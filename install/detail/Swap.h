#pragma once

#include "fs/FileOperations.h"
#include "install/InstallReport.h"

namespace kv::install
{
    struct SwapResult
    {
        InstallProblem problem = InstallProblem::none;
        juce::String detail;
        fs::SystemError cause; // what the system answered to the step that failed
        juce::String previous; // the name the old copy was moved aside to; empty when there was none
        juce::File previousCopyAt; // where the old copy is, when it could not be put back
        bool stagedCopyHidden = true; // after a failed swap, nothing loadable is left of the new copy
    };

    // Puts the staged copy in the bundle's place, the old copy moved aside under an inert name.
    // On failure the old copy is put back where it can be; when another item took the bundle's
    // name as the new copy was put there, the old copy stays aside. The staging folder's handle is
    // closed again when this returns.
    SwapResult swapIn (fs::FileOperations& files, const fs::FolderHandle& folder, const juce::String& bundleName,
                       const juce::String& stagingName);
}
