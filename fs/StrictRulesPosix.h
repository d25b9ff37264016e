#pragma once

#include "fs/StrictRules.h"

// The handle layer's side of the rules: every handle it opens or closes is counted here,
// and every rename or removal asks first.
namespace kv::fs::strict::detail
{
    // A handle opened by path (the destination, a Hold): its folders above come from the path.
    void openedByPath (int fd, const juce::File& path, bool refusesRename = false, bool refusesRemoval = false, bool pendsRemoval = false);

    // A handle opened by name from a folder's handle.
    void openedBelow (int fd, int parentFd, const juce::String& name);

    void closed (int fd);

    // True, with the refusal counted and described, when Windows would refuse to rename or
    // remove the item.
    bool refuses (int parentFd, const juce::String& name, bool removal);

    // True when Windows would accept the removal but keep the name, delete pending, until the
    // program that holds it lets go: the caller then leaves the item where it is.
    bool removalPends (int parentFd, const juce::String& name);

    // True when the name is delete pending: Windows refuses to open it or make it again.
    bool isDeletePending (int parentFd, const juce::String& name);

    // True when another item in the folder has the name but for case: Windows takes it for the
    // same name.
    bool collidesIgnoringCase (int folderFd, const juce::String& name);
}
