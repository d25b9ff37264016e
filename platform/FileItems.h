#pragma once

#include <juce_core/juce_core.h>

// Single file-system items as Windows treats them: a file, a folder, or a link, which is
// never followed. The install pass builds everything it does to a bundle from these.
namespace kv::platform
{
    // Clears the read-only, hidden and system attributes (Windows), or gives the owner
    // write access (elsewhere), so that the item can be renamed and removed. A link is
    // left alone: its attributes would be its target's.
    bool clearProtectiveAttributes (const juce::File& item);

    // Removes one file, link or empty folder, with its protective attributes cleared first.
    bool removeItem (const juce::File& item);

    // Renames an item within its volume, a dangling link included. Never replaces anything.
    bool renameItem (const juce::File& from, const juce::File& to);

    // Asks Windows to delete the item when it next starts: files first, then folders,
    // deepest first. False off Windows, and when Windows refuses any of it.
    bool scheduleRemovalAtRestart (const juce::File& item);

    // True for anything at the path, a dangling link included.
    bool itemExists (const juce::File& item);

    // True for a folder that is not a link.
    bool isRealFolder (const juce::File& item);

    // The items directly inside a real folder, hidden ones included, links not followed.
    juce::Array<juce::File> childrenOf (const juce::File& folder);
}
