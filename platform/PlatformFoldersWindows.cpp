#include "platform/PlatformFolders.h"

// On Windows the program's paths are the system's own.
namespace kv::platform
{
    juce::File fileFromPath (const juce::String& path)
    {
        const auto native = windowsAbsolutePath (path);

        if (native.isEmpty())
            return {};

        return juce::File (native);
    }

    juce::File commonApplicationDataFolder()
    {
        return juce::File::getSpecialLocation (juce::File::commonApplicationDataDirectory);
    }

    juce::File sandboxRoot()
    {
        return {};
    }
}
