#pragma once

#include "fs/FileOperations.h"

// How a leftover is got rid of. An old copy is only ever renamed, never deleted under its own
// name: what goes is first renamed ".kv-removing".

namespace kv::install::leftovers
{
    // What became of an item that had to go.
    struct Disposal
    {
        bool removed = true;
        juce::File leftAt; // what remains, when something is still in use
        bool hiddenFromHosts = true; // nothing loadable is left in what remains
        bool removalScheduled = false; // Windows removes the rest when it next starts
        bool refused = false; // its removal was refused permission, not held: it will not pass
    };

    // Renames the leftover ".kv-removing" unless it is one already, then removes it. What
    // cannot be removed now (a module a host keeps loaded) is made inert and, where no
    // standard user could swap anything in it, scheduled for removal when Windows starts.
    Disposal disposeOf (fs::FileOperations& files, const fs::FolderHandle& folder, const juce::String& name, const juce::String& bundleName);
}
