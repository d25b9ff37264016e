#pragma once

#include "install/FileOperations.h"

// What the install pass puts beside a bundle while it works, and how such items are got
// rid of. Each is named after the bundle with one of our own suffixes, and only items so
// named are ever touched: "Strandline2.vst3.kv-staging", ".kv-old", ".kv-removing",
// possibly followed by a number.

namespace leftovers
{
    enum class Kind
    {
        staging, // a new copy being unpacked
        old, // the previous copy, moved aside until the new one is in place
        removing // garbage on its way out
    };

    juce::String suffixFor (Kind kind);

    // Appended to names inside a leftover that a host would load as a plug-in.
    inline const juce::String inertSuffix { ".kv-inert" };

    // A free name for a new leftover of this kind beside the bundle.
    juce::File freeNameFor (const juce::File& bundle, Kind kind);

    // True, with its kind, when the item is a leftover of this bundle.
    bool isLeftoverOf (const juce::File& item, const juce::File& bundle, Kind& kind);

    // Every leftover of this bundle in its folder.
    juce::Array<juce::File> findFor (const juce::File& bundle);

    // True for a name that ends in a plug-in format's extension, in any case.
    bool isLoadableName (const juce::String& name);

    // What became of an item that had to go.
    struct Disposal
    {
        bool removed = true;
        juce::File leftAt; // what remains, when something is still in use
        bool removalScheduled = false; // Windows removes the rest when it next starts
    };

    // Removes the item. What cannot be removed now (a module a host keeps loaded) is renamed
    // so that it ends as garbage and no host can find it as a plug-in, then scheduled for
    // removal at the next start of Windows.
    Disposal disposeOf (const juce::File& item, const juce::File& bundle, FileOperations& files);

    // Renames, deepest first, every item inside whose name a host would load.
    void makeInert (const juce::File& item, FileOperations& files);

    // True for an old copy that was only ever moved aside, so it can be put back whole.
    bool isIntactOldCopy (const juce::File& item);
}
