#include "fs/FileOperations.h"

#include <map>

namespace kv::fs
{
    FsStatus FileOperations::createFolder (const FolderHandle& parent, const juce::String& name)
    {
        return parent.createFolder (name);
    }

    FolderHandle FileOperations::openFolder (const FolderHandle& parent, const juce::String& name, FsStatus& status)
    {
        return parent.openFolder (name, status);
    }

    std::unique_ptr<HandleOutputStream> FileOperations::createFile (const FolderHandle& parent, const juce::String& name, FsStatus& status)
    {
        return parent.createFile (name, status);
    }

    FsStatus FileOperations::rename (const FolderHandle& from, const juce::String& name, const FolderHandle& to, const juce::String& toName)
    {
        return from.rename (name, to, toName);
    }

    FsStatus FileOperations::remove (const FolderHandle& parent, const juce::String& name)
    {
        return parent.remove (name);
    }

    FsStatus FileOperations::removeIfSame (const FolderHandle& parent, const juce::String& name, const ItemIdentity& expected)
    {
        return parent.removeIfSame (name, expected);
    }

    FsStatus FileOperations::clearProtectiveAttributes (const FolderHandle& parent, const juce::String& name)
    {
        return parent.clearProtectiveAttributes (name);
    }

    FsStatus FileOperations::restoreProtectiveAttributes (const FolderHandle& parent, const juce::String& name, juce::uint32 marks)
    {
        return parent.restoreProtectiveAttributes (name, marks);
    }

    bool FileOperations::scheduleRemovalAtRestart (const FolderHandle& parent, const juce::String& name)
    {
        return parent.scheduleRemovalAtRestart (name);
    }

    template <typename Step>
    FsStatus FileOperations::retrying (Step&& step, bool notEmptyPasses)
    {
        int pause = 10;

        for (;;)
        {
            const auto status = step();
            const auto passes = status == FsStatus::busy || (notEmptyPasses && status == FsStatus::notEmpty);

            if (! passes || waitedMs >= holdRetryMs)
                return status;

            pause = juce::jmin (pause, holdRetryMs - waitedMs);
            juce::Thread::sleep (pause);
            waitedMs += pause;
            pause = juce::jmin (pause * 2, 250);
        }
    }

    FsStatus FileOperations::renameRetrying (const FolderHandle& from, const juce::String& name, const FolderHandle& to, const juce::String& toName)
    {
        return retrying ([&]
                         { return rename (from, name, to, toName); });
    }

    FsStatus FileOperations::removeRetrying (const FolderHandle& parent, const juce::String& name, bool childrenRemoved)
    {
        return retrying ([&]
                         { return remove (parent, name); },
                         childrenRemoved);
    }

    FileOperations::Removal FileOperations::removeRecursively (const FolderHandle& parent, const juce::String& name)
    {
        TreeSteps steps;

        // A read-only folder would keep its children: its marks are cleared as it is emptied,
        // and put back when it then cannot go.
        std::map<juce::String, juce::uint32> cleared;

        steps.beforeOpening = [this, &cleared] (const WalkItem& item)
        {
            juce::uint32 marks = 0;
            if (item.parent.protectiveAttributes (item.name, marks) == FsStatus::ok)
                cleared[item.relativePath] = marks;
            clearProtectiveAttributes (item.parent, item.name);
        };

        // Each folder's own handle is closed before it goes: Windows keeps a folder while a
        // handle to it is open. A link swapped in since the look is removed as a link.
        steps.visit = [this, &cleared] (const WalkItem& item)
        {
            const auto childrenRemoved = item.kind == ItemKind::folder && item.insideComplete;
            const auto removed = removeRetrying (item.parent, item.name, childrenRemoved);

            if (const auto marks = cleared.find (item.relativePath); marks != cleared.end() && removed != FsStatus::ok && removed != FsStatus::notFound)
                restoreProtectiveAttributes (item.parent, item.name, marks->second);

            return removed == FsStatus::notFound ? FsStatus (FsStatus::ok) : removed;
        };

        Removal removal;
        static_cast<WalkResult&> (removal) = walkTree (*this, parent, name, steps);
        return removal;
    }

    FileOperations& FileOperations::real()
    {
        static FileOperations operations;
        return operations;
    }
}
