#pragma once

#include <juce_core/juce_core.h>

// Indexed by format: 0 VST3, 1 CLAP, 2 AAX. Apart from the rest of the identity so that
// build tools, which embed no resources, read the same names.
static constexpr int numFormats = 3;
inline const juce::StringArray formatNames { "VST3", "CLAP", "AAX" };
inline const juce::StringArray formatExtensions { ".vst3", ".clap", ".aaxplugin" };

// The archive each format's bundle travels in, as the build expects it.
inline const juce::StringArray formatArchiveNames { "vst3.zip", "clap.zip", "aax.zip" };
