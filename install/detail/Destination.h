#pragma once

#include "fs/FileOperations.h"
#include "install/Install.h"

namespace kv::install
{
    // The destination opened once for the whole of one format's work, with what an earlier
    // pass left half done put right through the same handle.
    struct OpenedDestination
    {
        fs::FolderHandle folder;
        fs::FsStatus status = fs::FsStatus::ok;
        juce::Array<juce::File> created; // folders this pass made on the way, outermost first
        RecoveryResult recovered;
    };

    OpenedDestination openDestination (const juce::File& destination, const juce::String& bundleName, bool create, fs::FileOperations& files);

    // Folders made for a pass that then failed go again, innermost first, while still empty.
    void removeCreatedFolders (const juce::Array<juce::File>& created, fs::FileOperations& files);
}
