#pragma once

#include "fs/FileOperations.h"
#include "install/Install.h"

#include <vector>

namespace kv::install
{
    // A folder a pass made on the way to its destination: the handle of the folder it was made
    // in, kept open, its name there and which folder it is. A failed pass removes it from that
    // handle, never by a path another could have repointed since.
    struct CreatedFolder
    {
        fs::FolderHandle parent;
        juce::String name;
        fs::ItemIdentity identity;
    };

    // The destination opened once for the whole of one format's work, with what an earlier
    // pass left half done put right through the same handle.
    struct OpenedDestination
    {
        fs::FolderHandle folder;
        fs::FsStatus status = fs::FsStatus::ok;
        std::vector<CreatedFolder> created; // outermost first; each one's own handle is the next one's parent
        RecoveryResult recovered;
    };

    // Creates the missing folders for an install; an uninstall creates none, and has every old
    // copy go beside the bundle it is about to remove.
    OpenedDestination openDestination (const juce::File& destination, const juce::String& bundleName, bool forInstall, fs::FileOperations& files);

    // Folders made for a pass that then failed go again, innermost first, while still empty and
    // still the folders it made. Closes the destination's handle first: Windows keeps a folder
    // while a handle to it is open.
    void removeCreatedFolders (OpenedDestination& destination, fs::FileOperations& files);
}
