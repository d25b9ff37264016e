#pragma once

#include "fs/FolderHandle.h"

#include <vector>

// What the install pass puts beside a bundle while it works. Each is named after the bundle
// with one of our own suffixes, and only items so named are ever touched:
// "Strandline2.vst3.kv-staging", ".kv-old", ".kv-removing", possibly followed by a number.
// What is inside a leftover is kept out of the hosts' sight (InertNames.h), and what has to
// go goes through disposeOf (Disposal.h).

namespace kv::install::leftovers
{
    enum class Kind
    {
        staging, // a new copy being unpacked
        old, // the previous copy, moved aside until the new one is in place
        removing // garbage on its way out
    };

    juce::String suffixFor (Kind kind);

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
}
