#pragma once

#include <juce_core/juce_core.h>

#include <map>

namespace kv::test
{
    // Every item below a folder: files by size and content hash, folders, and links by
    // target (never followed), so "left exactly as it was" can be checked.
    using TreeSnapshot = std::map<juce::String, juce::String>;

    inline juce::String describeFile (const juce::File& file)
    {
        juce::MemoryBlock block;
        file.loadFileAsData (block);

        juce::uint64 hash = 14695981039346656037ull;
        for (size_t i = 0; i < block.getSize(); ++i)
            hash = (hash ^ (juce::uint8) block[i]) * 1099511628211ull;

        return "file " + juce::String ((juce::int64) block.getSize()) + " " + juce::String::toHexString ((juce::int64) hash);
    }

    inline void addToSnapshot (TreeSnapshot& snapshot, const juce::File& item, const juce::String& path)
    {
        if (item.isSymbolicLink())
            snapshot[path] = "link " + item.getNativeLinkedTarget();
        else if (item.existsAsFile())
            snapshot[path] = describeFile (item);
        else if (item.isDirectory())
        {
            snapshot[path] = "folder";

            for (const auto& child : item.findChildFiles (juce::File::findFilesAndDirectories, false, "*",
                                                          juce::File::FollowSymlinks::no))
                addToSnapshot (snapshot, child, path + "/" + child.getFileName());
        }
    }

    inline TreeSnapshot snapshotTree (const juce::File& top)
    {
        TreeSnapshot snapshot;
        addToSnapshot (snapshot, top, ".");
        return snapshot;
    }
}
