#pragma once

#include <juce_core/juce_core.h>

// The file-system steps of the install pass, each reporting whether it worked. Tests
// replace single steps to make them fail where no real path fails for every user.
class FileOperations
{
public:
    virtual ~FileOperations() = default;

    virtual bool createDirectory (const juce::File& folder);
    virtual bool move (const juce::File& from, const juce::File& to);

    // Removes a file, a folder with its contents, or a link without following it.
    virtual bool removeRecursively (const juce::File& item);

    virtual std::unique_ptr<juce::OutputStream> createOutput (const juce::File& file);

    static FileOperations& real();
};

// True for anything at the path, a dangling link included.
bool itemExists (const juce::File& item);
