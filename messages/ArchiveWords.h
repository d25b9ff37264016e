#pragma once

#include "archive/ArchiveCheck.h"

namespace kv::messages
{
    // What is wrong with an archive, as the end of "... archive: <reason>": "it holds no
    // entries". Empty when nothing was found.
    juce::String archiveReason (const archive::ArchiveFinding& finding);

    // What a maker does about it: "use stored or deflated entries (7-Zip: -mm=Deflate)". Empty
    // when nothing was found. bundleName is the one top item every entry must lie in.
    juce::String fixForMaker (const archive::ArchiveFinding& finding, const juce::String& bundleName);

    // One line for a maker: the archive, the entry, the reason and the fix.
    juce::String describeForMaker (const juce::String& archiveName, const juce::String& bundleName, const archive::ArchiveCheck& check);
}
