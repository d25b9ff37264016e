#pragma once

#include <juce_core/juce_core.h>

// One format's share of a pass: which format, where its bundle goes, and the archive it
// travels in.
namespace kv::install
{
    struct BundleJob
    {
        int formatIndex = 0;
        juce::File destinationFolder;
        juce::String bundleName; // e.g. "Strandline2.vst3"
        const void* archiveData = nullptr;
        size_t archiveSize = 0;
        bool archiveMappedFromExecutable = false;
    };
}
