#pragma once

#include "fs/StrictRules.h"

// The handle layer's side of the rules: every handle it opens or closes is counted here,
// and every rename or removal asks first.
namespace kv::fs::strict::detail
{
    // A handle opened by path (the destination, a Hold): its folders above come from the path.
    void openedByPath (int fd, const juce::File& path, bool refusesRename = false, bool refusesRemoval = false);

    // A handle opened by name from a folder's handle.
    void openedBelow (int fd, int parentFd, const juce::String& name);

    void closed (int fd);

    // True, with the refusal counted and described, when Windows would refuse to rename or
    // remove the item.
    bool refuses (int parentFd, const juce::String& name, bool removal);
}
