#include "install/FileOperations.h"

#include "platform/FileItems.h"

bool itemExists (const juce::File& item)
{
    return kv::platform::itemExists (item);
}

bool isUsableDestination (const juce::File& folder)
{
    return folder != juce::File() && juce::File::isAbsolutePath (folder.getFullPathName());
}

bool FileOperations::createDirectory (const juce::File& folder)
{
    return folder.createDirectory().wasOk() && folder.isDirectory();
}

bool FileOperations::move (const juce::File& from, const juce::File& to)
{
    return kv::platform::renameItem (from, to);
}

bool FileOperations::removeItem (const juce::File& item)
{
    return kv::platform::removeItem (item);
}

bool FileOperations::scheduleRemovalAtRestart (const juce::File& item)
{
    return kv::platform::scheduleRemovalAtRestart (item);
}

bool FileOperations::removeRecursively (const juce::File& item)
{
    if (kv::platform::isRealFolder (item))
    {
        // A read-only folder would keep its children.
        kv::platform::clearProtectiveAttributes (item);

        for (const auto& child : kv::platform::childrenOf (item))
            removeRecursively (child);
    }

    return removeItem (item);
}

std::unique_ptr<juce::OutputStream> FileOperations::createOutput (const juce::File& file)
{
    auto stream = std::make_unique<juce::FileOutputStream> (file, 256 * 1024);

    if (! stream->openedOk())
        return nullptr;

    stream->setPosition (0);
    stream->truncate();
    return stream;
}

FileOperations& FileOperations::real()
{
    static FileOperations operations;
    return operations;
}
