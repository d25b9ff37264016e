#include "install/FileOperations.h"

bool isUsableDestination (const juce::File& folder)
{
    return folder != juce::File() && juce::File::isAbsolutePath (folder.getFullPathName());
}

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

FsStatus FileOperations::clearProtectiveAttributes (const FolderHandle& parent, const juce::String& name)
{
    return parent.clearProtectiveAttributes (name);
}

bool FileOperations::scheduleRemovalAtRestart (const FolderHandle& parent, const juce::String& name)
{
    return parent.scheduleRemovalAtRestart (name);
}

template <typename Step>
FsStatus FileOperations::retrying (Step&& step)
{
    const auto giveUpAt = juce::Time::getMillisecondCounter() + (juce::uint32) juce::jmax (0, holdRetryMs);
    int pause = 10;

    for (;;)
    {
        const auto status = step();

        if (status != FsStatus::busy || juce::Time::getMillisecondCounter() >= giveUpAt)
            return status;

        juce::Thread::sleep (pause);
        pause = juce::jmin (pause * 2, 250);
    }
}

FsStatus FileOperations::renameRetrying (const FolderHandle& from, const juce::String& name, const FolderHandle& to, const juce::String& toName)
{
    return retrying ([&]
                     { return rename (from, name, to, toName); });
}

FsStatus FileOperations::removeRetrying (const FolderHandle& parent, const juce::String& name)
{
    return retrying ([&]
                     { return remove (parent, name); });
}

bool FileOperations::removeRecursively (const FolderHandle& parent, const juce::String& name)
{
    FsStatus status;

    if (parent.kindOf (name, status) == ItemKind::folder)
    {
        // A read-only folder would keep its children.
        clearProtectiveAttributes (parent, name);

        // Opened without following a link: one swapped in since the look is removed below, as a link.
        // Closed again before the folder goes: Windows keeps a folder while a handle to it is open.
        const auto folder = openFolder (parent, name, status);
        juce::StringArray children;

        if (folder.isOpen() && folder.list (children) == FsStatus::ok)
            for (const auto& child : children)
                removeRecursively (folder, child);
    }
    else if (status != FsStatus::ok)
    {
        return status == FsStatus::notFound;
    }

    const auto removed = removeRetrying (parent, name);
    return removed == FsStatus::ok || removed == FsStatus::notFound;
}

FileOperations& FileOperations::real()
{
    static FileOperations operations;
    return operations;
}
