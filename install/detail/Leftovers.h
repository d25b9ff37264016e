#pragma once

#include "fs/FileOperations.h"

#include <vector>

// What the install pass puts beside a bundle while it works, and how such items are got
// rid of. Each is named after the bundle with one of our own suffixes, and only items so
// named are ever touched: "Strandline2.vst3.kv-staging", ".kv-old", ".kv-removing",
// possibly followed by a number.
//
// Plug-in hosts scan their folders recursively and load the first copy they find, so only
// the bundle may carry loadable names: inside every leftover each "*.vst3", "*.clap" and
// "*.aaxplugin" item carries the inert suffix, and an old copy gets its names back only as
// it is put back. An old copy is only ever renamed, never deleted under its own name: what
// goes is first renamed ".kv-removing".

namespace kv::install::leftovers
{
    enum class Kind
    {
        staging, // a new copy being unpacked
        old, // the previous copy, moved aside until the new one is in place
        removing // garbage on its way out
    };

    juce::String suffixFor (Kind kind);

    inline const juce::String inertSuffix { ".kv-inert" };

    struct Leftover
    {
        juce::String name;
        Kind kind = Kind::removing;
        int number = 1; // the plain suffix is 1; later ones count up
    };

    // True, with its kind and number, when the name is a leftover of this bundle.
    bool parse (const juce::String& name, const juce::String& bundleName, Leftover& leftover);

    // Every leftover of this bundle in the folder, each kind in the order they were made.
    std::vector<Leftover> findIn (const fs::FolderHandle& folder, const juce::String& bundleName);

    // A name for a new leftover of this kind, numbered after every one already there, so the
    // highest number is always the latest.
    juce::String freeNameFor (const fs::FolderHandle& folder, const juce::String& bundleName, Kind kind);

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

    // What became of an item that had to go.
    struct Disposal
    {
        bool removed = true;
        juce::File leftAt; // what remains, when something is still in use
        bool hiddenFromHosts = true; // nothing loadable is left in what remains
        bool removalScheduled = false; // Windows removes the rest when it next starts
        juce::String heldAt; // what could not be removed first, below the folder: the item really held
        bool refused = false; // its removal was refused permission, not held: it will not pass
    };

    // Renames the leftover ".kv-removing" unless it is one already, then removes it. What
    // cannot be removed now (a module a host keeps loaded) is made inert and, where no
    // standard user could swap anything in it, scheduled for removal when Windows starts.
    Disposal disposeOf (fs::FileOperations& files, const fs::FolderHandle& folder, const juce::String& name, const juce::String& bundleName);
}
