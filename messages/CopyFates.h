#pragma once

#include "install/Install.h"

// What became of the copies a pass replaced or removed: each sentence is written here once and
// read by the success view, the failure view, the start-up notice and the log alike.
namespace kv::messages
{
    // Where the copies are that could not be put back, in one sentence; empty when none.
    juce::String keptCopiesSentence (const juce::Array<juce::File>& copies);

    // For the formats that were installed or removed: which old copies are still in use and
    // when they go, which may still be loaded and from where, which could not be deleted at
    // all, and which earlier copies are kept aside. Formats that share a fate share a sentence,
    // e.g. "The old copies of VST3 and AAX are still in use by a program; ...".
    juce::StringArray copyFateSentences (const install::InstallReport& report);
}
