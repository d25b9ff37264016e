#pragma once

#include "identity/Formats.h"

// Where a format's bundle is: the one rule that status, pre-selection, hover help, the
// install pass and the start-up recovery all follow.

// A destination the installer may work in: set, and an absolute path. An empty one is never
// resolved against the working folder.
bool isUsableDestination (const juce::File& folder);

// The product's name followed by the format's extension: "Strandline2.vst3".
juce::String bundleNameFor (const juce::String& productName, int formatIndex);

// The bundle in a destination; no file at all for a destination that is not usable.
juce::File bundleFileFor (const juce::File& destinationFolder, const juce::String& productName, int formatIndex);
