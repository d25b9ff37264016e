#include "platform/InstalledVersion.h"

#if ! JUCE_WINDOWS
#include "platform/PeVersionReader.h"
#endif

namespace kv::platform
{
    juce::String readFileVersion (const juce::File& file)
    {
        if (! file.existsAsFile())
            return {};

#if JUCE_WINDOWS
        return file.getVersion();
#else
        return juce::String (readPeFileVersion (file.getFullPathName().toStdString()));
#endif
    }
}
