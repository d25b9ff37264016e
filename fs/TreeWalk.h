#pragma once

#include "fs/FolderHandle.h"

#include <functional>

namespace kv::fs
{
    class FileOperations;

    // One item a walk meets, reached from its parent's handle by name.
    struct WalkItem
    {
        const FolderHandle& parent;
        const juce::String& name;
        ItemKind kind = ItemKind::absent;
        juce::String relativePath; // "/"-separated, from the walk's top item, whose own name it starts with
        bool isTop = false;
        bool insideComplete = true; // a folder: every item inside was listed and its step succeeded
    };

    // How a walk went. Like Go's os.RemoveAll it keeps the first failure and where it was, so
    // that a report can name the item that is really held, not the folder above it.
    struct WalkResult
    {
        bool topMissing = false; // the top item was not there
        bool topDone = false; // the top item's own step succeeded
        FsStatus status = FsStatus::ok; // of the first step or listing that failed
        juce::String failedAt; // that item's relative path

        bool succeeded() const noexcept { return status == FsStatus::ok; }
        void fail (FsStatus failure, const juce::String& path);
        void add (const WalkResult& inner);
    };

    // What a walk does. Every callback is optional.
    struct TreeSteps
    {
        // Before a folder is opened: a read-only folder's mark is cleared here, say.
        std::function<void (const WalkItem&)> beforeOpening;
        // With the folder opened: false leaves it unentered, as a failure.
        std::function<bool (const FolderHandle&)> mayEnter;
        // For every item, after everything inside it, with the item's own handle closed again:
        // Windows refuses to rename or delete a folder while a handle below it is open.
        std::function<FsStatus (const WalkItem&)> visit;
    };

    // Walks the item and everything inside it, deepest first, never through a link: a link
    // is an item like a file. Goes on past failures.
    WalkResult walkTree (FileOperations& files, const FolderHandle& parent, const juce::String& name, const TreeSteps& steps);
}
