#include "install/FileOperations.h"

bool itemExists (const juce::File& item)
{
    return item != juce::File() && (item.exists() || item.isSymbolicLink());
}

bool FileOperations::createDirectory (const juce::File& folder)
{
    return folder.createDirectory().wasOk() && folder.isDirectory();
}

bool FileOperations::move (const juce::File& from, const juce::File& to)
{
    // JUCE's move deletes an existing target first; callers only move onto free names.
    return ! itemExists (to) && from.moveFileTo (to);
}

bool FileOperations::removeRecursively (const juce::File& item)
{
    if (! itemExists (item))
        return true;

    item.deleteRecursively (false);
    return ! itemExists (item);
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
