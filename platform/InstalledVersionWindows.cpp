#include "platform/InstalledVersion.h"

#include "pe/PeVersionReader.h"
#include "platform/PlatformFolders.h"

#include <windows.h>

namespace kv::platform
{
    namespace
    {
        DWORD attributesOf (const juce::File& item)
        {
            return ::GetFileAttributesW (windowsLongPath (item.getFullPathName()).toWideCharPointer());
        }

        // Room left for the version API, which loads the module by its plain path.
        constexpr int longestPlainPath = MAX_PATH - 1;
    }

    bool itemExists (const juce::File& item)
    {
        return item != juce::File() && attributesOf (item) != INVALID_FILE_ATTRIBUTES;
    }

    juce::String readFileVersion (const juce::File& file)
    {
        const auto attributes = file != juce::File() ? attributesOf (file) : INVALID_FILE_ATTRIBUTES;

        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return {};

        if (file.getFullPathName().length() <= longestPlainPath)
            return file.getVersion();

        return juce::String (kv::pe::readPeFileVersion (windowsLongPath (file.getFullPathName()).toStdString()));
    }
}
