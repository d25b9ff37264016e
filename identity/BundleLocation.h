#pragma once

#include "identity/Formats.h"

// Where a format's bundle is: the one rule that status, pre-selection, hover help, the
// install pass and the start-up recovery all follow.

// A destination the installer may work in: set, and an absolute path. An empty one is never
// resolved against the working folder.
inline bool isUsableDestination (const juce::File& folder)
{
    return folder != juce::File() && juce::File::isAbsolutePath (folder.getFullPathName());
}

// The product's name followed by the format's extension: "Strandline2.vst3".
inline juce::String bundleNameFor (const juce::String& productName, int formatIndex)
{
    return productName + formatExtensions[formatIndex];
}

// The bundle in a destination; no file at all for a destination that is not usable.
inline juce::File bundleFileFor (const juce::File& destinationFolder, const juce::String& productName, int formatIndex)
{
    return isUsableDestination (destinationFolder) ? destinationFolder.getChildFile (bundleNameFor (productName, formatIndex)) : juce::File();
}
