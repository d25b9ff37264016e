#pragma once

#include "fs/TreeWalk.h"

namespace kv::fs
{
    // The file-system steps of the install pass and of the start-up recovery. Every step acts on
    // an item reached from its parent folder's handle, and each is virtual, so tests can make any
    // single step fail, stop the process there, or swap a link in just before it acts.
    class FileOperations
    {
    public:
        virtual ~FileOperations() = default;

        virtual FsStatus createFolder (const FolderHandle& parent, const juce::String& name);
        virtual FolderHandle openFolder (const FolderHandle& parent, const juce::String& name, FsStatus& status);
        virtual std::unique_ptr<HandleOutputStream> createFile (const FolderHandle& parent, const juce::String& name, FsStatus& status);

        // Never replaces an existing item, never follows a link.
        virtual FsStatus rename (const FolderHandle& from, const juce::String& name, const FolderHandle& to, const juce::String& toName);

        // One file, link or empty folder.
        virtual FsStatus remove (const FolderHandle& parent, const juce::String& name);

        // The item only while it is still the one of that identity (FolderHandle::removeIfSame).
        virtual FsStatus removeIfSame (const FolderHandle& parent, const juce::String& name, const ItemIdentity& expected);

        virtual FsStatus clearProtectiveAttributes (const FolderHandle& parent, const juce::String& name);
        virtual FsStatus restoreProtectiveAttributes (const FolderHandle& parent, const juce::String& name, juce::uint32 marks);

        // Hands the item to Windows, to delete when it next starts.
        virtual bool scheduleRemovalAtRestart (const FolderHandle& parent, const juce::String& name);

        // Virus scanners and indexers hold new files for moments: a rename or removal refused as
        // busy is tried again before its failure counts, within one budget of holdRetryMs of
        // waiting for the whole pass. Denied is never waited for. A folder whose children were
        // all removed may still read as not empty for a moment (their names go as their last
        // handles close): that too is waited out.
        FsStatus renameRetrying (const FolderHandle& from, const juce::String& name, const FolderHandle& to, const juce::String& toName);
        FsStatus removeRetrying (const FolderHandle& parent, const juce::String& name, bool childrenRemoved = false);

        // A new pass starts with the whole budget.
        void resetRetryBudget() noexcept { waitedMs = 0; }

        // Removes a file, a folder with its contents, or a link without following it, item by
        // item through handles. Goes on past what it cannot remove; gone() when nothing is left,
        // and otherwise the first item that could not be removed.
        struct Removal : WalkResult
        {
            bool gone() const noexcept { return topMissing || topDone; }
        };

        Removal removeRecursively (const FolderHandle& parent, const juce::String& name);

        int holdRetryMs = 2000;

        static FileOperations& real();

    private:
        template <typename Step>
        FsStatus retrying (Step&& step, bool notEmptyPasses = false);

        int waitedMs = 0;
    };
}
