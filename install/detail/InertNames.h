#pragma once

#include "fs/FileOperations.h"

// Plug-in hosts scan their folders recursively and load the first copy they find, so only
// the bundle may carry loadable names: inside every leftover each "*.vst3", "*.clap" and
// "*.aaxplugin" item carries the inert suffix, and an old copy gets its names back only as
// it is put back.

namespace kv::install::leftovers
{
    inline const juce::String inertSuffix { ".kv-inert" };

    // True for a name that ends in a plug-in format's extension, in any case.
    bool isLoadableName (const juce::String& name);

    // The name an item carries while it must stay out of every host's sight.
    juce::String inertNameFor (const juce::String& name);

    // Renames every item inside whose name a host would load, deepest first; the item itself
    // too when its own name is loadable. True when nothing loadable is left.
    bool makeInert (fs::FileOperations& files, const fs::FolderHandle& parent, const juce::String& name);

    // Gives every item inside its loadable name back (not the item itself). True when all are back.
    bool undoInert (fs::FileOperations& files, const fs::FolderHandle& parent, const juce::String& name);

    // True when anything inside carries the inert suffix.
    bool holdsInertNames (fs::FileOperations& files, const fs::FolderHandle& parent, const juce::String& name);
}
