#pragma once

#include <juce_core/juce_core.h>

// The file-system steps of the install pass and of the start-up recovery, each reporting
// whether it worked. Every item created, renamed or removed goes through a virtual step, so
// tests can make any single step fail, or stop the process there, where no real path
// fails for every user.
class FileOperations
{
public:
    virtual ~FileOperations() = default;

    virtual bool createDirectory (const juce::File& folder);

    // Renames within a folder; never replaces an existing item, follows no link.
    virtual bool move (const juce::File& from, const juce::File& to);

    // One file, link or empty folder, its read-only, hidden and system attributes cleared.
    virtual bool removeItem (const juce::File& item);

    virtual std::unique_ptr<juce::OutputStream> createOutput (const juce::File& file);

    // Hands what is left of an item to Windows, to delete when it next starts.
    virtual bool scheduleRemovalAtRestart (const juce::File& item);

    // Removes a file, a folder with its contents, or a link without following it, item by
    // item. Goes on past what it cannot remove; true when nothing is left.
    bool removeRecursively (const juce::File& item);

    static FileOperations& real();
};

// True for anything at the path, a dangling link included.
bool itemExists (const juce::File& item);

// A destination the installer may work in: set, and an absolute path. An empty one is never
// resolved against the working folder.
bool isUsableDestination (const juce::File& folder);
