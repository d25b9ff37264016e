#pragma once

#include "fs/FileOperations.h"

// Which copy a pass put in the bundle's place. Before the swap's last rename, the pass writes
// an empty file beside the bundle whose name carries the staged copy's identity,
// "<bundle>.kv-placed.<volume>.<file>.<file high>" in hex. A later start then knows whether the
// item under the bundle's name is that copy, or something else took its place, before it
// deletes any old copy kept aside: the old copy may be the user's only one.
namespace kv::install::placed
{
    juce::String recordName (const juce::String& bundleName, const fs::ItemIdentity& identity);
    bool parse (const juce::String& name, const juce::String& bundleName, fs::ItemIdentity& identity);

    fs::FsStatus write (fs::FileOperations& files, const fs::FolderHandle& folder, const juce::String& bundleName, const fs::ItemIdentity& identity);

    // True when the item under the bundle's name is a copy a pass recorded as placed.
    bool standsAsPlaced (const fs::FolderHandle& folder, const juce::String& bundleName);

    // Every record of this bundle goes: once the old copies are dealt with, none is needed.
    void removeAll (fs::FileOperations& files, const fs::FolderHandle& folder, const juce::String& bundleName);
}
