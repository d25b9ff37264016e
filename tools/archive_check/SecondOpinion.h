#pragma once

#include <juce_core/juce_core.h>

namespace kv::archive
{
    // What libzip, a ZIP reader of other hands, makes of an archive the installer's checks
    // passed, asked to check that its records agree (ZIP_CHECKCONS): empty when it reads the
    // archive, its message when it refuses it.
    juce::String libzipRefusal (const juce::File& archive);
}
